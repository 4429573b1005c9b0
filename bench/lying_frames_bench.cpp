// Times orvane-zozivi-cli on 50 frames whose headers claim 8192 x 8192 pixels
// (256 MB each as RGBA) while each file holds one pixel, and, in the same run,
// on the same 50 files with their true 1 x 1 headers. Prints both with their
// peak memory, the ratio, and the targets: under 2 seconds and 100 MB.
//
// Usage: lying_frames_bench [RUNS]
//   RUNS: each time is the fastest of RUNS (default 3).

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/bench_support.h"
#include "sheet/png/png_write.h"
#include "testsupport/claimed_size.h"
#include "testsupport/temp_dir.h"

namespace {

using namespace oz::bench;

constexpr int kFrames = 50;
constexpr uint32_t kClaimedSize = 8192;
constexpr double kTargetSeconds = 2;
constexpr double kTargetMegabytes = 100;

ProcessRun bestRun(int runs, const std::string& folder, const std::string& sheet) {
  ProcessRun best;
  best.seconds = 1e300;
  for (int i = 0; i < runs; ++i) {
    const ProcessRun run = runProcess({OZ_CLI_PATH, "--sheet", sheet, folder});
    if (run.seconds < best.seconds) best = run;
    best.peakKilobytes = std::max(best.peakKilobytes, run.peakKilobytes);
  }
  return best;
}

void print(const char* label, const ProcessRun& run) {
  std::printf("%-34s %7.3f %7.3f %8.1f %6d\n", label, run.wallSeconds, run.seconds,
              static_cast<double>(run.peakKilobytes) * 1024 / 1e6, run.status);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const oz::testing::ScopedTempDir work;
  const std::string tinyPath = work.path() + "tiny.png";
  if (oz::encodePng(makeFrame(1, 0), tinyPath) != oz::PngWriteStatus::Written) return 1;
  const std::string tiny = oz::testing::readFile(tinyPath);
  const std::string lie = oz::testing::withClaimedSize(tiny, kClaimedSize, kClaimedSize);

  const std::string lyingFolder = work.path() + "lying/";
  const std::string trueFolder = work.path() + "true/";
  std::filesystem::create_directories(lyingFolder);
  std::filesystem::create_directories(trueFolder);
  for (int i = 0; i < kFrames; ++i) {
    oz::testing::writeFile(lyingFolder + frameName(i), lie);
    oz::testing::writeFile(trueFolder + frameName(i), tiny);
  }

  std::printf("%d frames of %zu bytes each; processor seconds, fastest of %d.\n", kFrames,
              lie.size(), runs);
  std::printf("%-34s %7s %7s %8s %6s\n", "frames", "wall", "cpu", "peak MB", "exit");
  const ProcessRun lying = bestRun(runs, lyingFolder, work.path() + "lying.png");
  const ProcessRun honest = bestRun(runs, trueFolder, work.path() + "true.png");
  print("claiming 8192 x 8192 (refused)", lying);
  print("the same files saying 1 x 1", honest);
  std::printf("ratio claiming / honest: time %.2f, peak memory %.2f\n",
              lying.seconds / honest.seconds,
              static_cast<double>(lying.peakKilobytes) / static_cast<double>(honest.peakKilobytes));
  const double lyingMegabytes = static_cast<double>(lying.peakKilobytes) * 1024 / 1e6;
  std::printf("targets: under %.0f s (%s), under %.0f MB (%s)\n", kTargetSeconds,
              lying.wallSeconds < kTargetSeconds ? "met" : "MISSED", kTargetMegabytes,
              lyingMegabytes < kTargetMegabytes ? "met" : "MISSED");
  return 0;
}
