// The command line of orvane-zozivi-cli: a table of options, each with its
// argument, help text and handler, and the parse of argv into a request.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "sheet/build_sheet.h"

namespace oz {

struct CliRequest {
  BuildOptions build;        // the sheet build and the script's options, FOLDER ending in "/"
  bool help = false;         // print the help and build nothing
  bool version = false;      // print the name and version and build nothing
  bool listScripts = false;  // print the script names of the support directory, build nothing
  bool listGallery = false;  // print the template names of the gallery, build nothing
  std::optional<std::string> installScript;  // --install-script NAME: copy from the gallery
  std::optional<std::string> script;         // --script NAME|PATH: the template to expand
  std::optional<std::string> dataPath;       // --data PATH: where the expansion goes; "-" stdout
  bool watch = false;  // build again after every change, until a signal ends the run
};

struct UsageError {
  std::string message;
};

using ParsedArguments = std::variant<CliRequest, UsageError>;

// Options come as "--name value" or "--name=value", in any order around the one
// FOLDER; a later option of the same name wins; "--" ends the options.
// --help, --version, --list-scripts, --gallery and --install-script need
// neither --sheet nor FOLDER; --data needs --script.
ParsedArguments parseArguments(int argc, const char* const* argv);

// The --help text: usage, every option, the exit statuses.
std::string helpText();

// The --version line: the program's name and version.
std::string versionLine();

}  // namespace oz
