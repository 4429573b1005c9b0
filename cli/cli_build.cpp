#include "cli/cli_build.h"

#include "base/text_lines.h"
#include "cli/run_cli.h"
#include "cli/same_file.h"
#include "cli/script_cli.h"
#include "messages/build_notices.h"
#include "script/name_forms.h"
#include "script/script_export.h"
#include "script/template_turn.h"
#include "sheet/numbered_path.h"
#include "store/first_run.h"

namespace oz {
namespace {

// The script's side of the request: the template and where its expansion goes.
CliScriptRequest scriptRequestFor(const CliRequest& request, std::FILE* out) {
  CliScriptRequest scriptRequest{*request.script, "", request.dataPath};
  // "/dev/stdout" and its like go through the one stream, so the script and
  // the report cannot overwrite each other.
  if (request.dataPath && namesStreamFile(*request.dataPath, out))
    scriptRequest.dataPath.emplace(1, '-');
  // Only a script name needs the support directory; a path is used as given.
  if (!isScriptPathArgument(*request.script)) scriptRequest.supportDir = preparedSupportDir().path;
  return scriptRequest;
}

// Expands the template after sheet `index` of `count` was written, into the
// --data path numbered as the sheet is. Returns the exit status.
int exportScriptAfterSheet(const CliRequest& request, CliScriptRequest scriptRequest,
                           const BuiltSheet& sheet, int64_t index, int64_t count, std::FILE* out,
                           std::FILE* err, CliBuildReport& report) {
  if (scriptRequest.dataPath && *scriptRequest.dataPath != "-") {
    scriptRequest.dataPath = numberedPath(*scriptRequest.dataPath, index, count);
  }
  const ExpansionContext context = makeExpansionContext(sheet, request.build, index, count);
  if (const std::optional<ProblemText> notice = retinaRoundingNotice(context)) {
    std::fprintf(err, "orvane-zozivi-cli: %s\n", notice->text.c_str());
  }
  const CliScriptOutcome outcome = runCliScriptExport(scriptRequest, context, out);
  for (const ProblemText& notice : noticeTexts(outcome.notices)) {
    std::fprintf(err, "orvane-zozivi-cli: %s\n", notice.text.c_str());
  }
  switch (outcome.status) {
    case CliScriptStatus::WrittenToFile:
      report.written = report.written || !outcome.unchanged;
      return kExitWritten;
    case CliScriptStatus::WrittenToStandardOutput:
      report.written = true;
      report.reportOnStandardError = true;
      return kExitWritten;
    case CliScriptStatus::NoDataPath:
      if (index == 0) {
        std::fprintf(err, "No --data PATH given: only the sheet was written, not the script.\n");
      }
      return kExitWritten;
    case CliScriptStatus::StandardOutputFailed:
      report.reportOnStandardError = true;  // the report must not go where writing failed
      break;
    case CliScriptStatus::Failed:
      break;
  }
  printProblem(err, problemText(outcome.failure));
  return kExitWriteFailed;
}

int refusalStatus(BuildProblem problem) {
  switch (problem) {
    case BuildProblem::WriteFailed:
      return kExitWriteFailed;
    case BuildProblem::SameFile:
      return kExitUsage;
    default:
      return kExitRefused;
  }
}

}  // namespace

SupportDir preparedSupportDir() {
  return prepareSupportDir(thisPlatformVersionCode(), homeDirectory()).dir;
}

void printProblem(std::FILE* err, const ProblemText& problem) {
  std::fprintf(err, "%s %s\n", problem.title.c_str(), problem.text.c_str());
  if (!problem.details.empty()) std::fprintf(err, "%s\n", problem.details.c_str());
}

std::string templateFileOf(const CliRequest& request) {
  if (!request.script) return "";
  const std::string supportDir =
      isScriptPathArgument(*request.script) ? "" : preparedSupportDir().path;
  return resolveScriptArgument(*request.script, supportDir);
}

CliBuildReport runCliBuild(const CliRequest& request, std::FILE* out, std::FILE* err,
                           ProgressLine& progressLine, const std::function<bool()>& stopRequested) {
  CliBuildReport report;
  const std::optional<CliScriptRequest> scriptRequest =
      request.script ? std::optional(scriptRequestFor(request, out)) : std::nullopt;
  BuildOptions options = request.build;
  options.animationNameForms = scriptNameForms;
  // The script's files are compared with the sheet's before anything is
  // written; "-" is the file standard output goes to, which a sheet written
  // there would replace.
  if (scriptRequest) {
    options.templatePath =
        resolveScriptArgument(scriptRequest->scriptArgument, scriptRequest->supportDir);
    options.scriptPath = scriptRequest->dataPath.value_or("");
    if (options.scriptPath == "-") options.scriptPath = fileno(out) == 1 ? "/dev/stdout" : "";
    // A template that names turned frames the anticlockwise way gets them so.
    std::string text;
    if (!readTemplate(options.templatePath, scriptRequest->scriptArgument, &text)) {
      options.turn = templateTurn(splitLines(text));
    }
  }
  BuildOutcome outcome = buildSheet(options, [&](const BuildProgress& progress) {
    if (stopRequested && stopRequested()) return false;
    progressLine.update(progress);
    return true;
  });
  progressLine.finish();

  if (std::holds_alternative<BuildStopped>(outcome)) {
    report.stopped = true;
    return report;
  }
  if (const auto* refusal = std::get_if<BuildRefusal>(&outcome)) {
    printProblem(err, problemText(*refusal));
    report.refusal = refusal->problem;
    report.status = refusalStatus(refusal->problem);
    return report;
  }
  BuiltSheets& built = std::get<BuiltSheets>(outcome);
  for (const ProblemText& notice : buildNotices(built.notes)) {
    std::fprintf(err, "orvane-zozivi-cli: %s\n", notice.text.c_str());
    if (!notice.details.empty()) std::fprintf(err, "%s\n", notice.details.c_str());
  }
  report.sheets = std::move(built.sheets);
  for (const BuiltSheet& sheet : report.sheets) report.written = report.written || !sheet.unchanged;
  const auto count = static_cast<int64_t>(report.sheets.size());
  for (int64_t s = 0; s < count && scriptRequest && report.status == kExitWritten; ++s) {
    report.status = exportScriptAfterSheet(request, *scriptRequest, report.sheets[s], s, count, out,
                                           err, report);
  }
  const bool scriptAskedOnStandardOutput =
      request.dataPath && (*request.dataPath == "-" || namesStreamFile(*request.dataPath, out));
  report.reportOnStandardError = report.reportOnStandardError || scriptAskedOnStandardOutput ||
                                 namesStreamFile(request.build.savePath, out);
  return report;
}

}  // namespace oz
