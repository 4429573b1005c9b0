// Palette sheets that keep transparency, set beside pngquant in one run.
//
// Two straight-alpha 32-bit sheets: the example frames (8 of 64 x 64 in 4
// columns) and 256 sprite frames of 128 x 128 with soft edges (2048 x 2048).
// For each, this program's transparent 8- and 4-bit reductions, plain and
// dithered, are written as PLTE + tRNS with libpng (zlib level 9, rows
// unfiltered), and pngquant reduces the same 32-bit sheet to 256 and 16
// colours, with and without its dithering. Every file is decoded with libpng
// and scored against the sheet: PSNR of the colour over the visible pixels
// (alpha above 0) and of alpha over all pixels, with the file's size.
//
// Then the processor time of the transparent 8-bit build (training and every
// row) against the opaque one on the same sheet laid over white, each the
// fastest of RUNS; the target is at most 1.2.
//
// Usage: palette_quality_bench [RUNS [EXAMPLES_FOLDER]]

#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "sheet/png/png_read.h"
#include "sheet/quantiser/reduction.h"

namespace {

using namespace oz::bench;

// The frames side by side in `columns` columns, stored as they are (straight
// alpha); a pixel of alpha 0 lands as (0, 0, 0, 0).
oz::RgbaImage composeStraight(const std::vector<oz::RgbaImage>& frames, int columns) {
  const int w = frames.front().width;
  const int h = frames.front().height;
  const int rows = (static_cast<int>(frames.size()) + columns - 1) / columns;
  oz::RgbaImage sheet{w * columns, h * rows,
                      std::vector<uint8_t>(static_cast<size_t>(w) * columns * h * rows * 4, 0)};
  for (size_t i = 0; i < frames.size(); ++i) {
    const int x0 = static_cast<int>(i) % columns * w;
    const int y0 = static_cast<int>(i) / columns * h;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const uint8_t* from = frames[i].pixel(x, y);
        if (from[3] != 0) std::copy_n(from, 4, sheet.pixel(x0 + x, y0 + y));
      }
    }
  }
  return sheet;
}

struct PngWriter {
  FILE* file = nullptr;
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~PngWriter() {
    if (png != nullptr) png_destroy_write_struct(&png, &info);
    if (file != nullptr) std::fclose(file);
  }
};

