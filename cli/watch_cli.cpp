#include "cli/watch_cli.h"

#include <malloc.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <string>

#include "base/folder_watch.h"
#include "base/settling_changes.h"
#include "base/time_of_day.h"
#include "cli/cli_build.h"
#include "cli/run_cli.h"
#include "cli/stop_signals.h"
#include "cli/watch_report.h"
#include "sheet/frame_watch.h"

namespace oz {
namespace {

using Clock = std::chrono::steady_clock;

// Says why `what` (a folder, or a file whose folder is watched) cannot be.
bool watching(int error, const std::string& what, std::FILE* err) {
  if (error == 0) return true;
  std::fprintf(err, "orvane-zozivi-cli: cannot watch \"%s\": %s\n", what.c_str(),
               std::strerror(error));
  return false;
}

// Refusals that come from the command line itself, which no change of the
// files can cure.
bool endsTheWatch(const CliBuildReport& report) {
  return report.refusal == BuildProblem::NoSavePath ||
         report.refusal == BuildProblem::NoImageFolder || report.refusal == BuildProblem::SameFile;
}

// One build, its messages caught so that the report prints a reason once.
CliBuildReport buildAndReport(const CliRequest& request, std::FILE* out, std::FILE* err,
                              const StopSignals& stop, WatchReport& watchReport) {
  char* caught = nullptr;
  size_t caughtSize = 0;
  std::FILE* said = open_memstream(&caught, &caughtSize);
  if (said == nullptr) throw std::bad_alloc();
  const Clock::time_point start = Clock::now();
  ProgressLine progressLine(err, isatty(fileno(err)) != 0);
  const CliBuildReport report =
      runCliBuild(request, out, said, progressLine, [&stop] { return stop.signal() != 0; });
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::fclose(said);
  const std::string text(caught, caughtSize);
  std::free(caught);
  if (!report.stopped) watchReport.print(report, text, timeOfDay(), seconds);
  return report;
}

int msUntil(Clock::time_point due) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(due - Clock::now()).count();
  return left < 0 ? 0 : static_cast<int>(left);
}

}  // namespace

int runWatch(const CliRequest& request, std::FILE* out, std::FILE* err) {
  StopSignals stop;
  if (stop.descriptor() < 0) {
    std::fprintf(err, "orvane-zozivi-cli: cannot watch: %s\n", std::strerror(errno));
    return kExitRefused;
  }
  FolderWatch watch;
  // No folder chosen is the build's own refusal, not a folder to watch.
  const std::string& folder = request.build.imageFolder;
  if (!folder.empty() && !watching(watchFrames(watch, request.build), folder, err)) {
    return kExitRefused;
  }
  if (const std::string templ = templateFileOf(request);
      !templ.empty() && !watching(watch.watchFile(templ), templ, err)) {
    return kExitRefused;
  }

  SettlingChanges settling;
  WatchReport watchReport(out, err);
  bool due = true;
  for (;;) {
    if (due) {
      settling.taken();
      const CliBuildReport report = buildAndReport(request, out, err, stop, watchReport);
      if (!report.stopped && endsTheWatch(report)) return report.status;
      // What a build freed stays with the allocator's per-thread arenas,
      // which a watch running for hours would see grow: it goes back to the
      // system before the wait.
      malloc_trim(0);
      due = false;
    }
    if (stop.signal() != 0) return 128 + stop.signal();
    const std::optional<Clock::time_point> settled = settling.due();
    pollfd ready[2] = {{watch.descriptor(), POLLIN, 0}, {stop.descriptor(), POLLIN, 0}};
    if (poll(ready, 2, settled ? msUntil(*settled) : -1) < 0 && errno != EINTR) {
      std::fprintf(err, "orvane-zozivi-cli: the watch failed: %s\n", std::strerror(errno));
      return kExitRefused;
    }
    if (stop.signal() != 0) return 128 + stop.signal();
    if (ready[0].revents & POLLIN) {
      const FolderNews news = watch.read();
      if (!news.gone.empty()) {
        std::fprintf(err,
                     "orvane-zozivi-cli: the watched folder \"%s\" was removed or renamed; the "
                     "watch ends.\n",
                     news.gone.front().empty() ? "." : news.gone.front().c_str());
        return kExitRefused;
      }
      if (news.changed) settling.changed(Clock::now());
    }
    due = settling.due() && Clock::now() >= *settling.due();
  }
}

}  // namespace oz
