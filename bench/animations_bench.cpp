// Times orvane-zozivi-cli on frames kept one to a subfolder, with
// --animations folders, against the same frames in one folder built plain,
// and the frames named by prefixes with --animations prefixes, each with a
// script of every animation, at two frame counts in the same run: the ratio
// to the plain build says what the animations cost, and the ratio between
// the counts whether the cost stays linear.
//
// Usage: animations_bench [RUNS [FOLDER]]
//   RUNS: each time is the fastest of RUNS (default 3).
//   FOLDER: where the frame sets are made and then kept; by default a
//   temporary folder that is removed at the end.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "sheet/png/png_write.h"

namespace {

using namespace oz::bench;

// The fastest of `runs` runs, in processor and in wall seconds.
ProcessRun fastestRun(int runs, const std::vector<std::string>& args) {
  ProcessRun best{1e300, 1e300, 0, 0};
  for (int i = 0; i < runs; ++i) {
    const ProcessRun run = runProcess(args);
    if (run.status != 0) std::fprintf(stderr, "orvane-zozivi-cli exited with %d\n", run.status);
    best.seconds = std::min(best.seconds, run.seconds);
    best.wallSeconds = std::min(best.wallSeconds, run.wallSeconds);
  }
  return best;
}

// `count` small frames three ways: all in one folder, one to a subfolder,
// and in one folder named by prefix, two frames to an animation.
struct FrameSets {
  std::string plain, folders, prefixes;
};

FrameSets makeFrameSets(const std::string& work, int count, int size) {
  const std::string tag = std::to_string(count);
  const FrameSets sets{work + "plain" + tag + "/", work + "folders" + tag + "/",
                       work + "prefixes" + tag + "/"};
  std::filesystem::create_directories(sets.plain);
  std::filesystem::create_directories(sets.prefixes);
  for (int i = 0; i < count; ++i) {
    const oz::RgbaImage frame = makeFrame(size, i);
    const std::string name = frameName(i);
    oz::encodePng(frame, sets.plain + name);
    const std::string subfolder = sets.folders + "a" + std::to_string(i) + "/";
    std::filesystem::create_directories(subfolder);
    std::filesystem::copy_file(sets.plain + name, subfolder + name);
    std::filesystem::copy_file(sets.plain + name, sets.prefixes + "a" + std::to_string(i / 2) +
                                                      "_" + std::to_string(i % 2) + ".png");
  }
  return sets;
}

}  // namespace

int main(int argc, char** argv) {
  const BenchArguments arguments(argc, argv, "oz-animations-bench");
  if (arguments.work().empty()) return 1;
  const int runs = arguments.runs();
  const std::string& work = arguments.work();
  const std::string cli = OZ_CLI_PATH;
  const std::string sheet = work + "sheet.png";
  const std::string data = work + "sheet.json";
  const std::string templ = OZ_ANIMATION_TEMPLATE;
  constexpr int kSize = 16;
  constexpr int kCounts[] = {1000, 4000};

  std::printf(
      "Frames of %d x %d, 64 columns, with the JSON hash of every animation; fastest of "
      "%d.\n",
      kSize, kSize, runs);
  std::printf("%-32s %8s %8s %8s %8s\n", "frames", "cli s", "wall s", "cli/pl", "wall/pl");
  double perFrame[2][3] = {};
  for (size_t c = 0; c < 2; ++c) {
    const int count = kCounts[c];
    const FrameSets sets = makeFrameSets(work, count, kSize);
    const struct {
      const char* label;
      std::string folder;
      const char* animations;
    } cases[] = {
        {"in one folder", sets.plain, "none"},
        {"one to a subfolder, folders", sets.folders, "folders"},
        {"two to a prefix, prefixes", sets.prefixes, "prefixes"},
    };
    ProcessRun plain;
    for (size_t k = 0; k < 3; ++k) {
      const ProcessRun m = fastestRun(
          runs, {cli, "--sheet", sheet, "--columns", "64", "--animations", cases[k].animations,
                 "--script", templ, "--data", data, cases[k].folder});
      if (k == 0) plain = m;
      perFrame[c][k] = m.seconds / count;
      const std::string label = std::to_string(count) + " " + cases[k].label;
      std::printf("%-32s %8.3f %8.3f %8.2f %8.2f\n", label.c_str(), m.seconds, m.wallSeconds,
                  m.seconds / plain.seconds, m.wallSeconds / plain.wallSeconds);
      std::fflush(stdout);
    }
  }
  std::printf(
      "processor time per frame at %d against %d frames: plain %.2f, folders %.2f, "
      "prefixes %.2f\n",
      kCounts[1], kCounts[0], perFrame[1][0] / perFrame[0][0], perFrame[1][1] / perFrame[0][1],
      perFrame[1][2] / perFrame[0][2]);
  return 0;
}
