#include "app/preview_view.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

using std::chrono::milliseconds;

// A 2 x 2 grid of 10 x 20 frames, the last one not decoded.
FrameList grid() {
  return {{1, "a.png", 0, 0, 10, 20},
          {2, "b.png", 10, 0, 10, 20},
          {3, "c.png", 0, 20, 10, 20},
          {4, "d.png", 10, 20, 0, 0}};
}

TEST(PreviewView, FrameAtTimeLoopsAtTheRate) {
  EXPECT_EQ(frameAt(milliseconds(0), 12, 5), 0u);
  EXPECT_EQ(frameAt(milliseconds(83), 12, 5), 0u);  // 1/12 s is 83.3 ms
  EXPECT_EQ(frameAt(milliseconds(84), 12, 5), 1u);
  EXPECT_EQ(frameAt(milliseconds(1000), 12, 5), 2u);  // 12 frames shown: 12 mod 5
  EXPECT_EQ(frameAt(milliseconds(999), 1, 3), 0u);
  EXPECT_EQ(frameAt(milliseconds(2000), 1, 3), 2u);
  EXPECT_EQ(frameAt(milliseconds(3000), 1, 3), 0u);
  // Hours of playing neither overflow nor stop the loop.
  EXPECT_EQ(frameAt(milliseconds(36'000'000), 60, 7), (36'000u * 60u) % 7u);
  EXPECT_EQ(frameAt(milliseconds(500), 12, 0), 0u);
  EXPECT_EQ(frameAt(milliseconds(-500), 12, 4), 0u);
}

TEST(PreviewView, FitShrinksExactlyAndEnlargesByWholeSteps) {
  EXPECT_DOUBLE_EQ(fitScale(1000, 500, 500, 500), 0.5);
  EXPECT_DOUBLE_EQ(fitScale(8192, 64, 512, 400), 512.0 / 8192);
  EXPECT_DOUBLE_EQ(fitScale(100, 100, 100, 100), 1);
  EXPECT_DOUBLE_EQ(fitScale(100, 100, 350, 500), 3);  // 3.5 fits; 3 is the whole step
  EXPECT_DOUBLE_EQ(fitScale(10, 10, 500, 500), 16);   // the largest step
  EXPECT_DOUBLE_EQ(fitScale(0, 10, 500, 500), 1);
  EXPECT_DOUBLE_EQ(fitScale(10, 10, 0, 500), 1);
}

TEST(PreviewView, WheelStepsThroughTheZoomsAndStopsAtTheEnds) {
  EXPECT_DOUBLE_EQ(wheelZoom(1, 1), 2);
  EXPECT_DOUBLE_EQ(wheelZoom(1, -1), 0.5);
  EXPECT_DOUBLE_EQ(wheelZoom(1, 3), 4);
  EXPECT_DOUBLE_EQ(wheelZoom(16, 1), 16);
  EXPECT_DOUBLE_EQ(wheelZoom(0.125, -2), 0.125);
  EXPECT_DOUBLE_EQ(wheelZoom(0.7, 1), 1);  // a fitted scale moves to its neighbour
  EXPECT_DOUBLE_EQ(wheelZoom(0.7, -1), 0.5);
  EXPECT_DOUBLE_EQ(wheelZoom(0.01, 1), 0.125);
  EXPECT_DOUBLE_EQ(wheelZoom(2, 0), 2);
}

TEST(PreviewView, ZoomAroundKeepsThePixelUnderThePointer) {
  const SheetView before = placedView({1, 0, 0}, 200, 100, 400, 300);
  EXPECT_EQ(before, (SheetView{1, 100, 100}));
  const SheetView after = zoomAround(before, 4, 150, 140);
  EXPECT_DOUBLE_EQ(after.scale, 4);
  // Sheet pixel (50, 40) stood at (150, 140) and still does.
  EXPECT_DOUBLE_EQ(after.left + 50 * 4, 150);
  EXPECT_DOUBLE_EQ(after.top + 40 * 4, 140);
  // Placed in the canvas it covers (800 x 400 in 400 x 300), it stays there.
  EXPECT_EQ(placedView(after, 200, 100, 400, 300), after);
  // Near an edge the canvas stays covered: pixel (50, 30) at (150, 130)
  // would leave 10 empty rows above the sheet.
  EXPECT_EQ(placedView(zoomAround(before, 4, 150, 130), 200, 100, 400, 300).top, 0);
}

TEST(PreviewView, ALongerSheetCoversTheCanvasAndAShorterOneIsCentred) {
  // 300 x 100 at 2 in 400 x 300: wider than the canvas, shorter than it.
  EXPECT_EQ(placedView({2, -100.4, 7}, 300, 100, 400, 300), (SheetView{2, -100, 50}));
  EXPECT_EQ(placedView({2, 30, 0}, 300, 100, 400, 300), (SheetView{2, 0, 50}));       // no gap left
  EXPECT_EQ(placedView({2, -900, 0}, 300, 100, 400, 300), (SheetView{2, -200, 50}));  // right
  EXPECT_EQ(placedView({0.5, -3, -3}, 301, 100, 400, 300), (SheetView{0.5, 125, 125}));
  EXPECT_EQ(scaledLength(301, 0.5), 150);
  EXPECT_EQ(scaledLength(8192, 512.0 / 8192), 512);
}

TEST(PreviewView, ScrollBarsAppearWhereTheSheetIsLongerAndMayCallForEachOther) {
  const Rect area{8, 44, 400, 300};
  EXPECT_EQ(previewLayout(area, 200, 150, 2, 16),
            (PreviewLayout{area, false, false}));  // fits exactly
  EXPECT_EQ(previewLayout(area, 100, 200, 2, 16),
            (PreviewLayout{{8, 44, 384, 300}, false, true}));  // taller: a bar at the right
  EXPECT_EQ(previewLayout(area, 201, 100, 2, 16),
            (PreviewLayout{{8, 44, 400, 284}, true, false}));  // wider: a bar underneath
  // Taller: a bar at the right leaves 384 columns, too few for 392: one underneath too.
  EXPECT_EQ(previewLayout(area, 392, 310, 1, 16), (PreviewLayout{{8, 44, 384, 284}, true, true}));
  // And the other way round: the bar underneath leaves 284 rows, too few for 290.
  EXPECT_EQ(previewLayout(area, 401, 290, 1, 16), (PreviewLayout{{8, 44, 384, 284}, true, true}));
  EXPECT_EQ(previewLayout(area, 390, 290, 1, 16), (PreviewLayout{area, false, false}));
  EXPECT_EQ(previewLayout(area, 384, 284, 1, 16), (PreviewLayout{area, false, false}));
}

TEST(PreviewView, PointsFindTheirFrameAtAnyZoom) {
  const FrameList frames = grid();
  const SheetView view{2, 5, 7};
  EXPECT_EQ(frameAtPoint(frames, view, 5, 7), 0);     // top-left pixel of a
  EXPECT_EQ(frameAtPoint(frames, view, 24, 46), 0);   // bottom-right pixel of a
  EXPECT_EQ(frameAtPoint(frames, view, 25, 7), 1);    // first pixel of b
  EXPECT_EQ(frameAtPoint(frames, view, 5, 47), 2);    // first pixel of c
  EXPECT_EQ(frameAtPoint(frames, view, 30, 60), -1);  // d did not decode
  EXPECT_EQ(frameAtPoint(frames, view, 4, 7), -1);    // left of the sheet
  EXPECT_EQ(frameAtPoint(frames, view, 45, 7), -1);   // right of it
  EXPECT_EQ(frameAtPoint(frames, view, -1, -1), -1);  // the pointer left
  EXPECT_EQ(frameAtPoint(frames, SheetView{0.5, 0, 0}, 7, 3), 1);
}

TEST(PreviewView, SheetPictureOutlinesDecodedFramesAndNamesTheHovered) {
  const SheetImage sheet{20, 40, std::make_shared<std::vector<std::uint8_t>>(20 * 40 * 4)};
  const CanvasPicture picture = sheetPicture(sheet, grid(), SheetView{2, 5, 7}, 2);
  EXPECT_EQ(picture.target, (Rect{5, 7, 40, 80}));
  EXPECT_EQ(picture.source, (Rect{0, 0, 20, 40}));
  EXPECT_TRUE(picture.checkerboard);
  ASSERT_EQ(picture.outlines.size(), 3u);
  EXPECT_EQ(picture.outlines[1], (Rect{25, 7, 20, 40}));
  EXPECT_EQ(picture.outlines[2], (Rect{5, 47, 20, 40}));
  EXPECT_EQ(picture.highlighted, 2);
  EXPECT_EQ(picture.caption, "c.png  (0, 20, 10 x 20)");
  EXPECT_EQ(picture.rgba, sheet.rgba);  // shared, not copied

  const CanvasPicture none = sheetPicture(sheet, grid(), SheetView{2, 5, 7}, -1);
  EXPECT_EQ(none.highlighted, -1);
  EXPECT_EQ(none.caption, "");
}

TEST(PreviewView, StripShowsOneFrameEnlargedByWholeMultiplesAndCentred) {
  const SheetImage sheet{20, 40, std::make_shared<std::vector<std::uint8_t>>(20 * 40 * 4)};
  const CanvasPicture picture = stripPicture(sheet, grid(), 1, 220, 220);
  EXPECT_EQ(picture.source, (Rect{10, 0, 10, 20}));
  EXPECT_EQ(picture.target, (Rect{55, 0, 110, 220}));  // 11 times, the height fills

  const FrameList big = {{1, "big.png", 0, 0, 440, 110}};
  const CanvasPicture shrunk = stripPicture(sheet, big, 0, 220, 220);  // half size
  EXPECT_EQ(shrunk.target, (Rect{0, 82, 220, 55}));

  EXPECT_EQ(stripPicture(sheet, grid(), 3, 220, 220).target, Rect{});  // not decoded
  EXPECT_EQ(stripPicture(sheet, grid(), 9, 220, 220).target, Rect{});
}

}  // namespace
}  // namespace oz
