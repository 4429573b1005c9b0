#include "cli/watch_report.h"

#include "cli/run_cli.h"

namespace oz {

void WatchReport::print(const CliBuildReport& report, const std::string& said,
                        const std::string& when, double seconds) {
  const bool saidAgain = said == lastSaid_;
  lastSaid_ = said;
  if (report.status != kExitWritten) {
    if (!saidAgain)
      std::fprintf(err_, "%s waiting for the next change: %s", when.c_str(), said.c_str());
    std::fflush(err_);
    return;
  }
  if (!saidAgain) std::fputs(said.c_str(), err_);
  size_t frames = 0;
  for (const BuiltSheet& sheet : report.sheets) frames += sheet.frames.size();
  std::FILE* lines = report.reportOnStandardError ? err_ : out_;
  std::fprintf(lines, "%s %s: %zu frame%s", when.c_str(), report.written ? "written" : "unchanged",
               frames, frames == 1 ? "" : "s");
  if (report.sheets.size() > 1) std::fprintf(lines, " on %zu sheets", report.sheets.size());
  std::fprintf(lines, ", %.2f s\n", seconds);
  std::fflush(err_);
  std::fflush(lines);
}

}  // namespace oz
