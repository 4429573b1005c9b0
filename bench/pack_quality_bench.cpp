// The packed layout's sheet area against free-tex-packer-core's best on the
// same frames, in one run. Three deterministic sets of PNG frames (character
// animations on wide transparent canvases; 500 icons of 8 to 256 pixels; a
// few 1024-pixel backgrounds among many small frames) are trimmed to their
// visible pixels (alpha above 0) and packed in process by packRectangles,
// and the peer packs the same files, trimming them itself, with each of its
// packers and methods; of those the smallest sheet is kept. Both with the
// same spacing (the peer's padding p keeps 2p between frames and p to the
// edges, so ours runs with spacing 2p and border p), rotation and powers of
// two. The peer runs with its bin at the largest size, 8192 x 8192, as it
// is used; and, as a stronger reference no user of it gets, with our sheet's
// size as its bin. Prints each sheet ("+": more than one), the area ratio
// (ours over the peer's; the aim is at most 1 against the first) and the
// occupancy of both: the frames' trimmed area over the sheets'.
//
// Usage: pack_quality_bench [FOLDER]
//   FOLDER: where the frame sets are made and then kept; by default a
//   temporary folder that is removed at the end.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/pack_peer.h"
#include "sheet/layout/rect_packer.h"
#include "sheet/png/png_read.h"
#include "sheet/png/png_write.h"

namespace {

using namespace oz::bench;

struct Colour {
  uint8_t red, green, blue;
};

oz::RgbaImage clearImage(int width, int height) {
  return {width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4)};
}

// Paints an ellipse whose edge fades out over about a pixel.
void paintEllipse(oz::RgbaImage& image, double cx, double cy, double rx, double ry, Colour colour) {
  const int top = std::max(0, static_cast<int>(cy - ry - 2));
  const int bottom = std::min(image.height, static_cast<int>(cy + ry + 2));
  const int left = std::max(0, static_cast<int>(cx - rx - 2));
  const int right = std::min(image.width, static_cast<int>(cx + rx + 2));
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      const double d = std::hypot((x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry);
      const double cover = std::clamp((1 - d) * std::min(rx, ry) + 0.5, 0.0, 1.0);
      if (cover <= 0) continue;
      uint8_t* p = image.pixel(x, y);
      p[0] = colour.red;
      p[1] = colour.green;
      p[2] = colour.blue;
      p[3] = std::max(p[3], static_cast<uint8_t>(255 * cover));
    }
  }
}

void paintRect(oz::RgbaImage& image, int x0, int y0, int x1, int y1, Colour colour) {
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      uint8_t* p = image.pixel(x, y);
      p[0] = static_cast<uint8_t>(colour.red + (x * 3 & 31));
      p[1] = static_cast<uint8_t>(colour.green + (y * 5 & 31));
      p[2] = colour.blue;
      p[3] = 255;
    }
  }
}

void save(const oz::RgbaImage& image, const std::string& path) {
  if (oz::encodePng(image, path) != oz::PngWriteStatus::Written) {
    std::fprintf(stderr, "could not write %s\n", path.c_str());
  }
}

std::string numbered(const char* prefix, int number) {
  char name[32];
  std::snprintf(name, sizeof name, "%s%04d.png", prefix, number);
  return name;
}

// Four characters of 24 walking frames each on canvases of 256 x 256: body,
// head, swinging legs and arms, now and then a long blade held out.
void makeCharacters(const std::string& folder) {
  for (int c = 0; c < 4; ++c) {
    for (int f = 0; f < 24; ++f) {
      oz::RgbaImage image = clearImage(256, 256);
      const double phase = f * 2 * M_PI / 24;
      const double cx = 128 + 24 * std::sin(phase + c);
      const double body = 40 + 9 * c;
      const double cy = 150 + 6 * std::cos(2 * phase);
      const Colour skin{static_cast<uint8_t>(150 + 25 * c), 110, 80};
      paintEllipse(image, cx, cy, 18 + 5 * c, body, {60, static_cast<uint8_t>(80 + 30 * c), 140});
      paintEllipse(image, cx, cy - body - 14 - 2 * c, 14 + 2 * c, 15 + 2 * c, skin);
      for (int side = -1; side <= 1; side += 2) {
        const double swing = side * 22 * std::sin(phase);
        paintEllipse(image, cx + swing, cy + body + 14, 8, 20, {50, 50, 70});
        paintEllipse(image, cx - swing * 1.2 + side * (20 + 4 * c), cy - 8, 7, 22, skin);
      }
      if ((f + c) % 6 < 2) paintEllipse(image, cx + 60, cy - 10, 48, 4, {200, 200, 210});
      save(image, folder + numbered(("c" + std::to_string(c) + "_").c_str(), f));
    }
  }
}

