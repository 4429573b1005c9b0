// Times orvane-zozivi-cli building sheets from deterministic frame sets and
// prints, measured in the same run, its ratio to the floor: decoding the frames
// plus zlib level 9 over the sheet's raw rows (filter byte 0 per row), which a
// tool writing the same unfiltered PNG through zlib's level 9 on one core must
// at least spend. Two ratios: the build's processor time, and its wall time
// (the build shares decoding and compression between the cores). Also prints the size of the
// sheet's compressed image data against zlib level 9's on the same rows, the build's peak memory
// against 2 x the sheet's RGBA bytes + 30 MB and, where ImageMagick's montage is installed, our
// time divided by its time for the same grid. For the 32-bit sheets of the two
// larger sets it then builds once with --smallest and prints its time and its
// file's bytes against the default form's and against montage's file.
//
// Usage: sheet_bench [RUNS [FOLDER]]
//   RUNS: each time is the fastest of RUNS (default 3).
//   FOLDER: where the frame sets are made and then kept, for profiling; by
//   default a temporary folder that is removed at the end.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "base/parallel.h"
#include "bench/bench_support.h"
#include "sheet/png/png_read.h"
#include "sheet/png/png_write.h"

namespace {

using namespace oz::bench;

struct FrameSet {
  int count;
  int size;  // frames are size x size
  int columns;
};

double decodeFrames(const std::string& folder, int count) {
  const double start = processSeconds();
  for (int i = 0; i < count; ++i) {
    if (!oz::decodePng(folder + frameName(i))) std::fprintf(stderr, "frame %d did not decode\n", i);
  }
  return processSeconds() - start;
}

// The rows of the written sheet as libpng was given them, each after a filter byte 0.
std::vector<uint8_t> rawRows(const std::string& sheetPath, int depth) {
  const auto sheet = oz::decodePng(sheetPath);
  std::vector<uint8_t> raw;
  if (!sheet) return raw;
  const int bytesPerPixel = depth / 8;
  for (int32_t y = 0; y < sheet->height; ++y) {
    raw.push_back(0);
    for (int32_t x = 0; x < sheet->width; ++x) {
      raw.insert(raw.end(), sheet->pixel(x, y), sheet->pixel(x, y) + bytesPerPixel);
    }
  }
  return raw;
}

struct Deflated {
  double seconds = 0;
  size_t bytes = 0;
};

Deflated deflateLevel9(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> out(compressBound(raw.size()));
  uLongf size = out.size();
  const double start = processSeconds();
  compress2(out.data(), &size, raw.data(), raw.size(), 9);
  return {processSeconds() - start, size};
}

uint32_t bigEndian(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

// The bytes of a PNG file's IDAT chunks: its compressed image data.
size_t imageDataBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t total = 0;
  for (size_t at = 8; at + 12 <= bytes.size(); at += 12 + bigEndian(bytes, at)) {
    if (bytes.compare(at + 4, 4, "IDAT") == 0) total += bigEndian(bytes, at);
  }
  return total;
}

bool haveMontage() { return std::system("command -v montage >/dev/null 2>&1") == 0; }

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const std::string cli = OZ_CLI_PATH;
  char pattern[] = "/tmp/oz-sheet-bench-XXXXXX";
  const bool keep = argc > 2;
  if (!keep && mkdtemp(pattern) == nullptr) return 1;
  const std::string work = (keep ? std::string(argv[2]) : std::string(pattern)) + "/";
  const bool montage = haveMontage();

