// The script export that follows a sheet build, apart from the window: the
// expansion context of a build, the two destinations (a file, the clipboard
// text) and the outcome.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "base/atomic_file.h"
#include "base/folder_fault.h"
#include "base/text_lines.h"
#include "script/expansion_context.h"
#include "script/script_notices.h"
#include "sheet/build_sheet.h"

namespace oz {

// The context of sheet `index` of the `count` a build wrote, from the options
// it was built with and nothing else. The frames are referenced, not copied.
// The sheet's path is its own, or the save path when it has none.
ExpansionContext makeExpansionContext(const BuiltSheet& sheet, const BuildOptions& options,
                                      int64_t index = 0, int64_t count = 1);

// Reads the first line of the template at `path` (what a selection in the
// "Export Script" list looks at). False when the file cannot be read.
bool readTemplateFirstLine(const std::string& path, std::string* firstLine);

struct ScriptExportRequest {
  std::string templatePath;  // SupportDir + script name + ".txt", or a path of its own
  std::string scriptName;    // named in the failure when the template cannot be read
  bool clipboardMode = false;
  std::string outputPath;  // the script file; unused in clipboard mode
};

// Why a script export wrote nothing.
enum class ScriptProblem {
  TemplateUnreadable,  // `subject`: the script as it was named
  WriteFailed,         // `subject`: where the script was to go
  ClipboardTooLarge,   // the clipboard text does not fit in memory; no `subject`
};

struct ScriptFailure {
  ScriptProblem problem = ScriptProblem::TemplateUnreadable;
  std::string subject;
  // TemplateUnreadable: the template's file and why it was not read.
  std::string file = {};
  ReadResult read = ReadResult::Read;
  // WriteFailed: what the script's folder tells of why.
  FolderFault folder = FolderFault::None;

  bool operator==(const ScriptFailure&) const = default;
};

// Reads the whole template at `path` into `text`, or gives the failure that
// names the script as `name` and says why it could not be read.
std::optional<ScriptFailure> readTemplate(const std::string& path, const std::string& name,
                                          std::string* text);

// The failure of a script file that could not be written at `path`.
ScriptFailure scriptNotWritten(const std::string& path);

struct ScriptExportOutcome {
  enum class Kind {
    WrittenToFile,  // the script file is in place
    ClipboardText,  // `clipboardText` is ready for the clipboard
    Failed,         // nothing was written; `failure` says why
  };
  Kind kind = Kind::Failed;
  bool unchanged = false;     // WrittenToFile: the file held this script already and was left
  std::string clipboardText;  // every line followed by CR LF
  ScriptFailure failure;
  ScriptNotices notices;  // what to tell beside a script that was written
};

// Reads the template whole, then expands it: into a new file at `outputPath`
// (UTF-8, every line followed by LF; written beside and renamed into place, so
// an output path naming the template itself is safe) or into the clipboard
// text. The outcome carries any failure, or what to tell of the script.
ScriptExportOutcome exportScript(const ScriptExportRequest& request,
                                 const ExpansionContext& context);

// Expands already read template lines into a new file at `path`, written
// beside it and renamed into place; a file that holds the same script already
// is left as it was.
CommitResult writeScriptFile(std::span<const std::string> lines, const ExpansionContext& context,
                             const std::string& path);

// Expands already read template lines into the clipboard text.
std::string expandToClipboardText(std::span<const std::string> lines,
                                  const ExpansionContext& context);

}  // namespace oz