// 500 icons of 8 to 256 pixels a side, most of them square, opaque, a
// quarter of them with a transparent margin around.
void makeIcons(const std::string& folder) {
  uint32_t state = 88172645u;
  for (int i = 0; i < 500; ++i) {
    const int width = 8 + static_cast<int>(nextRandom(state) % 249);
    const int height =
        nextRandom(state) % 5 < 3 ? width : 8 + static_cast<int>(nextRandom(state) % 249);
    oz::RgbaImage image = clearImage(width, height);
    int margin[4] = {0, 0, 0, 0};
    if (nextRandom(state) % 4 == 0) {
      for (int& m : margin)
        m = static_cast<int>(nextRandom(state) % (std::min(width, height) / 8 + 1));
    }
    const Colour colour{static_cast<uint8_t>(nextRandom(state) % 200),
                        static_cast<uint8_t>(nextRandom(state) % 200), 120};
    paintRect(image, margin[0], margin[1], width - margin[2], height - margin[3], colour);
    save(image, folder + numbered("icon", i));
  }
}

// Three opaque backgrounds 1024 pixels wide among 240 small frames of 24 to
// 128 pixels, each a disc with transparency around it.
void makeBackgrounds(const std::string& folder) {
  const int heights[] = {1024, 768, 512};
  for (int i = 0; i < 3; ++i) {
    oz::RgbaImage image = clearImage(1024, heights[i]);
    paintRect(image, 0, 0, 1024, heights[i], {static_cast<uint8_t>(40 * i), 90, 160});
    save(image, folder + numbered("back", i));
  }
  uint32_t state = 521288629u;
  for (int i = 0; i < 240; ++i) {
    const int size = 24 + static_cast<int>(nextRandom(state) % 105);
    oz::RgbaImage image = clearImage(size, size);
    const double radius = size * (0.25 + (nextRandom(state) % 20) / 100.0);
    const double cx = radius + (size - 2 * radius) * (nextRandom(state) % 100) / 100.0;
    const double cy = radius + (size - 2 * radius) * (nextRandom(state) % 100) / 100.0;
    paintEllipse(image, cx, cy, radius, radius * 0.9, {220, static_cast<uint8_t>(i), 40});
    save(image, folder + numbered("small", i));
  }
}

