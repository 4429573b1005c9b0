// Times orvane-zozivi-cli with the options that keep frames apart (extrusion,
// alpha bleeding, spacing and border) and with identical frames stored once,
// each against the plain build of the same frames in the same run, and prints
// the ratios of processor time, wall time and file size.
//
// Usage: cell_options_bench [RUNS [FOLDER]]
//   RUNS: each time is the fastest of RUNS (default 3).
//   FOLDER: where the frame sets are made and then kept, for profiling; by
//   default a temporary folder that is removed at the end.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/parallel.h"
#include "bench/bench_support.h"
#include "sheet/png/png_write.h"

namespace {

using namespace oz::bench;

struct Measured {
  double seconds = 1e300;  // processor
  double wallSeconds = 1e300;
  double fileBytes = 0;
};

Measured measure(int runs, const std::vector<std::string>& args, const std::string& sheet) {
  Measured best;
  for (int i = 0; i < runs; ++i) {
    const ProcessRun run = runProcess(args);
    if (run.status != 0) std::fprintf(stderr, "orvane-zozivi-cli exited with %d\n", run.status);
    best.seconds = std::min(best.seconds, run.seconds);
    best.wallSeconds = std::min(best.wallSeconds, run.wallSeconds);
  }
  best.fileBytes = static_cast<double>(std::filesystem::file_size(sheet));
  return best;
}

// `count` frames of `size` x `size`; with `held`, every odd frame repeats the
// one before it, so half of them are repeats.
void makeFrames(const std::string& folder, int count, int size, bool held) {
  std::filesystem::create_directories(folder);
  for (int i = 0; i < count; ++i) {
    oz::encodePng(makeFrame(size, held ? i / 2 : i), folder + frameName(i));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const std::string cli = OZ_CLI_PATH;
  char pattern[] = "/tmp/oz-cell-bench-XXXXXX";
  const bool keep = argc > 2;
  if (!keep && mkdtemp(pattern) == nullptr) return 1;
  const std::string work = (keep ? std::string(argv[2]) : std::string(pattern)) + "/";
  const std::string sheet = work + "sheet.png";
  constexpr int kCount = 1024, kSize = 128;
  const std::string distinct = work + "distinct/";
  const std::string held = work + "held/";
  makeFrames(distinct, kCount, kSize, false);
  makeFrames(held, kCount, kSize, true);

  std::printf("%d frames of %d x %d, 32 columns, 32 bits; fastest of %d; %zu cores.\n", kCount,
              kSize, kSize, runs, oz::machineThreads());
  std::printf("%-28s %8s %8s %8s %8s %8s %8s\n", "options", "cli s", "wall s", "file MB", "cli/pl",
              "wall/pl", "file/pl");
  struct Case {
    const char* label;
    std::string folder;
    std::vector<std::string> options;
  };
  const Case cases[] = {
      {"plain", distinct, {}},
      {"--extrude 2", distinct, {"--extrude", "2"}},
      {"--bleed", distinct, {"--bleed"}},
      {"--extrude 2 --bleed", distinct, {"--extrude", "2", "--bleed"}},
      {"--spacing 2 --border 2", distinct, {"--spacing", "2", "--border", "2"}},
      {"plain, half held", held, {}},
      {"--dedupe, half held", held, {"--dedupe"}},
      {"--dedupe, none held", distinct, {"--dedupe"}},
  };
  Measured plain[2];
  for (const Case& c : cases) {
    std::vector<std::string> args{cli, "--sheet", sheet, "--columns", "32"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back(c.folder);
    const Measured m = measure(runs, args, sheet);
    const bool isHeld = c.folder == held;
    if (c.options.empty()) plain[isHeld] = m;
    const Measured& base = plain[isHeld];
    std::printf("%-28s %8.3f %8.3f %8.3f %8.2f %8.2f %8.2f\n", c.label, m.seconds, m.wallSeconds,
                m.fileBytes / 1e6, m.seconds / base.seconds, m.wallSeconds / base.wallSeconds,
                m.fileBytes / base.fileBytes);
    std::fflush(stdout);
  }
  if (!keep) std::filesystem::remove_all(work);
  return 0;
}
