// The 8- and 4-bit palettes of both quantisers set beside pngquant's, in one
// run.
//
// Two sheets: the example frames (8 of 64 x 64 in 4 columns) and 256 sprite
// frames of 128 x 128 with soft edges (2048 x 2048), each in two forms: opaque,
// as the palette depths see it (nearly clear pixels black, the rest opaque),
// and straight alpha for the transparent palettes. Each of our reductions,
// plain and dithered, is written with libpng (PLTE, tRNS up to the last
// entry below alpha 255, zlib level 9, rows unfiltered); pngquant reduces the
// same image, given as a 32-bit PNG, to 256 and 16 colours with and without
// --nofs. Every file is decoded with libpng and scored against the image: PSNR
// of the colour over the visible pixels (alpha above 0), PSNR of alpha over
// all pixels, the file's bytes, and processor seconds (ours: the reduction in
// process, training and every row; pngquant's: the whole command), each the
// fastest of RUNS; for the transparent forms also how many clear pixels come
// out visible and how many opaque ones come out below alpha 255, and pngquant's
// file made legal (writeMadeLegal), which ours meets when the sum of its two
// figures is higher and neither is more than 0.5 dB behind. Last, the network's transparent
// build against its opaque one, their runs taking turns (the aim: at most 1.2), on the 2048 x 2048
// sheet and on one of 256 frames whose alpha falls off across the whole disc,
// so that most visible pixels are translucent.
//
// Usage: palette_quality_bench [RUNS [EXAMPLES_FOLDER]]

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "sheet/build_sheet.h"
#include "sheet/color_depth.h"
#include "sheet/depth_preparation.h"
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
  // Pixels that were clear and show, and opaque ones that now let through
  // some of what lies behind: a sprite's background and body, which an engine
  // trims, batches and tests by exactly 0 and 255.
  long clearShown = 0;
  long opaqueLost = 0;
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
    s.opaqueLost += a[3] == 255 && b[3] != 255;
    s.clearShown += a[3] == 0 && b[3] != 0;
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

void printScore(const char* what, const Score& s, double seconds, bool transparent) {
  if (!s.ok) {
    std::printf("  %-34s (no file)\n", what);
    return;
  }
  std::printf("  %-34s %10ld %10.2f %9.2f %9.3f", what, s.bytes, s.colourPsnr, s.alphaPsnr,
              seconds);
  if (transparent) std::printf(" %11ld %11ld", s.clearShown, s.opaqueLost);
  std::printf("\n");
}

// A copy of the palette PNG at `from` whose palette keeps the promises
// sprite sheets rely on: entries of alpha 1 made clear and of alpha 254 made
// opaque, in its tRNS chunk, the rest of the file byte for byte. pngquant
// spends entries on such near-clear and near-opaque alphas; made legal, its
// palette is one a sprite sheet could ship.
bool writeMadeLegal(const std::string& from, const std::string& to) {
  std::FILE* in = std::fopen(from.c_str(), "rb");
  if (in == nullptr) return false;
  std::string bytes;
  char buffer[65536];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) > 0;) bytes.append(buffer, got);
  std::fclose(in);
  for (size_t at = 8; at + 12 <= bytes.size();) {
    const uint32_t length = (uint32_t{static_cast<uint8_t>(bytes[at])} << 24) |
                            (uint32_t{static_cast<uint8_t>(bytes[at + 1])} << 16) |
                            (uint32_t{static_cast<uint8_t>(bytes[at + 2])} << 8) |
                            static_cast<uint8_t>(bytes[at + 3]);
    if (at + 12 + length > bytes.size()) return false;
    if (bytes.compare(at + 4, 4, "tRNS") == 0) {
      for (size_t i = 0; i < length; ++i) {
        char& alpha = bytes[at + 8 + i];
        if (static_cast<uint8_t>(alpha) == 1) alpha = 0;
        if (static_cast<uint8_t>(alpha) == 254) alpha = static_cast<char>(255);
      }
      const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + at + 4), length + 4);
      for (int k = 0; k < 4; ++k) {
        bytes[at + 8 + length + k] = static_cast<char>((crc >> (24 - 8 * k)) & 0xff);
      }
    }
    at += 12 + length;
  }
  std::FILE* out = std::fopen(to.c_str(), "wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return std::fclose(out) == 0 && written;
}

