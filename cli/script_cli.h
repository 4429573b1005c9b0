// The script side of the command line: which template `--script` names, and
// where its expansion goes with and without `--data`.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "script/expansion_context.h"
#include "script/script_export.h"

namespace oz {

// True when a `--script` argument is a path (it contains "/" or ends in
// ".txt") rather than a script name.
bool isScriptPathArgument(std::string_view argument);

// The template file a `--script` argument names: the argument itself when it
// is a path, else `supportDir` (ending in "/") + name + ".txt".
std::string resolveScriptArgument(std::string_view argument, std::string_view supportDir);

struct CliScriptRequest {
  std::string scriptArgument;           // as given to --script
  std::string supportDir;               // ends in "/"
  std::optional<std::string> dataPath;  // as given to --data; "-" is standard output
};

enum class CliScriptStatus {
  WrittenToFile,            // the script file at --data is in place
  WrittenToStandardOutput,  // --data - (LF endings), or a clipboard template (CR LF endings)
  NoDataPath,               // a file template without --data: nothing was written
  Failed,                   // `failure` says why; the command line exits 3
  StandardOutputFailed,     // as Failed, on standard output (a closed pipe, a full disk)
};

struct CliScriptOutcome {
  CliScriptStatus status = CliScriptStatus::Failed;
  ScriptFailure failure;
  ScriptNotices notices;   // what to tell beside a script that was written
  bool unchanged = false;  // WrittenToFile: the file held this script already and was left
};

// Runs the export for the command line after the sheet was written. A
// clipboard template always goes to `standardOutput` with CR LF endings, so
// the result can be piped into a clipboard tool.
CliScriptOutcome runCliScriptExport(const CliScriptRequest& request,
                                    const ExpansionContext& context, FILE* standardOutput);

}  // namespace oz
