#include "cli/script_cli.h"

#include <utility>
#include <vector>

#include "base/text_lines.h"
#include "script/line_sink.h"
#include "script/script_export.h"
#include "script/template_expansion.h"
#include "script/template_header.h"
#include "script/text_replace.h"

namespace oz {
namespace {

CliScriptOutcome outcomeOf(CliScriptStatus status) { return CliScriptOutcome{status, {}, {}}; }

CliScriptOutcome written(CliScriptStatus status, std::span<const std::string> lines,
                         const ExpansionContext& context) {
  return CliScriptOutcome{status, {}, scriptNotices(lines, context)};
}

CliScriptOutcome failed(CliScriptStatus status, ScriptProblem problem, std::string subject) {
  return CliScriptOutcome{status, {problem, std::move(subject)}, {}};
}

bool expandToStream(std::span<const std::string> lines, const ExpansionContext& context,
                    FILE* stream, std::string_view ending) {
  StreamLineSink sink(stream, ending);
  expandTemplate(lines, context, sink);
  return sink.finish();
}

}  // namespace

bool isScriptPathArgument(std::string_view argument) {
  return contains(argument, "/") || argument.ends_with(".txt");
}

std::string resolveScriptArgument(std::string_view argument, std::string_view supportDir) {
  if (isScriptPathArgument(argument)) return std::string(argument);
  std::string path(supportDir);
  path.append(argument).append(".txt");
  return path;
}

CliScriptOutcome runCliScriptExport(const CliScriptRequest& request,
                                    const ExpansionContext& context, FILE* standardOutput) {
  constexpr std::string_view kStandardOutputName = "standard output";
  std::string text;
  const std::string templatePath =
      resolveScriptArgument(request.scriptArgument, request.supportDir);
  if (const ReadResult read = readFile(templatePath, &text); read != ReadResult::Read) {
    CliScriptOutcome outcome =
        failed(CliScriptStatus::Failed, ScriptProblem::TemplateUnreadable, request.scriptArgument);
    outcome.failure.file = templatePath;
    outcome.failure.read = read;
    return outcome;
  }
  const std::vector<std::string> lines = splitLines(text);

  // A clipboard template has no file to go to: its clipboard text goes to
  // standard output, ready to be piped into a clipboard tool.
  const bool clipboard = isClipboardTemplate(lines.front());
  if (!clipboard && !request.dataPath) return outcomeOf(CliScriptStatus::NoDataPath);
  if (clipboard || *request.dataPath == "-") {
    if (!expandToStream(lines, context, standardOutput, clipboard ? "\r\n" : "\n")) {
      return failed(CliScriptStatus::StandardOutputFailed, ScriptProblem::WriteFailed,
                    std::string(kStandardOutputName));
    }
    return written(CliScriptStatus::WrittenToStandardOutput, lines, context);
  }
  const CommitResult committed = writeScriptFile(lines, context, *request.dataPath);
  if (committed == CommitResult::Failed) {
    return CliScriptOutcome{CliScriptStatus::Failed, scriptNotWritten(*request.dataPath), {}};
  }
  CliScriptOutcome outcome = written(CliScriptStatus::WrittenToFile, lines, context);
  outcome.unchanged = committed == CommitResult::Unchanged;
  return outcome;
}

}  // namespace oz
