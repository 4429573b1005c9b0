#include "sheet/sheet_layout.h"

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

struct Case {
  bool strip;
  int64_t columns;
  size_t count;
  int64_t sheetWidth, sheetHeight;
  size_t probe;  // a frame whose place is checked
  int64_t x, y;
};

TEST(SheetLayoutTest, PlacesFramesAsStripOrGrid) {
  const Case cases[] = {
      {true, 4, 5, 160, 48, 2, 64, 0},   // strip of 32 x 48 frames
      {false, 3, 4, 30, 40, 3, 0, 20},   // last row partly filled
      {false, 2, 4, 20, 40, 3, 10, 20},  // last row complete: height is the cursor alone
      {false, 1, 3, 10, 60, 2, 0, 40},   // one column
      {false, 5, 3, 30, 20, 2, 20, 0},   // no row completes
      {false, 0, 3, 30, 20, 2, 20, 0},   // a count below 1 never ends a row
      {false, -2, 3, 30, 20, 2, 20, 0},
      {false, std::numeric_limits<int64_t>::max(), 3, 30, 20, 2, 20, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "strip " << c.strip << " columns " << c.columns);
    const int64_t w = c.strip ? 32 : 10, h = c.strip ? 48 : 20;
    FrameList frames = framesOf(c.count, w, h);
    const SheetLayout layout = layOutFrames(frames, c.strip, c.columns);
    EXPECT_EQ(layout.problem, LayoutProblem::None);
    EXPECT_EQ(layout.width, c.sheetWidth);
    EXPECT_EQ(layout.height, c.sheetHeight);
    EXPECT_EQ(frames[c.probe].x, c.x);
    EXPECT_EQ(frames[c.probe].y, c.y);
    for (size_t i = 0; i < frames.size(); ++i)
      EXPECT_EQ(frames[i].number, static_cast<int64_t>(i) + 1);
  }
}

// Mismatched and empty frames are decided through the sheet build's tests.
TEST(SheetLayoutTest, LimitIs8192PixelsOnEachSide) {
  // The width's limit is checked through the sheet build. 2 columns of 4096:
  // exactly 8,192 wide; 3 rows of 2731 is 8,193 high.
  FrameList frames = framesOf(6, 4096, 2731);
  const SheetLayout tall = layOutFrames(frames, false, 2);
  EXPECT_EQ(tall.width, 8192);
  EXPECT_EQ(tall.height, 8193);
  EXPECT_EQ(tall.problem, LayoutProblem::TooLarge);
}

TEST(SheetLayoutTest, ColumnsAreReadAsTheLeadingInteger) {
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

// The range is what the layout itself accepts: every count inside it fits,
// every count outside it passes the limit.
TEST(SheetLayoutTest, ColumnsThatFitAreThoseTheLayoutAccepts) {
  const struct {
    int64_t count, width, height;
    ColumnRange range;
  } cases[] = {
      {129, 64, 48, {1, 128}},  // too wide as a strip
      {300, 64, 64, {3, 128}},  // too high in one column
      {5, 2730, 4096, {3, 3}},  // 3 wide, 2 high: the only count that fits
      {17000, 64, 64, {}},      // more than 128 x 128 frames: nothing fits
      {1, 8193, 1, {}},         // one frame past the limit
      {3, 10, 20, {1, 3}},      // everything fits
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.count << " of " << c.width << " x " << c.height);
    EXPECT_EQ(columnsThatFit(c.count, c.width, c.height), c.range);
    if (c.count > 400) continue;  // the layout's answers are clear enough above
    for (int64_t columns = 1; columns <= c.count + 1; ++columns) {
      FrameList frames = framesOf(static_cast<size_t>(c.count), c.width, c.height);
      const bool fits = layOutFrames(frames, false, columns).problem != LayoutProblem::TooLarge;
      const int64_t laidOut = std::min(columns, c.count);
      EXPECT_EQ(fits, c.range.most > 0 && laidOut >= c.range.fewest && laidOut <= c.range.most)
          << columns << " columns";
    }
  }
}

TEST(SheetLayoutTest, PadsToPowersOfTwo) {
  const std::pair<int64_t, int64_t> cases[] = {{1, 2},       {2, 2},       {3, 4},      {64, 64},
                                               {65, 128},    {100, 128},   {96, 128},   {33, 64},
                                               {4097, 8192}, {8192, 8192}, {8193, 8193}};
  for (const auto& [side, padded] : cases) EXPECT_EQ(padToPowerOf2(side), padded) << side;
}

}  // namespace
}  // namespace oz
