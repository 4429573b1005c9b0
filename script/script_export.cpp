#include "script/script_export.h"

#include <new>
#include <utility>

#include "base/atomic_file.h"
#include "base/text_lines.h"
#include "script/line_sink.h"
#include "script/template_expansion.h"

namespace oz {
namespace {

ScriptExportOutcome failure(std::string_view title, std::string text) {
  ScriptExportOutcome outcome;
  outcome.kind = ScriptExportOutcome::Kind::kFailed;
  outcome.title = title;
  outcome.text = std::move(text);
  return outcome;
}

std::string quotedBetween(std::string_view before, std::string_view quoted,
                          std::string_view after) {
  std::string text;
  text.reserve(before.size() + quoted.size() + after.size());
  text.append(before).append(quoted).append(after);
  return text;
}

}  // namespace

std::string saveErrorText(std::string_view scriptPath) {
  return quotedBetween("Unable to save the script to \"", scriptPath, "\".");
}

std::string unreadableTemplateText(std::string_view scriptName) {
  return quotedBetween("The \"", scriptName, "\" script could not be read.");
}

ExpansionContext makeExpansionContext(const BuiltSheet& sheet, std::string sheetPath,
                                      std::string sheetNumber, bool retina) {
  return ExpansionContext{
      .frames = sheet.frames,
      .sheetWidth = sheet.width,
      .sheetHeight = sheet.height,
      .sheetPath = std::move(sheetPath),
      .sheetNumber = std::move(sheetNumber),
      .divisor = retina ? 2 : 1,
  };
}

bool readTemplateFirstLine(const std::string& path, std::string* firstLine) {
  std::string text;
  if (!readWholeFile(path, &text)) return false;
  *firstLine = text.substr(0, text.find_first_of("\r\n"));
  return true;
}

bool writeScriptFile(std::span<const std::string> lines, const ExpansionContext& context,
                     const std::string& path) {
  AtomicFile file;
  if (!file.open(path)) return false;
  StreamLineSink sink(file.stream(), "\n");
  expandTemplate(lines, context, sink);
  return sink.finish() && file.commit();
}

std::string expandToClipboardText(std::span<const std::string> lines,
                                  const ExpansionContext& context) {
  std::string text;
  StringLineSink sink(&text, "\r\n");
  expandTemplate(lines, context, sink);
  return text;
}

ScriptExportOutcome exportScript(const ScriptExportRequest& request,
                                 const ExpansionContext& context) {
  // Read whole before any output exists, so an output path naming the
  // template itself cannot destroy it.
  std::string text;
  if (!readWholeFile(request.templatePath, &text)) {
    return failure(kUnreadableTemplateTitle, unreadableTemplateText(request.scriptName));
  }
  const std::vector<std::string> lines = splitLines(text);

  ScriptExportOutcome outcome;
  if (request.clipboardMode) {
    // The clipboard text is held whole in memory, and a template's loop bound
    // can ask for more than there is.
    try {
      outcome.clipboardText = expandToClipboardText(lines, context);
    } catch (const std::bad_alloc&) {
      return failure(kOutOfMemoryTitle, std::string(kClipboardTooLargeText));
    }
    outcome.kind = ScriptExportOutcome::Kind::kClipboardText;
    return outcome;
  }
  if (!writeScriptFile(lines, context, request.outputPath)) {
    return failure(kSaveErrorTitle, saveErrorText(request.outputPath));
  }
  outcome.kind = ScriptExportOutcome::Kind::kWrittenToFile;
  return outcome;
}

}  // namespace oz
