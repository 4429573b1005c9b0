#include "cli/run_cli.h"

#include <unistd.h>

#include "cli/cli_options.h"
#include "cli/progress_line.h"

namespace oz {

int runCli(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  const ParsedArguments parsed = parseArguments(argc, argv);
  if (const auto* usage = std::get_if<UsageError>(&parsed)) {
    std::fprintf(err, "orvane-zozivi-cli: %s\nTry \"orvane-zozivi-cli --help\".\n",
                 usage->message.c_str());
    return kExitUsage;
  }
  const CliRequest& request = std::get<CliRequest>(parsed);
  if (request.help) {
    std::fputs(helpText().c_str(), out);
    return kExitWritten;
  }

  ProgressLine progressLine(err, isatty(fileno(err)) != 0);
  const BuildOutcome outcome =
      buildSheet(request.build,
                 [&progressLine](const BuildProgress& progress) { progressLine.update(progress); });
  progressLine.finish();

  if (const auto* refusal = std::get_if<BuildRefusal>(&outcome)) {
    std::fprintf(err, "%s %s\n", refusal->title.c_str(), refusal->text.c_str());
    return refusal->writeFailed ? kExitWriteFailed : kExitRefused;
  }
  const BuiltSheet& sheet = std::get<BuiltSheet>(outcome);
  std::fprintf(out, "Wrote %s: %lld x %lld pixels, %zu frame%s.\n", request.build.savePath.c_str(),
               static_cast<long long>(sheet.width), static_cast<long long>(sheet.height),
               sheet.frames.size(), sheet.frames.size() == 1 ? "" : "s");
  return kExitWritten;
}

}  // namespace oz
