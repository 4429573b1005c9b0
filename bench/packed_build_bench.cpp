// The packed build against the grid build of the same frames, through
// orvane-zozivi-cli, in one run: 1,000 sprite frames of 128 x 128 whose
// visible disc leaves wide clear margins, built as a grid of 32 columns and
// packed with trimming (and with turning), the runs taking turns so that a
// busy machine disturbs both alike. Prints the processor and wall time of
// each and their ratios to the grid's (the aim: at most 1.3), the sheet's
// area, and the peak memory against the grid's and against the grid's bound
// for its sheet, 2 x the sheet's RGBA bytes + 30 MB. Then the same at the
// size limit: 4,096 frames that make an 8,192 x 8,192 grid.
//
// Usage: packed_build_bench [RUNS [FOLDER]]
//   RUNS: pairs of runs; each figure is the fastest (default 3).
//   FOLDER: where the frames are made and then kept; by default a temporary
//   folder that is removed at the end.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/parallel.h"
#include "bench/bench_support.h"
#include "sheet/png/png_read.h"
#include "sheet/png/png_write.h"

namespace {

using namespace oz::bench;

struct Measured {
  double seconds = 1e300;
  double wallSeconds = 1e300;
  long peakKilobytes = 0;
  int64_t width = 0;
  int64_t height = 0;
};

void keepFastest(Measured& best, const ProcessRun& run, const std::string& sheet) {
  if (run.status != 0) std::fprintf(stderr, "orvane-zozivi-cli exited with %d\n", run.status);
  best.seconds = std::min(best.seconds, run.seconds);
  best.wallSeconds = std::min(best.wallSeconds, run.wallSeconds);
  best.peakKilobytes = std::max(best.peakKilobytes, run.peakKilobytes);
  if (const std::optional<oz::PngSize> size = oz::readPngSize(sheet)) {
    best.width = size->width;
    best.height = size->height;
  }
}

void compare(const std::string& cli, const std::string& folder, const std::string& columns,
             int runs, const std::string& sheet) {
  struct Case {
    const char* label;
    std::vector<std::string> options;
  };
  const Case cases[] = {
      {"grid", {"--columns", columns}},
      {"packed --trim", {"--layout", "packed", "--trim"}},
      {"packed --trim --rotate", {"--layout", "packed", "--trim", "--rotate"}},
  };
  std::vector<Measured> measured(std::size(cases));
  for (int run = 0; run < runs; ++run) {
    for (size_t c = 0; c < std::size(cases); ++c) {
      std::vector<std::string> args{cli, "--sheet", sheet};
      args.insert(args.end(), cases[c].options.begin(), cases[c].options.end());
      args.push_back(folder);
      keepFastest(measured[c], runProcess(args), sheet);
    }
  }
  const Measured& grid = measured[0];
  const double bound = 2.0 * static_cast<double>(grid.width * grid.height * 4) / 1e6 + 30;
  std::printf("%-24s %8s %8s %8s %8s %12s %9s %8s %9s\n", "build", "cli s", "wall s", "cli/gr",
              "wall/gr", "sheet", "peak MB", "peak/gr", "peak/bnd");
  for (size_t c = 0; c < std::size(cases); ++c) {
    const Measured& m = measured[c];
    const double peak = static_cast<double>(m.peakKilobytes) / 1e3;
    std::printf("%-24s %8.3f %8.3f %8.2f %8.2f %5lld x %-5lld %9.1f %8.2f %9.2f\n", cases[c].label,
                m.seconds, m.wallSeconds, m.seconds / grid.seconds,
                m.wallSeconds / grid.wallSeconds, static_cast<long long>(m.width),
                static_cast<long long>(m.height), peak,
                static_cast<double>(m.peakKilobytes) / static_cast<double>(grid.peakKilobytes),
                peak / bound);
  }
  std::fflush(stdout);
}

void makeFrames(const std::string& folder, int count) {
  std::filesystem::create_directories(folder);
  for (int i = 0; i < count; ++i) oz::encodePng(makeFrame(128, i), folder + frameName(i));
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const std::string cli = OZ_CLI_PATH;
  char pattern[] = "/tmp/oz-packed-bench-XXXXXX";
  const bool keep = argc > 2;
  if (!keep && mkdtemp(pattern) == nullptr) return 1;
  const std::string work = (keep ? std::string(argv[2]) : std::string(pattern)) + "/";
  const std::string sheet = work + "sheet.png";
  const std::string thousand = work + "thousand/";
  const std::string limit = work + "limit/";
  makeFrames(thousand, 1000);
  makeFrames(limit, 4096);

  std::printf("1,000 frames of 128 x 128, 32 bits; fastest of %d runs taking turns; %zu cores.\n",
              runs, oz::machineThreads());
  compare(cli, thousand, "32", runs, sheet);
  std::printf("\n4,096 frames of 128 x 128: the grid at 64 columns is 8,192 x 8,192.\n");
  compare(cli, limit, "64", runs, sheet);
  if (!keep) std::filesystem::remove_all(work);
  return 0;
}
