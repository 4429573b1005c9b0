#include "sheet/extrude.h"

#include <gtest/gtest.h>

#include "sheet/png/test_fixtures.h"

namespace oz {
namespace {

using testing::paintedImage;
using testing::paintedRows;

// Every channel differs, alpha 0 included, so a copy that skips one shows.
const testing::Colours kColours{{'.', {0, 0, 0, 0}},      {'a', {1, 2, 3, 255}},
                                {'b', {4, 5, 6, 128}},    {'c', {7, 8, 9, 0}},
                                {'d', {10, 11, 12, 1}},   {'e', {13, 14, 15, 255}},
                                {'f', {16, 17, 18, 254}}, {'g', {19, 20, 21, 0}},
                                {'h', {22, 23, 24, 33}},  {'i', {25, 26, 27, 32}}};

TEST(ExtrudeTest, EdgesAndCornersRepeatOutwardWithinTheRing) {
  RgbaImage canvas = paintedImage({".........",  //
                                   ".........",  //
                                   ".........",  //
                                   "...abc...",  //
                                   "...def...",  //
                                   "...ghi...",  //
                                   ".........",  //
                                   ".........",  //
                                   "........."},
                                  kColours);
  extrudeEdges(canvas, 3, 3, 3, 3, 2);
  const std::vector<std::string> expected{".........",  //
                                          ".aaabccc.",  //
                                          ".aaabccc.",  //
                                          ".aaabccc.",  //
                                          ".dddefff.",  //
                                          ".ggghiii.",  //
                                          ".ggghiii.",  //
                                          ".ggghiii.",  //
                                          "........."};
  EXPECT_EQ(paintedRows(canvas, kColours), expected);
}

TEST(ExtrudeTest, ThinFramesAndNoAmount) {
  // A frame one pixel wide and one high fills its whole ring with its pixel.
  RgbaImage dot = paintedImage({"...", ".e.", "..."}, kColours);
  extrudeEdges(dot, 1, 1, 1, 1, 1);
  EXPECT_EQ(paintedRows(dot, kColours), (std::vector<std::string>{"eee", "eee", "eee"}));

  RgbaImage unchanged = paintedImage({"...", ".e.", "..."}, kColours);
  extrudeEdges(unchanged, 1, 1, 1, 1, 0);
  EXPECT_EQ(paintedRows(unchanged, kColours), (std::vector<std::string>{"...", ".e.", "..."}));
}

}  // namespace
}  // namespace oz