// The frames of `folder` as the packed layout stores them: trimmed to the
// box of their pixels with alpha above 0, an invisible frame to one pixel.
std::vector<oz::RectSize> trimmedFrames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().string());
  }
  std::sort(names.begin(), names.end());
  std::vector<oz::RectSize> rects;
  for (const std::string& name : names) {
    const auto image = oz::decodePng(name);
    if (!image) continue;
    int left = image->width, top = image->height, right = -1, bottom = -1;
    for (int y = 0; y < image->height; ++y) {
      for (int x = 0; x < image->width; ++x) {
        if (image->pixel(x, y)[3] == 0) continue;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
    rects.push_back(right < 0 ? oz::RectSize{1, 1}
                              : oz::RectSize{right - left + 1, bottom - top + 1});
  }
  return rects;
}

struct Options {
  int padding;  // the peer's; ours is spacing 2p, border p
  bool rotation;
  bool powerOf2;
};

std::string describe(const Options& options) {
  std::string text = "spacing " + std::to_string(2 * options.padding);
  if (options.rotation) text += " turn";
  if (options.powerOf2) text += " pot";
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  char pattern[] = "/tmp/oz-pack-bench-XXXXXX";
  const bool keep = argc > 1;
  if (!keep && mkdtemp(pattern) == nullptr) return 1;
  const std::string work = (keep ? std::string(argv[1]) : std::string(pattern)) + "/";
  const struct {
    const char* name;
    void (*make)(const std::string&);
  } sets[] = {
      {"characters", makeCharacters}, {"icons", makeIcons}, {"backgrounds", makeBackgrounds}};
  const Options optionSets[] = {{0, false, false}, {0, true, false},  {0, false, true},
                                {0, true, true},   {1, false, false}, {1, true, false},
                                {1, false, true},  {1, true, true}};
  const bool peer = packPeerReady(OZ_PACK_PEER_DIR);

  std::printf("%-12s %-18s %11s %6s %8s %11s %6s %8s %-26s %11s %6s %8s %s\n", "set", "options",
              "ours", "occ", "seconds", "peer", "occ", "ours/pr", "by", "peer@ours", "occ",
              "ours/pr", "by");
  double worst[2] = {0, 0};
  for (const auto& set : sets) {
    const std::string folder = work + set.name + "/";
    std::filesystem::create_directories(folder);
    set.make(folder);
    const std::vector<oz::RectSize> rects = trimmedFrames(folder);
    double trimmed = 0;
    for (const oz::RectSize rect : rects) trimmed += static_cast<double>(rect.width * rect.height);
    for (const Options& options : optionSets) {
      oz::PackRules rules;
      rules.spacing = 2 * options.padding;
      rules.border = options.padding;
      rules.rotation = options.rotation;
      rules.powerOf2 = options.powerOf2;
      rules.multipack = true;
      const auto start = Clock::now();
      const oz::PackResult ours = oz::packRectangles(rects, rules);
      const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
      double area = 0;
      for (const oz::PackedSheet& sheet : ours.sheets)
        area += static_cast<double>(sheet.width * sheet.height);
      char sheet[32];
      std::snprintf(
          sheet, sizeof sheet, "%lldx%lld%s", static_cast<long long>(ours.sheets[0].width),
          static_cast<long long>(ours.sheets[0].height), ours.sheets.size() > 1 ? "+" : "");
      std::printf("%-12s %-18s %11s %6.3f %8.3f", set.name, describe(options).c_str(), sheet,
                  trimmed / area, seconds);
      if (!peer) {
        std::printf("\n");
        continue;
      }
      // The peer's bin at the largest size, as it is run, and ours as its
      // bin: held to that size it may pack tighter than ever on its own.
      char json[160];
      std::snprintf(json, sizeof json,
                    "{\"padding\":%d,\"allowRotation\":%s,\"powerOfTwo\":%s,"
                    "\"bins\":[[8192,8192],[%lld,%lld]]}",
                    options.padding, options.rotation ? "true" : "false",
                    options.powerOf2 ? "true" : "false",
                    static_cast<long long>(ours.sheets[0].width),
                    static_cast<long long>(ours.sheets[0].height));
      const PeerRun run =
          runPackPeer(OZ_PACK_PEER_SCRIPT, OZ_PACK_PEER_DIR, {"sheets", folder, json});
      const std::vector<std::string> bests =
          run.finished ? jsonEntries(run.output) : std::vector<std::string>{};
      if (bests.size() != 2) {
        std::printf("  the peer failed\n");
        continue;
      }
      for (size_t i = 0; i < bests.size(); ++i) {
        const auto peerArea = jsonNumber(bests[i], "area");
        if (!peerArea) {
          std::printf(" %11s %6s %8s %-26s", "none", "", "", "");
          continue;
        }
        const auto width = jsonNumber(bests[i], "width");
        const auto height = jsonNumber(bests[i], "height");
        std::snprintf(sheet, sizeof sheet, "%.0fx%.0f%s", width ? width->value : 0,
                      height ? height->value : 0,
                      bests[i].find("},{") != std::string::npos ? "+" : "");
        const double ratio = area / peerArea->value;
        worst[i] = std::max(worst[i], ratio);
        const std::string by = jsonText(bests[i], "packer") + "." + jsonText(bests[i], "method");
        std::printf(" %11s %6.3f %8.4f %-26s", sheet, trimmed / peerArea->value, ratio, by.c_str());
      }
      std::printf("\n");
    }
  }
  if (peer) {
    std::printf(
        "largest area ratio, ours over the peer's best: %.4f (aim: at most 1); over the "
        "peer's best held to our sheet's size: %.4f\n",
        worst[0], worst[1]);
  }
  if (!keep) std::filesystem::remove_all(work);
  return 0;
}
