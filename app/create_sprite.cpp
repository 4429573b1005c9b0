#include "app/create_sprite.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/build_progress.h"
#include "base/text_lines.h"
#include "messages/problem_text.h"
#include "script/script_export.h"
#include "script/template_turn.h"
#include "sheet/build_sheet.h"
#include "sheet/frame_scan.h"
#include "sheet/numbered_path.h"
#include "store/script_store.h"
#include "toolkit/open_with_desktop.h"

namespace oz {
namespace {

constexpr std::string_view kExportedTitle = "Exported!";
constexpr std::string_view kExportedToFilesText = "Your file(s) have been saved to disk.";
constexpr std::string_view kExportedToClipboardText =
    "Your sprite sheet/strip has been saved to disk and the script has been copied to the "
    "clipboard.";
constexpr std::string_view kPreviewTitle = "Preview?";

std::string previewQuestion(std::string_view sheetPath) {
  std::string question = "Would you like to preview, \"";
  question.append(sheetPath).append("\" ?");
  return question;
}

void showProblem(Toolkit& toolkit, const ProblemText& problem) {
  toolkit.messageBoxWithDetails(problem.title, problem.text, problem.details);
}

BuildOutcome buildWithFeedback(Toolkit& toolkit, const BuildOptions& options,
                               const BuildClock& clock) {
  toolkit.setBusy(true);
  BuildOutcome outcome;
  {
    BuildProgressDialog dialog(toolkit, clock);
    outcome = buildSheet(options, [&dialog](const BuildProgress& p) { return dialog.report(p); });
  }
  toolkit.setBusy(false);
  return outcome;
}

bool scriptExportWanted(const Toolkit& toolkit) {
  return toolkit.state(Control::ScriptList) >= 1 && !toolkit.text(Control::ScriptPathField).empty();
}

ScriptExportRequest scriptRequest(const Toolkit& toolkit, const SupportDir& supportDir,
                                  const ExportChoice& choice) {
  const std::string name = toolkit.text(Control::ScriptList);
  ScriptExportRequest request;
  // A name the store refuses leaves the path empty, which reads as an
  // unreadable template.
  request.templatePath = scriptPath(supportDir, name).value_or("");
  request.scriptName = name;
  request.clipboardMode = choice.clipboardMode;
  request.outputPath = toolkit.text(Control::ScriptPathField);
  return request;
}

// Exports the selected script after the sheets, one script for each, and
// shows how that went: the completion message, or the export's own refusal
// in its place. Several sheets' scripts go to the script path numbered as the
// sheets are, or one after another onto the clipboard.
void exportAndReport(Toolkit& toolkit, const SupportDir& supportDir, const ExportChoice& choice,
                     const std::vector<BuiltSheet>& sheets, const BuildOptions& options) {
  if (!scriptExportWanted(toolkit)) {
    toolkit.messageBox(kExportedTitle, kExportedToFilesText, MessageButtons::Ok);
    return;
  }
  const ScriptExportRequest request = scriptRequest(toolkit, supportDir, choice);
  const auto count = static_cast<int64_t>(sheets.size());
  std::string clipboardText;
  std::optional<ProblemText> notice;
  std::vector<ProblemText> exportNotices;
  const auto showNotices = [&] {
    if (notice) showProblem(toolkit, *notice);
    for (const ProblemText& text : exportNotices) showProblem(toolkit, text);
  };
  for (int64_t s = 0; s < count; ++s) {
    ScriptExportRequest numbered = request;
    numbered.outputPath = numberedPath(request.outputPath, s, count);
    const ExpansionContext context = makeExpansionContext(sheets[s], options, s, count);
    const ScriptExportOutcome outcome = exportScript(numbered, context);
    if (!notice) notice = retinaRoundingNotice(context);
    // Each sheet's script may tell the same thing; it is told once.
    for (ProblemText& text : noticeTexts(outcome.notices)) {
      if (std::find(exportNotices.begin(), exportNotices.end(), text) == exportNotices.end()) {
        exportNotices.push_back(std::move(text));
      }
    }
    if (outcome.kind == ScriptExportOutcome::Kind::Failed) {
      showNotices();
      showProblem(toolkit, problemText(outcome.failure));
      return;
    }
    clipboardText += outcome.clipboardText;
  }
  showNotices();
  if (request.clipboardMode) {
    toolkit.setClipboardText(clipboardText);
    toolkit.messageBox(kExportedTitle, kExportedToClipboardText, MessageButtons::Ok);
  } else {
    toolkit.messageBox(kExportedTitle, kExportedToFilesText, MessageButtons::Ok);
  }
}

// The template's text when it can be read, to see which way it reads turned
// frames; an unreadable one is reported by the export that follows.
Turn turnOf(const std::string& templatePath) {
  std::string text;
  if (readTemplate(templatePath, {}, &text)) return Turn::Clockwise;
  return templateTurn(splitLines(text));
}

}  // namespace

BuildOptions withScriptExport(const Toolkit& toolkit, const SupportDir& supportDir,
                              const ExportChoice& choice, BuildOptions options) {
  if (!scriptExportWanted(toolkit)) return options;
  const ScriptExportRequest request = scriptRequest(toolkit, supportDir, choice);
  options.templatePath = request.templatePath;
  if (!request.clipboardMode) options.scriptPath = request.outputPath;
  options.turn = turnOf(request.templatePath);
  return options;
}

std::optional<WrittenSheets> createSprite(Toolkit& toolkit, const SupportDir& supportDir,
                                          const ExportChoice& choice, const BuildOptions& chosen,
                                          const BuildClock& clock) {
  // The script's files are compared with the sheet's before anything is written.
  const BuildOptions options = withScriptExport(toolkit, supportDir, choice, chosen);
  const BuildOutcome outcome = buildWithFeedback(toolkit, options, clock);
  // Cancelled: the old sheet and script stay, and there is nothing to say.
  if (std::holds_alternative<BuildStopped>(outcome)) return std::nullopt;
  if (const auto* refusal = std::get_if<BuildRefusal>(&outcome)) {
    showProblem(toolkit, problemText(*refusal));
    return std::nullopt;
  }
  const std::vector<BuiltSheet>& sheets = std::get<BuiltSheets>(outcome).sheets;
  exportAndReport(toolkit, supportDir, choice, sheets, options);
  // Several sheets: the question names the first, as the preview shows it.
  const BuiltSheet& first = sheets.front();
  if (toolkit.messageBox(kPreviewTitle, previewQuestion(first.path), MessageButtons::YesNo) ==
      MessageResult::Yes) {
    openWithDesktop(toolkit, first.path);
  }
  std::vector<WrittenSheet> written;
  for (const BuiltSheet& sheet : sheets) written.push_back({sheet.path, sheet.frames});
  // Only several sheets need the folder's order to play their frames in.
  return writtenSheets(
      std::move(written),
      sheets.size() > 1 ? scanFrames(options.imageFolder) : std::vector<std::string>{},
      options.turn);
}

}  // namespace oz
