#include "sheet/bleed.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "sheet/png/test_fixtures.h"

namespace oz {
namespace {

using testing::paintedImage;
using testing::paintedRows;

// Capitals are visible; the same letter in lower case is its colour at alpha 0.
const testing::Colours kColours{
    {'.', {0, 0, 0, 0}},       {'?', {9, 9, 9, 0}},     {'A', {200, 10, 20, 255}},
    {'a', {200, 10, 20, 0}},   {'B', {30, 180, 40, 7}}, {'b', {30, 180, 40, 0}},
    {'C', {50, 60, 250, 128}}, {'c', {50, 60, 250, 0}},
};

std::vector<std::string> bled(const std::vector<std::string>& rows) {
  RgbaImage image = paintedImage(rows, kColours);
  BleedScratch scratch;
  bleedColours(image, 0, 0, image.width, image.height, scratch);
  return paintedRows(image, kColours);
}

TEST(BleedTest, InvisiblePixelsTakeTheNearestVisibleColour) {
  // One pass: across and down win over the diagonals, left over right, up
  // over down; alpha stays 0 and visible pixels keep their colours.
  EXPECT_EQ(bled({"...",  //
                  ".A.",  //
                  "..B"}),
            (std::vector<std::string>{"aaa",  //
                                      "aAa",  //
                                      "abB"}));
  // Two passes: the middle pixel and its neighbours fill in pass 1, each from
  // a visible pixel only; the far corners in pass 2 from pass 1's pixels, the
  // bottom-left one from its right (b) before its top (a).
  EXPECT_EQ(bled({"A..",  //
                  "...",  //
                  "..B"}),
            (std::vector<std::string>{"Aaa",  //
                                      "aab",  //
                                      "bbB"}));
  // The centre touches both visible pixels only diagonally: up-left comes
  // before up-right. The bottom corner takes its colour from A's side, through
  // the pixel filled beside A in pass 1.
  EXPECT_EQ(bled({"C.A",  //
                  "...",  //
                  "..."}),
            (std::vector<std::string>{"CcA",  //
                                      "cca",  //
                                      "cca"}));
}

TEST(BleedTest, NothingToBleedFromOrInto) {
  EXPECT_EQ(bled({"?.?", ".?."}), (std::vector<std::string>{"?.?", ".?."}));
  EXPECT_EQ(bled({"AB", "CA"}), (std::vector<std::string>{"AB", "CA"}));
}

TEST(BleedTest, StaysInsideItsRectangle) {
  // The visible pixel left of the rectangle is another frame's: not a source,
  // and the pixels outside are not written.
  RgbaImage image = paintedImage({"A...",  //
                                  "....",  //
                                  "...C"},
                                 kColours);
  BleedScratch scratch;
  bleedColours(image, 1, 0, 3, 2, scratch);
  EXPECT_EQ(paintedRows(image, kColours), (std::vector<std::string>{"A...",  //
                                                                    "....",  //
                                                                    "...C"}));
  bleedColours(image, 1, 1, 3, 2, scratch);  // the scratch reused, at another size
  EXPECT_EQ(paintedRows(image, kColours), (std::vector<std::string>{"A...",  //
                                                                    ".ccc",  //
                                                                    ".ccC"}));
}

// The passes as documented, one after another, on a copy: what the growth's
// shortcut must give exactly.
void bleedPassByPass(RgbaImage& image) {
  const int32_t w = image.width, h = image.height;
  std::vector<int> filled(static_cast<size_t>(w) * static_cast<size_t>(h));
  bool anyVisible = false;
  for (int32_t i = 0; i < w * h; ++i) anyVisible |= (filled[i] = image.pixels[i * 4 + 3] != 0);
  if (!anyVisible) return;
  const int order[8][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
  for (int pass = 1;; ++pass) {
    const std::vector<int> before = filled;
    bool any = false;
    for (int32_t y = 0; y < h; ++y) {
      for (int32_t x = 0; x < w; ++x) {
        if (before[y * w + x]) continue;
        for (const auto& o : order) {
          const int32_t nx = x + o[0], ny = y + o[1];
          if (nx < 0 || ny < 0 || nx >= w || ny >= h || !before[ny * w + nx]) continue;
          std::memcpy(image.pixel(x, y), image.pixel(nx, ny), 3);
          filled[y * w + x] = pass;
          any = true;
          break;
        }
      }
    }
    if (!any) return;
  }
}

TEST(BleedTest, MatchesThePassesOnRandomFrames) {
  std::mt19937 random(20);
  BleedScratch scratch;
  for (int trial = 0; trial < 200; ++trial) {
    const auto w = static_cast<int32_t>(1 + random() % 40);
    const auto h = static_cast<int32_t>(1 + random() % 40);
    RgbaImage image{w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h * 4)};
    const unsigned density = random() % 50;  // visible pixels in a thousand, up to 5 %
    for (size_t i = 0; i < image.pixels.size(); i += 4) {
      for (int c = 0; c < 3; ++c) image.pixels[i + c] = static_cast<uint8_t>(random());
      image.pixels[i + 3] =
          random() % 1000 < density ? static_cast<uint8_t>(1 + random() % 255) : 0;
    }
    RgbaImage expected = image;
    bleedPassByPass(expected);
    bleedColours(image, 0, 0, w, h, scratch);
    ASSERT_EQ(image.pixels, expected.pixels) << w << " x " << h << ", trial " << trial;
  }
}

}  // namespace
}  // namespace oz
