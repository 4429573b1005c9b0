// The palette reduction's speed, all measured in one run:
//  - in process, on the 2048 x 2048 sheet of 256 sprite frames of 128 x 128:
//    training per million samples and row mapping per megapixel, at 8 and 4
//    bits, with and without dithering, so that regressions show;
//  - the whole 8-bit dithered build through orvane-zozivi-cli, from frames to
//    file, with each quantiser, divided by the time `pngquant 256` needs to
//    reduce the composed 32-bit sheet (when pngquant is installed), the three
//    commands run in turn, round by round, and the build's peak memory against
//    2 x the sheet's RGBA bytes + 30 MB.
//
// Usage: quantiser_bench [RUNS]   (RUNS rounds, default 3; each in-process time
// is the fastest of RUNS)

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "sheet/build_sheet.h"
#include "sheet/color_depth.h"
#include "sheet/depth_preparation.h"
#include "sheet/png/png_read.h"
#include "sheet/png/png_write.h"
#include "sheet/quantiser/reduction.h"
#include "sheet/quantiser/training.h"

namespace {

using namespace oz::bench;

constexpr int kFrames = 256;
constexpr int kFrameSize = 128;
constexpr int kColumns = 16;
constexpr int kSheetSide = kColumns * kFrameSize;  // 2048 x 2048

// What the writer hands the reduction for an 8-bit build: the composed sheet
// prepared for the palette depths (all opaque, so laying it over white changes
// nothing), as 3 bytes per pixel.
std::vector<uint8_t> reductionInput(const std::string& sheet32) {
  std::optional<oz::RgbaImage> canvas = oz::decodePng(sheet32);
  if (!canvas) return {};
  oz::BuildOptions options;
  options.colorDepth = oz::kDepth8;
  oz::prepareForDepth(*canvas, options);
  std::vector<uint8_t> rgb;
  rgb.reserve(canvas->pixels.size() / 4 * 3);
  for (size_t i = 0; i < canvas->pixels.size(); i += 4) {
    rgb.insert(rgb.end(), &canvas->pixels[i], &canvas->pixels[i] + 3);
  }
  return rgb;
}

void inProcess(int runs, const std::string& sheet32) {
  const std::vector<uint8_t> rgb = reductionInput(sheet32);
  if (rgb.size() != 3 * static_cast<size_t>(kSheetSide) * kSheetSide) {
    std::fprintf(stderr, "the 32-bit sheet could not be read\n");
    return;
  }
  const double samples = static_cast<double>(oz::planTraining(kSheetSide, kSheetSide).samplepixels);
  const double megapixels = static_cast<double>(kSheetSide) * kSheetSide / 1e6;
  std::printf("In process, 2048 x 2048 sheet of 256 frames; processor seconds, fastest of %d\n",
              runs);
  std::printf("%5s %7s %14s %14s\n", "bits", "dither", "train s/M smp", "map s/Mpixel");
  for (int bits : {8, 4}) {
    for (bool dither : {false, true}) {
      double train = 1e300;
      double map = 1e300;
      for (int run = 0; run < runs; ++run) {
        const double start = processSeconds();
        auto reduction =
            oz::Reduction::open(rgb.data(), kSheetSide, kSheetSide, 3 * kSheetSide, bits, dither);
        const double trained = processSeconds();
        for (int y = 0; y < kSheetSide; ++y) reduction->row(y);
        const double mapped = processSeconds();
        train = std::min(train, trained - start);
        map = std::min(map, mapped - trained);
      }
      std::printf("%5d %7s %14.4f %14.4f\n", bits, dither ? "yes" : "no", train / (samples / 1e6),
                  map / megapixels);
    }
  }
}

bool havePngquant() { return std::system("command -v pngquant >/dev/null 2>&1") == 0; }

// Writes the frame set into `folder` and builds the composed 32-bit sheet from
// it; false when the command line fails.
bool makeFramesAndSheet(const std::string& folder, const std::string& sheet32) {
  std::filesystem::create_directories(folder);
  for (int i = 0; i < kFrames; ++i) {
    oz::encodePng(makeFrame(kFrameSize, i), folder + frameName(i));
  }
  return runProcess({OZ_CLI_PATH, "--sheet", sheet32, "--columns", std::to_string(kColumns),
                     "--depth", "32", folder})
             .status == 0;
}

// The middle of `values` (the mean of the two middle ones for an even count).
double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Runs of each command in rounds, one of each per round, so that the machine's
// load changes the commands of one round alike; the ratio of each build to
// pngquant is taken round by round.
void wholeBuild(int runs, const std::string& folder, const std::string& sheet32,
                const std::string& work) {
  const std::string cli = OZ_CLI_PATH;
  const std::string columns = std::to_string(kColumns);
  const double boundMegabytes = (2 * 4.0 * kSheetSide * kSheetSide + 30e6) / 1e6;
  const bool pngquant = havePngquant();
  std::printf(
      "\nWhole build, 256 frames -> 2048 x 2048, 8 bits dithered; processor and wall seconds, "
      "fastest of %d rounds%s\n",
      runs, pngquant ? ", and the ratio to pngquant round by round: median (min to max)" : "");
  const char* const quantisers[] = {"network", "kmeans"};
  std::vector<ProcessRun> runsOf[2];
  std::vector<ProcessRun> pngquantRuns;
  for (int round = 0; round < runs; ++round) {
    for (size_t k = 0; k < 2; ++k) {
      const ProcessRun r =
          runProcess({cli, "--sheet", work + "sheet8.png", "--columns", columns, "--depth", "8",
                      "--dither", "--quantiser", quantisers[k], folder});
      if (r.status != 0) std::fprintf(stderr, "orvane-zozivi-cli exited with %d\n", r.status);
      runsOf[k].push_back(r);
    }
    if (pngquant) {
      pngquantRuns.push_back(
          runProcess({"pngquant", "256", "--force", "--output", work + "pngquant.png", sheet32}));
    }
  }
  const auto fastestOf = [](const std::vector<ProcessRun>& all) {
    ProcessRun best = all.front();
    for (const ProcessRun& r : all) {
      best.seconds = std::min(best.seconds, r.seconds);
      best.wallSeconds = std::min(best.wallSeconds, r.wallSeconds);
      best.peakKilobytes = std::max(best.peakKilobytes, r.peakKilobytes);
    }
    return best;
  };
  for (size_t k = 0; k < 2; ++k) {
    const ProcessRun best = fastestOf(runsOf[k]);
    std::printf("  --quantiser %-7s %7.3f s %7.3f s wall   peak %6.1f MB (bound %.1f MB)\n",
                quantisers[k], best.seconds, best.wallSeconds,
                static_cast<double>(best.peakKilobytes) * 1024 / 1e6, boundMegabytes);
  }
  if (!pngquant) {
    std::printf("  pngquant is not installed: no ratio\n");
    return;
  }
  const ProcessRun theirs = fastestOf(pngquantRuns);
  std::printf("  pngquant 256         %7.3f s %7.3f s wall   (the composed 32-bit sheet)\n",
              theirs.seconds, theirs.wallSeconds);
  for (size_t k = 0; k < 2; ++k) {
    std::vector<double> processor;
    std::vector<double> wall;
    for (int round = 0; round < runs; ++round) {
      processor.push_back(runsOf[k][round].seconds / pngquantRuns[round].seconds);
      wall.push_back(runsOf[k][round].wallSeconds / pngquantRuns[round].wallSeconds);
    }
    std::printf(
        "  ratio %-7s build / pngquant: %.2f (%.2f to %.2f) processor, %.2f (%.2f to %.2f) wall "
        "(target <= 0.5)\n",
        quantisers[k], median(processor), *std::min_element(processor.begin(), processor.end()),
        *std::max_element(processor.begin(), processor.end()), median(wall),
        *std::min_element(wall.begin(), wall.end()), *std::max_element(wall.begin(), wall.end()));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  char pattern[] = "/tmp/oz-quantiser-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 1;
  const std::string work = std::string(pattern) + "/";
  const std::string folder = work + "frames/";
  const std::string sheet32 = work + "sheet32.png";
  if (makeFramesAndSheet(folder, sheet32)) {
    inProcess(runs, sheet32);
    wholeBuild(runs, folder, sheet32, work);
  } else {
    std::fprintf(stderr, "the 32-bit sheet could not be built\n");
  }
  std::filesystem::remove_all(work);
  return 0;
}
