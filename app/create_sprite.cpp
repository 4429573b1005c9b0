#include "app/create_sprite.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "app/build_progress.h"
#include "messages/problem_text.h"
#include "script/script_export.h"
#include "sheet/build_sheet.h"
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

// Exports the chosen script after the sheet and shows how that went: the
// completion message, or the export's own refusal in its place.
void exportAndReport(Toolkit& toolkit, const CreateChoices& choices, const BuiltSheet& sheet) {
  if (!choices.script) {
    toolkit.messageBox(kExportedTitle, kExportedToFilesText, MessageButtons::Ok);
    return;
  }
  const ExpansionContext context = makeExpansionContext(sheet, choices.options);
  const ScriptExportOutcome outcome = exportScript(*choices.script, context);
  if (const std::optional<ProblemText> notice = retinaRoundingNotice(context)) {
    showProblem(toolkit, *notice);
  }
  switch (outcome.kind) {
    case ScriptExportOutcome::Kind::WrittenToFile:
      toolkit.messageBox(kExportedTitle, kExportedToFilesText, MessageButtons::Ok);
      break;
    case ScriptExportOutcome::Kind::ClipboardText:
      toolkit.setClipboardText(outcome.clipboardText);
      toolkit.messageBox(kExportedTitle, kExportedToClipboardText, MessageButtons::Ok);
      break;
    case ScriptExportOutcome::Kind::Failed:
      showProblem(toolkit, problemText(outcome.failure));
      break;
  }
}

}  // namespace

CreateChoices createChoices(const Toolkit& toolkit, const SupportDir& supportDir,
                            const ExportChoice& choice, const BuildOptions& options) {
  CreateChoices choices{options, std::nullopt};
  if (toolkit.state(Control::ScriptList) < 1 || toolkit.text(Control::ScriptPathField).empty()) {
    return choices;
  }
  const std::string name = toolkit.text(Control::ScriptList);
  ScriptExportRequest request;
  // A name the store refuses leaves the path empty, which reads as an
  // unreadable template.
  request.templatePath = scriptPath(supportDir, name).value_or("");
  request.scriptName = name;
  request.clipboardMode = choice.clipboardMode;
  request.outputPath = toolkit.text(Control::ScriptPathField);
  // The script's files are compared with the sheet's before anything is written.
  choices.options.templatePath = request.templatePath;
  if (!request.clipboardMode) choices.options.scriptPath = request.outputPath;
  choices.script = std::move(request);
  return choices;
}

std::optional<WrittenSheet> createSprite(Toolkit& toolkit, const CreateChoices& choices,
                                         const BuildClock& clock) {
  const BuildOutcome outcome = buildWithFeedback(toolkit, choices.options, clock);
  // Cancelled: the old sheet and script stay, and there is nothing to say.
  if (std::holds_alternative<BuildStopped>(outcome)) return std::nullopt;
  if (const auto* refusal = std::get_if<BuildRefusal>(&outcome)) {
    showProblem(toolkit, problemText(*refusal));
    return std::nullopt;
  }
  const BuiltSheet& sheet = std::get<BuiltSheets>(outcome).sheets.front();
  exportAndReport(toolkit, choices, sheet);
  const std::string& path = choices.options.savePath;
  if (toolkit.messageBox(kPreviewTitle, previewQuestion(path), MessageButtons::YesNo) ==
      MessageResult::Yes) {
    openWithDesktop(toolkit, path);
  }
  return WrittenSheet{path, sheet.frames};
}

RebuildResult rebuildSprite(Toolkit& toolkit, const CreateChoices& choices,
                            const BuildClock& clock) {
  const BuildOutcome outcome = buildWithFeedback(toolkit, choices.options, clock);
  RebuildResult result;
  if (std::holds_alternative<BuildStopped>(outcome)) return result;
  if (const auto* refusal = std::get_if<BuildRefusal>(&outcome)) {
    result.problem = problemText(*refusal);
    return result;
  }
  const BuiltSheet& sheet = std::get<BuiltSheets>(outcome).sheets.front();
  result.sheet = WrittenSheet{choices.options.savePath, sheet.frames};
  result.written = !sheet.unchanged;
  if (!choices.script) return result;
  const ScriptExportOutcome exported =
      exportScript(*choices.script, makeExpansionContext(sheet, choices.options));
  switch (exported.kind) {
    case ScriptExportOutcome::Kind::WrittenToFile:
      result.written = result.written || !exported.unchanged;
      break;
    case ScriptExportOutcome::Kind::ClipboardText:
      toolkit.setClipboardText(exported.clipboardText);
      result.written = true;
      break;
    case ScriptExportOutcome::Kind::Failed:
      result.problem = problemText(exported.failure);
      break;
  }
  return result;
}

}  // namespace oz