// Writes rows of `rowBytes` through libpng; `setHeader` sets the IHDR and
// any palette chunks.
template <class SetHeader, class RowAt>
bool writePng(const std::string& path, int height, SetHeader setHeader, RowAt rowAt) {
  PngWriter w;
  w.file = std::fopen(path.c_str(), "wb");
  if (w.file == nullptr) return false;
  w.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  w.info = png_create_info_struct(w.png);
  if (setjmp(png_jmpbuf(w.png))) return false;
  png_init_io(w.png, w.file);
  png_set_compression_level(w.png, 9);
  png_set_filter(w.png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  setHeader(w.png, w.info);
  png_write_info(w.png, w.info);
  for (int y = 0; y < height; ++y) png_write_row(w.png, rowAt(y));
  png_write_end(w.png, nullptr);
  return true;
}

bool writeRgba(const oz::RgbaImage& image, const std::string& path) {
  return writePng(
      path, image.height,
      [&](png_structp png, png_infop info) {
        png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGBA,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
      },
      [&](int y) { return image.pixel(0, y); });
}

// The reduction's palette as PLTE, its alpha as tRNS up to the last entry
// below 255, and its packed rows.
bool writeReduction(oz::Reduction& reduction, int width, int height, int bits,
                    const std::string& path) {
  std::vector<png_color> plte;
  std::vector<png_byte> trns;
  for (const oz::PaletteColour& c : reduction.palette()) {
    plte.push_back(png_color{c.red, c.green, c.blue});
    trns.push_back(c.alpha);
  }
  while (!trns.empty() && trns.back() == 255) trns.pop_back();
  std::vector<uint8_t> row;
  return writePng(
      path, height,
      [&](png_structp png, png_infop info) {
        png_set_IHDR(png, info, width, height, bits, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
        png_set_PLTE(png, info, plte.data(), static_cast<int>(plte.size()));
        if (!trns.empty()) {
          png_set_tRNS(png, info, trns.data(), static_cast<int>(trns.size()), nullptr);
        }
      },
      [&](int y) {
        const auto packed = reduction.row(y);
        row.assign(packed.begin(), packed.end());
        return row.data();
      });
}

struct Score {
  double colourPsnr = 0;  // over pixels the sheet shows (alpha above 0)
  double alphaPsnr = 0;   // over all pixels
  long bytes = 0;
  bool ok = false;
};

double psnr(double squaredError, double samples) {
  if (squaredError == 0) return 99.0;
  return 10 * std::log10(255.0 * 255.0 * samples / squaredError);
}

Score score(const oz::RgbaImage& sheet, const std::string& path) {
  Score s;
  const std::optional<oz::RgbaImage> got = oz::decodePng(path);
  if (!got || got->width != sheet.width || got->height != sheet.height) return s;
  double colour = 0;
  double alpha = 0;
  double visible = 0;
  for (size_t i = 0; i < sheet.pixels.size(); i += 4) {
    const uint8_t* a = &sheet.pixels[i];
    const uint8_t* b = &got->pixels[i];
    alpha += (a[3] - b[3]) * (a[3] - b[3]);
    if (a[3] == 0) continue;
    visible += 3;
    for (int c = 0; c < 3; ++c) colour += (a[c] - b[c]) * (a[c] - b[c]);
  }
  s.colourPsnr = psnr(colour, visible);
  s.alphaPsnr = psnr(alpha, static_cast<double>(sheet.pixels.size() / 4));
  s.bytes = static_cast<long>(std::filesystem::file_size(path));
  s.ok = true;
  return s;
}

void printScore(const char* what, const Score& s) {
  if (!s.ok) {
    std::printf("  %-34s (no file)\n", what);
    return;
  }
  std::printf("  %-34s %10ld %12.2f %10.2f\n", what, s.bytes, s.colourPsnr, s.alphaPsnr);
}

bool havePngquant() { return std::system("command -v pngquant >/dev/null 2>&1") == 0; }

void compare(const std::string& name, const oz::RgbaImage& sheet, const std::string& work) {
  const std::string sheet32 = work + name + "-32.png";
  if (!writeRgba(sheet, sheet32)) {
    std::fprintf(stderr, "could not write %s\n", sheet32.c_str());
    return;
  }
  std::printf("\n%s, %d x %d; 32-bit sheet %ld bytes\n", name.c_str(), sheet.width, sheet.height,
              static_cast<long>(std::filesystem::file_size(sheet32)));
  std::printf("  %-34s %10s %12s %10s\n", "", "bytes", "colour dB", "alpha dB");
  const bool pngquant = havePngquant();
  for (int bits : {8, 4}) {
    const std::string colours = std::to_string(1 << bits);
    for (bool dither : {false, true}) {
      const std::string ours =
          work + name + "-" + std::to_string(bits) + (dither ? "d" : "") + ".png";
      auto reduction =
          oz::Reduction::openWithAlpha(sheet.pixels.data(), sheet.width, sheet.height,
                                       4 * static_cast<size_t>(sheet.width), bits, dither);
      const bool written =
          reduction && writeReduction(*reduction, sheet.width, sheet.height, bits, ours);
      const std::string label =
          std::to_string(bits) + "-bit transparent" + (dither ? " dithered" : "");
      printScore(label.c_str(), written ? score(sheet, ours) : Score{});
      if (!pngquant) continue;
      const std::string theirs = work + name + "-pq" + colours + (dither ? "d" : "") + ".png";
      std::vector<std::string> args{"pngquant", colours, "--force", "--output", theirs};
      if (!dither) args.push_back("--nofs");
      args.push_back(sheet32);
      runProcess(args);
      const std::string theirLabel = "pngquant " + colours + (dither ? "" : " --nofs");
      printScore(theirLabel.c_str(), score(sheet, theirs));
    }
  }
  if (!pngquant) std::printf("  pngquant is not installed: nothing to compare with\n");
}

// The sheet over white, 3 bytes a pixel: what the opaque reduction is given.
std::vector<uint8_t> overWhite(const oz::RgbaImage& sheet) {
  std::vector<uint8_t> rgb;
  rgb.reserve(sheet.pixels.size() / 4 * 3);
  for (size_t i = 0; i < sheet.pixels.size(); i += 4) {
    const int a = sheet.pixels[i + 3];
    for (int c = 0; c < 3; ++c) {
      rgb.push_back(static_cast<uint8_t>((sheet.pixels[i + c] * a + 255 * (255 - a) + 127) / 255));
    }
  }
  return rgb;
}

void compareTimes(int runs, const oz::RgbaImage& sheet) {
  const std::vector<uint8_t> rgb = overWhite(sheet);
  std::printf("\n8-bit build of the %d x %d sheet, processor seconds, fastest of %d\n", sheet.width,
              sheet.height, runs);
  for (bool dither : {false, true}) {
    const auto time = [&](bool transparent) {
      return fastest(runs, [&] {
        const double start = processSeconds();
        auto reduction =
            transparent
                ? oz::Reduction::openWithAlpha(sheet.pixels.data(), sheet.width, sheet.height,
                                               4 * static_cast<size_t>(sheet.width), 8, dither)
                : oz::Reduction::open(rgb.data(), sheet.width, sheet.height,
                                      3 * static_cast<size_t>(sheet.width), 8, dither);
        for (int y = 0; y < sheet.height; ++y) reduction->row(y);
        return processSeconds() - start;
      });
    };
    const double opaque = time(false);
    const double transparent = time(true);
    std::printf("  %-9s opaque %7.3f s  transparent %7.3f s  ratio %.2f (target <= 1.20)\n",
                dither ? "dithered" : "plain", opaque, transparent, transparent / opaque);
  }
}

std::vector<oz::RgbaImage> exampleFrames(const std::string& folder) {
  std::vector<oz::RgbaImage> frames;
  for (int i = 1; i <= 8; ++i) {
    auto frame = oz::decodePng(folder + "/frame" + std::to_string(i) + ".png");
    if (!frame) return {};
    frames.push_back(std::move(*frame));
  }
  return frames;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const std::string examples = argc > 2 ? argv[2] : OZ_EXAMPLE_FRAMES;
  char pattern[] = "/tmp/oz-palette-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 1;
  const std::string work = std::string(pattern) + "/";

  const std::vector<oz::RgbaImage> frames = exampleFrames(examples);
  if (frames.empty()) {
    std::fprintf(stderr, "the example frames could not be read from %s\n", examples.c_str());
  } else {
    compare("example frames", composeStraight(frames, 4), work);
  }
  std::vector<oz::RgbaImage> sprites;
  for (int i = 0; i < 256; ++i) sprites.push_back(makeFrame(128, i));
  const oz::RgbaImage big = composeStraight(sprites, 16);
  compare("256 sprite frames", big, work);
  compareTimes(runs, big);
  std::filesystem::remove_all(work);
  return 0;
}
