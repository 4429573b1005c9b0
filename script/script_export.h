// The script export that follows a sheet build, apart from the window: the
// expansion context of a build, the two destinations (a file, the clipboard
// text), the outcome and the texts of its failures.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "script/expansion_context.h"
#include "sheet/build_sheet.h"

namespace oz {

inline constexpr std::string_view kSaveErrorTitle = "Save Error!";
inline constexpr std::string_view kUnreadableTemplateTitle = "Wait!";
inline constexpr std::string_view kOutOfMemoryTitle = "Out of Memory!";
inline constexpr std::string_view kClipboardTooLargeText =
    "There is not enough memory to copy the script to the clipboard.";
// `Unable to save the script to "PATH".`
std::string saveErrorText(std::string_view scriptPath);
// `The "NAME" script could not be read.`
std::string unreadableTemplateText(std::string_view scriptName);

// The context of a finished build. The frames are referenced, not copied.
ExpansionContext makeExpansionContext(const BuiltSheet& sheet, std::string sheetPath,
                                      std::string sheetNumber, bool retina);

// Reads the first line of the template at `path` (what a selection in the
// "Export Script" list looks at). False when the file cannot be read.
bool readTemplateFirstLine(const std::string& path, std::string* firstLine);

struct ScriptExportRequest {
  std::string templatePath;  // SupportDir + script name + ".txt", or a path of its own
  std::string scriptName;    // named in the message when the template cannot be read
  bool clipboardMode = false;
  std::string outputPath;  // the script file; unused in clipboard mode
};

struct ScriptExportOutcome {
  enum class Kind {
    kWrittenToFile,  // the script file is in place
    kClipboardText,  // `clipboardText` is ready for the clipboard
    kFailed,         // nothing was written; show `title` and `text`
  };
  Kind kind = Kind::kFailed;
  std::string clipboardText;  // every line followed by CR LF
  std::string title;
  std::string text;
};

// Reads the template whole, then expands it: into a new file at `outputPath`
// (UTF-8, every line followed by LF; written beside and renamed into place, so
// an output path naming the template itself is safe) or into the clipboard
// text. The outcome carries any failure.
ScriptExportOutcome exportScript(const ScriptExportRequest& request,
                                 const ExpansionContext& context);

// Expands already read template lines into a new file at `path`, written
// beside it and renamed into place. False when it could not be written.
bool writeScriptFile(std::span<const std::string> lines, const ExpansionContext& context,
                     const std::string& path);

// Expands already read template lines into the clipboard text.
std::string expandToClipboardText(std::span<const std::string> lines,
                                  const ExpansionContext& context);

}  // namespace oz
