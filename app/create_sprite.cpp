#include "app/create_sprite.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "app/build_progress.h"
#include "messages/problem_text.h"
#include "script/name_forms.h"
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

// Exports the selected script after the sheet and shows how that went: the
// completion message, or the export's own refusal in its place.
void exportAndReport(Toolkit& toolkit, const SupportDir& supportDir, const ExportChoice& choice,
                     const BuiltSheet& sheet, const BuildOptions& options) {
  if (!scriptExportWanted(toolkit)) {
    toolkit.messageBox(kExportedTitle, kExportedToFilesText, MessageButtons::Ok);
    return;
  }
  const ScriptExportRequest request = scriptRequest(toolkit, supportDir, choice);
  const ExpansionContext context = makeExpansionContext(sheet, options);
  const ScriptExportOutcome outcome = exportScript(request, context);
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

std::optional<WrittenSheet> createSprite(Toolkit& toolkit, const SupportDir& supportDir,
                                         const ExportChoice& choice, const BuildOptions& chosen,
                                         const BuildClock& clock) {
  BuildOptions options = chosen;
  options.animationNameForms = scriptNameForms;
  // The script's files are compared with the sheet's before anything is written.
  if (scriptExportWanted(toolkit)) {
    const ScriptExportRequest request = scriptRequest(toolkit, supportDir, choice);
    options.templatePath = request.templatePath;
    if (!request.clipboardMode) options.scriptPath = request.outputPath;
  }
  const BuildOutcome outcome = buildWithFeedback(toolkit, options, clock);
  // Cancelled: the old sheet and script stay, and there is nothing to say.
  if (std::holds_alternative<BuildStopped>(outcome)) return std::nullopt;
  if (const auto* refusal = std::get_if<BuildRefusal>(&outcome)) {
    showProblem(toolkit, problemText(*refusal));
    return std::nullopt;
  }
  const BuiltSheet& sheet = std::get<BuiltSheets>(outcome).sheets.front();
  exportAndReport(toolkit, supportDir, choice, sheet, options);
  if (toolkit.messageBox(kPreviewTitle, previewQuestion(options.savePath), MessageButtons::YesNo) ==
      MessageResult::Yes) {
    openWithDesktop(toolkit, options.savePath);
  }
  return WrittenSheet{options.savePath, sheet.frames, sheet.animations};
}

}  // namespace oz
