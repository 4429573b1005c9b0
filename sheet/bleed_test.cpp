#include "sheet/bleed.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace oz
