#include "sheet/layout/grid_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace oz {
namespace {

FrameList framesOf(size_t count, int64_t width, int64_t height) {
  FrameList frames(count);
  for (FrameEntry& frame : frames) {
    frame.width = width;
    frame.height = height;
  }
  return frames;
}

constexpr int64_t kMaxColumns = std::numeric_limits<int64_t>::max();

struct Case {
  bool strip;
  int64_t columns;
  size_t count;
  int64_t spacing, border, extrude;
  int64_t sheetWidth, sheetHeight;
  size_t probe;  // a frame whose place is checked
  int64_t x, y;
};

// Strips of 32 x 48 frames, grids of 10 x 20.
TEST(GridLayoutTest, PlacesFramesAsStripOrGrid) {
  const Case cases[] = {
      {true, 4, 5, 0, 0, 0, 160, 48, 2, 64, 0},   // strip
      {false, 3, 4, 0, 0, 0, 30, 40, 3, 0, 20},   // last row partly filled
      {false, 2, 4, 0, 0, 0, 20, 40, 3, 10, 20},  // last row complete: height is the cursor alone
      {false, 1, 3, 0, 0, 0, 10, 60, 2, 0, 40},   // one column
      {false, 5, 3, 0, 0, 0, 30, 20, 2, 20, 0},   // no row completes
      {false, 0, 3, 0, 0, 0, 30, 20, 2, 20, 0},   // a count below 1 never ends a row
      {false, -2, 3, 0, 0, 0, 30, 20, 2, 20, 0},
      {false, kMaxColumns, 3, 0, 0, 0, 30, 20, 2, 20, 0},
      // Spacing only between cells, the border around them all, extrusion
      // growing each cell while the frame's own rectangle sits inside it.
      {true, 4, 5, 2, 0, 0, 168, 48, 2, 68, 0},
      {true, 4, 5, 0, 3, 0, 166, 54, 2, 67, 3},
      {true, 4, 5, 0, 0, 1, 170, 50, 2, 69, 1},
      {true, 4, 5, 2, 3, 1, 184, 56, 2, 76, 4},
      {true, 4, 1, 64, 0, 0, 32, 48, 0, 0, 0},  // one frame: no spacing at all
      {false, 3, 4, 2, 3, 1, 46, 52, 3, 4, 28},
      {false, 2, 4, 5, 0, 0, 25, 45, 3, 15, 25},
      {false, 1, 3, 1, 1, 1, 14, 70, 2, 2, 48},
      {false, 5, 3, 64, 64, 0, 286, 148, 2, 212, 64},
      {false, 0, 3, 0, 4, 0, 38, 28, 2, 24, 4},
      {false, -2, 3, 0, 0, 16, 126, 52, 2, 100, 16},
      {false, kMaxColumns, 3, 1, 0, 0, 32, 20, 2, 22, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "strip " << c.strip << " columns " << c.columns << " spacing " << c.spacing
                 << " border " << c.border << " extrude " << c.extrude);
    const int64_t w = c.strip ? 32 : 10, h = c.strip ? 48 : 20;
    FrameList frames = framesOf(c.count, w, h);
    const SheetLayout layout =
        layOutFrames(frames, {c.strip, c.columns, c.spacing, c.border, c.extrude});
    EXPECT_EQ(layout.problem, LayoutProblem::None);
    EXPECT_EQ(layout.width, c.sheetWidth);
    EXPECT_EQ(layout.height, c.sheetHeight);
    EXPECT_EQ(frames[c.probe].x, c.x);
    EXPECT_EQ(frames[c.probe].y, c.y);
    for (size_t i = 0; i < frames.size(); ++i) {
      EXPECT_EQ(frames[i].number, static_cast<int64_t>(i) + 1);
      EXPECT_EQ(frames[i].width, w);
    }
  }
}

TEST(GridLayoutTest, SharedCellsTakeTheirOwnersPlace) {
  FrameList frames = framesOf(5, 10, 20);
  const SheetLayout layout = layOutFrames(frames, {false, 2, 1, 0, 0}, {0, 0, 2, 2, 4});
  EXPECT_EQ(layout.width, 21);  // three cells: two rows of two
  EXPECT_EQ(layout.height, 41);
  const int64_t expected[][2] = {{0, 0}, {0, 0}, {11, 0}, {11, 0}, {0, 21}};
  for (size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(frames[i].x, expected[i][0]) << i;
    EXPECT_EQ(frames[i].y, expected[i][1]) << i;
    EXPECT_EQ(frames[i].number, static_cast<int64_t>(i) + 1);
  }
}

// The limit holds for the whole sheet, border and spacing included.
TEST(GridLayoutTest, LimitIs8192PixelsOnEachSide) {
  struct Limit {
    size_t count;
    int64_t spacing, border, extrude;
    int64_t width;
  };
  const Limit cases[] = {{128, 0, 0, 0, 8192},  {129, 0, 0, 0, 8256}, {128, 0, 1, 0, 8194},
                         {127, 0, 32, 0, 8192}, {126, 1, 2, 0, 8193}, {124, 0, 0, 1, 8184},
                         {125, 0, 0, 1, 8250}};
  for (const Limit& c : cases) {
    FrameList frames = framesOf(c.count, 64, 8);
    const SheetLayout strip = layOutFrames(frames, {true, 0, c.spacing, c.border, c.extrude});
    EXPECT_EQ(strip.width, c.width) << c.count;
    EXPECT_EQ(strip.problem, c.width > 8192 ? LayoutProblem::TooLarge : LayoutProblem::None)
        << c.count;
  }
  // 3 rows of 2731 is 8,193 high.
  FrameList frames = framesOf(6, 4096, 2731);
  const SheetLayout tall = layOutFrames(frames, {false, 2});
  EXPECT_EQ(tall.width, 8192);
  EXPECT_EQ(tall.height, 8193);
  EXPECT_EQ(tall.problem, LayoutProblem::TooLarge);
}

TEST(GridLayoutTest, FramesThatDidNotDecodeMakeNoSheetWhateverTheBorder) {
  FrameList frames = framesOf(3, 0, 0);
  EXPECT_EQ(layOutFrames(frames, {true, 0, 4, 4, 4}).problem, LayoutProblem::Empty);
  FrameList none;
  EXPECT_EQ(layOutFrames(none, {false, 4, 0, 8, 0}).problem, LayoutProblem::Empty);
}

TEST(GridLayoutTest, ColumnsAreReadAsTheLeadingInteger) {
  EXPECT_EQ(parseColumns("4"), 4);
  EXPECT_EQ(parseColumns("  12abc"), 12);
  EXPECT_EQ(parseColumns("\t+7"), 7);
  EXPECT_EQ(parseColumns("-3"), -3);
  EXPECT_EQ(parseColumns(""), 0);
  EXPECT_EQ(parseColumns("x4"), 0);
  EXPECT_EQ(parseColumns("- 4"), 0);
  EXPECT_EQ(parseColumns("99999999999999999999"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(parseColumns("-9223372036854775808"), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(parseColumns("-99999999999999999999"), std::numeric_limits<int64_t>::min());
}

// The range is what the layout itself accepts, spacing, border and extrusion
// included: every count inside it fits, every count outside it passes the
// limit.
TEST(GridLayoutTest, ColumnsThatFitAreThoseTheLayoutAccepts) {
  const struct {
    int64_t count, width, height;
    LayoutRules rules;  // spacing, border and extrude; strip and columns unread
    ColumnRange range;
  } cases[] = {
      {129, 64, 48, {}, {1, 128}},  // too wide as a strip
      {300, 64, 64, {}, {3, 128}},  // too high in one column
      {5, 2730, 4096, {}, {3, 3}},  // 3 wide, 2 high: the only count that fits
      {17000, 64, 64, {}, {}},      // more than 128 x 128 frames: nothing fits
      {1, 8193, 1, {}, {}},         // one frame past the limit
      {3, 10, 20, {}, {1, 3}},      // everything fits
      // 124 across: 2 x 2 + 124 x 64 + 123 x 2 = 8,186; 125 would be 8,252.
      {300, 64, 64, {.spacing = 2, .border = 2}, {3, 124}},
      // Cells of 68 x 68: 120 across (8,160), 121 is 8,228.
      {300, 64, 64, {.extrude = 2}, {3, 120}},
      // Cells of 1,000 (extrude 100): 8 of them with spacing 27 and border 2
      // make 4 + 8,000 + 189 = 8,193, one pixel past the limit; 7 fit.
      {8, 800, 800, {.spacing = 27, .border = 2, .extrude = 100}, {2, 7}},
      {7, 800, 800, {.spacing = 27, .border = 2, .extrude = 100}, {1, 7}},
      // A border so wide that no cell fits beside it.
      {2, 10, 10, {.border = 4092}, {}},
      {1, 8, 8, {.spacing = 64, .border = 4092}, {1, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.count << " of " << c.width << " x " << c.height << ", " << c.rules.spacing
                 << " " << c.rules.border << " " << c.rules.extrude);
    EXPECT_EQ(columnsThatFit(c.count, c.width, c.height, c.rules), c.range);
    if (c.count > 400) continue;  // the layout's answers are clear enough above
    for (int64_t columns = 1; columns <= c.count + 1; ++columns) {
      FrameList frames = framesOf(static_cast<size_t>(c.count), c.width, c.height);
      LayoutRules rules = c.rules;
      rules.columns = columns;
      const bool fits = layOutFrames(frames, rules).problem != LayoutProblem::TooLarge;
      const int64_t laidOut = std::min(columns, c.count);
      EXPECT_EQ(fits, c.range.most > 0 && laidOut >= c.range.fewest && laidOut <= c.range.most)
          << columns << " columns";
    }
  }
}

TEST(GridLayoutTest, PadsToPowersOfTwo) {
  const std::pair<int64_t, int64_t> cases[] = {{1, 2},       {2, 2},       {3, 4},      {64, 64},
                                               {65, 128},    {100, 128},   {96, 128},   {33, 64},
                                               {4097, 8192}, {8192, 8192}, {8193, 8193}};
  for (const auto& [side, padded] : cases) EXPECT_EQ(padToPowerOf2(side), padded) << side;
}

}  // namespace
}  // namespace oz