// Whether `ours` meets pngquant's palette made legal: the sum of colour and
// alpha PSNR higher, and neither figure more than half a decibel behind.
bool meetsMadeLegal(const Score& ours, const Score& legal) {
  return ours.colourPsnr + ours.alphaPsnr > legal.colourPsnr + legal.alphaPsnr &&
         ours.colourPsnr > legal.colourPsnr - 0.5 && ours.alphaPsnr > legal.alphaPsnr - 0.5;
}

bool havePngquant() { return std::system("command -v pngquant >/dev/null 2>&1") == 0; }

oz::ReductionRequest requestFor(const oz::RgbaImage& sheet, const std::vector<uint8_t>& rgb,
                                bool transparent, int bits, bool dither, oz::Quantiser quantiser) {
  oz::ReductionRequest r;
  r.pixels = transparent ? sheet.pixels.data() : rgb.data();
  r.width = sheet.width;
  r.height = sheet.height;
  r.stride = (transparent ? 4 : 3) * static_cast<size_t>(sheet.width);
  r.withAlpha = transparent;
  r.bits = bits;
  r.dither = dither;
  r.quantiser = quantiser;
  return r;
}

// What the opaque palette depths see: nearly transparent pixels become the
// black background, every other pixel keeps its colour and becomes opaque.
oz::RgbaImage opaqueForm(oz::RgbaImage sheet) {
  oz::BuildOptions options;
  options.colorDepth = oz::kDepth8;
  oz::prepareForDepth(sheet, options);
  return sheet;
}

std::vector<uint8_t> rgbOf(const oz::RgbaImage& sheet) {
  std::vector<uint8_t> rgb;
  rgb.reserve(sheet.pixels.size() / 4 * 3);
  for (size_t i = 0; i < sheet.pixels.size(); i += 4) {
    rgb.insert(rgb.end(), &sheet.pixels[i], &sheet.pixels[i] + 3);
  }
  return rgb;
}

struct NamedQuantiser {
  const char* name;
  oz::Quantiser quantiser;
};
constexpr NamedQuantiser kQuantisers[] = {{"network", oz::Quantiser::Network},
                                          {"kmeans", oz::Quantiser::KMeans}};

// Each of our reductions of `sheet` beside pngquant's, with processor seconds
// (ours: training and every row, in process; pngquant's: the whole command),
// each the fastest of `runs`.
void compare(const std::string& name, const oz::RgbaImage& sheet, bool transparent, int runs,
             const std::string& work) {
  const std::string stem = work + (transparent ? "t-" : "o-") + std::to_string(sheet.width);
  const std::string sheet32 = stem + "-32.png";
  if (!writeRgba(sheet, sheet32)) {
    std::fprintf(stderr, "could not write %s\n", sheet32.c_str());
    return;
  }
  const std::vector<uint8_t> rgb = transparent ? std::vector<uint8_t>{} : rgbOf(sheet);
  std::printf("\n%s, %d x %d, %s\n", name.c_str(), sheet.width, sheet.height,
              transparent ? "transparent" : "opaque (as the palette depths see it)");
  std::printf("  %-34s %10s %10s %9s %9s", "", "bytes", "colour dB", "alpha dB", "seconds");
  if (transparent) std::printf(" %11s %11s", "clear shown", "opaque lost");
  std::printf("\n");
  const bool pngquant = havePngquant();
  for (int bits : {8, 4}) {
    const std::string colours = std::to_string(1 << bits);
    for (bool dither : {false, true}) {
      std::vector<Score> ours;
      for (const NamedQuantiser& q : kQuantisers) {
        const std::string path = stem + "-" + q.name + colours + (dither ? "d" : "") + ".png";
        const oz::ReductionRequest request =
            requestFor(sheet, rgb, transparent, bits, dither, q.quantiser);
        const double seconds = fastest(runs, [&] {
          const double start = processSeconds();
          auto reduction = oz::Reduction::open(request);
          for (int y = 0; y < sheet.height; ++y) reduction->row(y);
          return processSeconds() - start;
        });
        auto reduction = oz::Reduction::open(request);
        const bool written =
            reduction && writeReduction(*reduction, sheet.width, sheet.height, bits, path);
        const std::string label =
            std::to_string(bits) + "-bit " + q.name + (dither ? " dithered" : "");
        ours.push_back(written ? score(sheet, path) : Score{});
        printScore(label.c_str(), ours.back(), seconds, transparent);
      }
      if (!pngquant) continue;
      const std::string theirs = stem + "-pq" + colours + (dither ? "d" : "") + ".png";
      std::vector<std::string> args{"pngquant", colours, "--force", "--output", theirs};
      if (!dither) args.push_back("--nofs");
      args.push_back(sheet32);
      double seconds = 1e300;
      for (int run = 0; run < runs; ++run) seconds = std::min(seconds, runProcess(args).seconds);
      const std::string theirLabel = "pngquant " + colours + (dither ? "" : " --nofs");
      printScore(theirLabel.c_str(), score(sheet, theirs), seconds, transparent);
      if (!transparent) continue;
      const std::string legalPath = stem + "-pq" + colours + (dither ? "d" : "") + "-legal.png";
      if (!writeMadeLegal(theirs, legalPath)) continue;
      const Score legal = score(sheet, legalPath);
      printScore((theirLabel + ", made legal").c_str(), legal, seconds, transparent);
      for (size_t k = 0; k < ours.size(); ++k) {
        std::printf("    %s against it: sum %+.2f dB, colour %+.2f, alpha %+.2f: %s\n",
                    kQuantisers[k].name,
                    ours[k].colourPsnr + ours[k].alphaPsnr - legal.colourPsnr - legal.alphaPsnr,
                    ours[k].colourPsnr - legal.colourPsnr, ours[k].alphaPsnr - legal.alphaPsnr,
                    meetsMadeLegal(ours[k], legal) ? "met" : "not met");
      }
    }
  }
  if (!pngquant) std::printf("  pngquant is not installed: nothing to compare with\n");
}

