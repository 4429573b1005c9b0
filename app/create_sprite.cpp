#include "app/create_sprite.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/build_progress.h"
#include "base/text_lines.h"
#include "messages/build_notices.h"
#include "messages/problem_text.h"
#include "script/name_forms.h"
#include "script/script_export.h"
#include "script/template_turn.h"
#include "sheet/animation_scan.h"
#include "sheet/build_sheet.h"
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

// What exporting the script of every sheet came to.
struct ScriptsExported {
  std::string clipboardText;         // every sheet's clipboard text, one after another
  std::vector<ProblemText> notices;  // what to tell beside them, each once
  std::optional<ProblemText> failure;
  bool written = false;  // some script file was written, not left as it was
};

// Exports `request`'s script for each of `sheets`, into its path numbered as
// the sheets are; stops at the first failure.
ScriptsExported exportScripts(const ScriptExportRequest& request,
                              const std::vector<BuiltSheet>& sheets, const BuildOptions& options) {
  ScriptsExported result;
  const auto count = static_cast<int64_t>(sheets.size());
  const auto tell = [&result](ProblemText text) {
    if (std::find(result.notices.begin(), result.notices.end(), text) == result.notices.end()) {
      result.notices.push_back(std::move(text));
    }
  };
  for (int64_t s = 0; s < count; ++s) {
    ScriptExportRequest numbered = request;
    numbered.outputPath = numberedPath(request.outputPath, s, count);
    const ExpansionContext context = makeExpansionContext(sheets[s], options, s, count);
    const ScriptExportOutcome outcome = exportScript(numbered, context);
    if (std::optional<ProblemText> notice = retinaRoundingNotice(context)) tell(*notice);
    for (ProblemText& text : noticeTexts(outcome.notices)) tell(std::move(text));
    if (outcome.kind == ScriptExportOutcome::Kind::Failed) {
      result.failure = problemText(outcome.failure);
      return result;
    }
    result.clipboardText += outcome.clipboardText;
    result.written = result.written || outcome.kind == ScriptExportOutcome::Kind::ClipboardText ||
                     !outcome.unchanged;
  }
  return result;
}

// Exports the chosen script after the sheets and shows how that went: the
// completion message, or the export's own refusal in its place. Several
// sheets' scripts go to the script path numbered as the sheets are, or one
// after another onto the clipboard.
void exportAndReport(Toolkit& toolkit, const CreateChoices& choices,
                     const std::vector<BuiltSheet>& sheets) {
  if (!choices.script) {
    toolkit.messageBox(kExportedTitle, kExportedToFilesText, MessageButtons::Ok);
    return;
  }
  const ScriptsExported exported = exportScripts(*choices.script, sheets, choices.options);
  for (const ProblemText& notice : exported.notices) showProblem(toolkit, notice);
  if (exported.failure) {
    showProblem(toolkit, *exported.failure);
  } else if (choices.script->clipboardMode) {
    toolkit.setClipboardText(exported.clipboardText);
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

// What the Sheet Preview shows of `sheets`.
WrittenSheets writtenSheetsOf(const std::vector<BuiltSheet>& sheets, const BuildOptions& options) {
  std::vector<WrittenSheet> written;
  for (const BuiltSheet& sheet : sheets) {
    written.push_back({sheet.path, sheet.frames, sheet.animations});
  }
  // Only several sheets need the build's order to play their frames in.
  return writtenSheets(std::move(written),
                       sheets.size() > 1
                           ? scanFolderFrames(options.imageFolder, options.animations).names
                           : std::vector<std::string>{},
                       options);
}

}  // namespace

CreateChoices createChoices(const Toolkit& toolkit, const SupportDir& supportDir,
                            const ExportChoice& choice, const BuildOptions& options) {
  CreateChoices choices{options, std::nullopt};
  choices.options.animationNameForms = scriptNameForms;
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
  choices.options.turn = turnOf(request.templatePath);
  choices.script = std::move(request);
  return choices;
}

std::optional<WrittenSheets> createSprite(Toolkit& toolkit, const CreateChoices& choices,
                                          const BuildClock& clock) {
  const BuildOutcome outcome = buildWithFeedback(toolkit, choices.options, clock);
  // Cancelled: the old sheet and script stay, and there is nothing to say.
  if (std::holds_alternative<BuildStopped>(outcome)) return std::nullopt;
  if (const auto* refusal = std::get_if<BuildRefusal>(&outcome)) {
    showProblem(toolkit, problemText(*refusal));
    return std::nullopt;
  }
  const BuiltSheets& built = std::get<BuiltSheets>(outcome);
  const std::vector<BuiltSheet>& sheets = built.sheets;
  // What the build tells of the image folder comes first, as on the command line.
  for (const ProblemText& notice : buildNotices(built.notes)) showProblem(toolkit, notice);
  exportAndReport(toolkit, choices, sheets);
  // Several sheets: the question names the first, as the preview shows it.
  const BuiltSheet& first = sheets.front();
  if (toolkit.messageBox(kPreviewTitle, previewQuestion(first.path), MessageButtons::YesNo) ==
      MessageResult::Yes) {
    openWithDesktop(toolkit, first.path);
  }
  return writtenSheetsOf(sheets, choices.options);
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
  const BuiltSheets& built = std::get<BuiltSheets>(outcome);
  const std::vector<BuiltSheet>& sheets = built.sheets;
  result.sheets = writtenSheetsOf(sheets, choices.options);
  result.notices = buildNotices(built.notes);
  result.written = std::any_of(sheets.begin(), sheets.end(),
                               [](const BuiltSheet& sheet) { return !sheet.unchanged; });
  if (!choices.script) return result;
  const ScriptsExported exported = exportScripts(*choices.script, sheets, choices.options);
  if (exported.failure) {
    result.problem = exported.failure;
    return result;
  }
  if (choices.script->clipboardMode) toolkit.setClipboardText(exported.clipboardText);
  result.written = result.written || exported.written;
  return result;
}

}  // namespace oz