  std::printf("Processor seconds (cli) and wall seconds, each the fastest of %d; %zu cores.\n",
              runs, oz::machineThreads());
  std::printf("%-30s %5s %7s %7s %7s %6s %7s %7s %7s %8s %8s %8s\n", "frames -> sheet", "depth",
              "wall", "cli", "floor", "cli/fl", "wall/fl", "data/z9", "peak MB", "bound MB",
              "montage", "/montage");
  std::vector<std::string> smallestLines;
  const FrameSet sets[] = {{64, 64, 8}, {256, 128, 16}, {1024, 128, 32}};
  for (const FrameSet& set : sets) {
    const std::string folder =
        work + std::to_string(set.count) + "x" + std::to_string(set.size) + "/";
    std::filesystem::create_directories(folder);
    for (int i = 0; i < set.count; ++i) {
      oz::encodePng(makeFrame(set.size, i), folder + frameName(i));
    }
    const int sheetWidth = set.columns * set.size;
    const int sheetHeight = (set.count + set.columns - 1) / set.columns * set.size;
    const double decodeSeconds = fastest(runs, [&] { return decodeFrames(folder, set.count); });

    double montageSeconds = 0;
    if (montage) {
      std::vector<std::string> args{"montage"};
      for (int i = 0; i < set.count; ++i) args.push_back(folder + frameName(i));
      args.insert(args.end(), {"-tile", std::to_string(set.columns) + "x", "-geometry", "+0+0",
                               "-background", "none", work + "montage.png"});
      montageSeconds = fastest(runs, [&] { return runProcess(args).seconds; });
    }

    uintmax_t defaultBytes = 0;  // the 32-bit sheet in the default form
    for (int depth : {32, 24}) {
      const std::string sheet = work + "sheet.png";
      ProcessRun best;
      best.seconds = 1e300;
      best.wallSeconds = 1e300;
      for (int i = 0; i < runs; ++i) {
        const ProcessRun run =
            runProcess({cli, "--sheet", sheet, "--columns", std::to_string(set.columns), "--depth",
                        std::to_string(depth), folder});
        if (run.status != 0) std::fprintf(stderr, "orvane-zozivi-cli exited with %d\n", run.status);
        best.seconds = std::min(best.seconds, run.seconds);
        best.wallSeconds = std::min(best.wallSeconds, run.wallSeconds);
        best.peakKilobytes = std::max(best.peakKilobytes, run.peakKilobytes);
      }
      if (depth == 32) defaultBytes = std::filesystem::file_size(sheet);
      const std::vector<uint8_t> raw = rawRows(sheet, depth);
      const size_t level9Bytes = deflateLevel9(raw).bytes;
      const double floorSeconds =
          decodeSeconds + fastest(runs, [&] { return deflateLevel9(raw).seconds; });
      const double boundMegabytes = (2 * 4.0 * sheetWidth * sheetHeight + 30e6) / 1e6;
      char label[64];
      std::snprintf(label, sizeof label, "%d of %dx%d -> %dx%d", set.count, set.size, set.size,
                    sheetWidth, sheetHeight);
      std::printf("%-30s %5d %7.3f %7.3f %7.3f %6.2f %7.2f %7.4f %7.1f %8.1f", label, depth,
                  best.wallSeconds, best.seconds, floorSeconds, best.seconds / floorSeconds,
                  best.wallSeconds / floorSeconds,
                  static_cast<double>(imageDataBytes(sheet)) / static_cast<double>(level9Bytes),
                  static_cast<double>(best.peakKilobytes) * 1024 / 1e6, boundMegabytes);
      if (montage) std::printf(" %8.3f %8.2f", montageSeconds, best.seconds / montageSeconds);
      std::printf("\n");
      std::fflush(stdout);
    }

    if (set.count < 256) continue;
    // The smallest 32-bit file: slow, so built once.
    const std::string smallest = work + "smallest.png";
    const ProcessRun run = runProcess(
        {cli, "--sheet", smallest, "--columns", std::to_string(set.columns), "--smallest", folder});
    if (run.status != 0) std::fprintf(stderr, "orvane-zozivi-cli exited with %d\n", run.status);
    const uintmax_t smallestBytes = std::filesystem::file_size(smallest);
    char line[256];
    std::snprintf(line, sizeof line, "%5d x %-5d %8.3f %8.3f %7.1f %12ju %12ju %8.3f", sheetWidth,
                  sheetHeight, run.wallSeconds, run.seconds,
                  static_cast<double>(run.peakKilobytes) * 1024 / 1e6, smallestBytes, defaultBytes,
                  static_cast<double>(smallestBytes) / static_cast<double>(defaultBytes));
    std::string text = line;
    if (montage) {
      const double montageBytes =
          static_cast<double>(std::filesystem::file_size(work + "montage.png"));
      std::snprintf(line, sizeof line, " %12.3f %8.3f", montageBytes / 1e6,
                    static_cast<double>(smallestBytes) / montageBytes);
      text += line;
    }
    smallestLines.push_back(text);
  }
  std::printf("\n--smallest, 32 bits, built once%s\n",
              montage ? "; montage's file for the same grid" : "");
  std::printf("%-13s %8s %8s %7s %12s %12s %8s %12s %8s\n", "sheet", "wall", "cli", "peak MB",
              "bytes", "default", "/default", "montage MB", "/montage");
  for (const std::string& line : smallestLines) std::printf("%s\n", line.c_str());
  if (!keep) std::filesystem::remove_all(work);
  return 0;
}