// The network's transparent build against its opaque build of the same sheet,
// runs of the two taking turns so that both see the same machine; each the
// fastest of `runs`, processor seconds. The aim is at most 1.2.
void compareForms(const char* name, const oz::RgbaImage& sheet, int runs) {
  const oz::RgbaImage opaque = opaqueForm(sheet);
  const std::vector<uint8_t> rgb = rgbOf(opaque);
  std::printf("\nNetwork, transparent build against opaque, %s, %d x %d, fastest of %d\n", name,
              sheet.width, sheet.height, runs);
  for (int bits : {8, 4}) {
    for (bool dither : {false, true}) {
      const auto once = [&](bool transparent) {
        const double start = processSeconds();
        auto reduction = oz::Reduction::open(requestFor(
            transparent ? sheet : opaque, rgb, transparent, bits, dither, oz::Quantiser::Network));
        for (int y = 0; y < sheet.height; ++y) reduction->row(y);
        return processSeconds() - start;
      };
      double times[2] = {1e300, 1e300};
      for (int run = 0; run < runs; ++run) {
        for (int form : {0, 1}) times[form] = std::min(times[form], once(form == 1));
      }
      std::printf("  %d-bit %-9s opaque %7.3f s  transparent %7.3f s  ratio %.2f\n", bits,
                  dither ? "dithered" : "plain", times[0], times[1], times[1] / times[0]);
    }
  }
}

// makeFrame's disc, its alpha falling from 255 at the centre to 0 at the rim.
oz::RgbaImage softFrame(int size, int index) {
  oz::RgbaImage image = makeFrame(size, index);
  const double cx = size * (0.5 + 0.25 * std::sin(index * 0.37));
  const double cy = size * (0.5 + 0.25 * std::cos(index * 0.23));
  const double radius = size * 0.35;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      uint8_t* p = image.pixel(x, y);
      const double d = std::hypot(x - cx, y - cy) / radius;
      if (p[3] == 0 || d >= 1) {
        std::fill_n(p, 4, uint8_t{0});
      } else {
        p[3] = static_cast<uint8_t>(255 * (1 - d));
      }
    }
  }
  return image;
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
  }
  std::vector<oz::RgbaImage> sprites;
  for (int i = 0; i < 256; ++i) sprites.push_back(makeFrame(128, i));
  const oz::RgbaImage big = composeStraight(sprites, 16);
  for (bool transparent : {false, true}) {
    if (!frames.empty()) {
      const oz::RgbaImage small = composeStraight(frames, 4);
      compare("example frames", transparent ? small : opaqueForm(small), transparent, runs, work);
    }
    compare("256 sprite frames", transparent ? big : opaqueForm(big), transparent, runs, work);
  }
  compareForms("sprite frames", big, runs);
  std::vector<oz::RgbaImage> soft;
  for (int i = 0; i < 256; ++i) soft.push_back(softFrame(128, i));
  compareForms("soft-alpha frames", composeStraight(soft, 16), runs);
  std::filesystem::remove_all(work);
  return 0;
}
