#include "app/preview_view.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

using std::chrono::milliseconds;

// A 2 x 2 grid of 10 x 20 frames, the last one not decoded.
FrameList grid() {
  return {{1, "a.png", 0, 0, 10, 20, 0, 0, 10, 20},
          {2, "b.png", 10, 0, 10, 20, 0, 0, 10, 20},
          {3, "c.png", 0, 20, 10, 20, 0, 0, 10, 20},
          {4, "d.png", 10, 20, 0, 0}};
}

// A 5 x 4 sheet whose every pixel holds its own place: red x, green y.
SheetImage numberedSheet() {
  auto pixels = std::make_shared<std::vector<std::uint8_t>>();
  for (uint8_t y = 0; y < 4; ++y) {
    for (uint8_t x = 0; x < 5; ++x) pixels->insert(pixels->end(), {x, y, 7, 255});
  }
  return {5, 4, pixels};
}

// The place on the sheet that pixel (x, y) of an upright image came from,
// or {-1, -1} for a clear pixel.
std::pair<int, int> cameFrom(const SheetImage& image, int x, int y) {
  const uint8_t* p = &(*image.rgba)[(size_t(y) * image.width + x) * 4];
  if (p[3] == 0) return {-1, -1};
  return {p[0], p[1]};
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
  EXPECT_DOUBLE_EQ(stripScale(10, 20, 220, 220), 11);  // the height fills
  EXPECT_DOUBLE_EQ(stripScale(440, 110, 220, 220), 0.5);
  const CanvasPicture picture = stripPicture(sheet, grid()[1], Turn::Clockwise, 11, 220, 220);
  EXPECT_EQ(picture.source, (Rect{10, 0, 10, 20}));
  EXPECT_EQ(picture.target, (Rect{55, 0, 110, 220}));
  EXPECT_EQ(picture.rgba, sheet.rgba);  // a whole upright frame is drawn from the sheet

  const FrameEntry big{1, "big.png", 0, 0, 440, 110, 0, 0, 440, 110};
  EXPECT_EQ(stripPicture(sheet, big, Turn::Clockwise, 0.5, 220, 220).target,
            (Rect{0, 82, 220, 55}));
  EXPECT_EQ(stripPicture(sheet, grid()[3], Turn::Clockwise, 11, 220, 220).target,
            Rect{});  // not decoded
}

// A trimmed frame is drawn at its source size, its stored pixels at their
// offset, so it stands where its untrimmed neighbours stand.
TEST(PreviewView, ATrimmedFrameStandsAtItsOffsetInItsSourceSize) {
  const FrameEntry trimmed{1, "t.png", 1, 1, 3, 2, 2, 5, 8, 9};
  EXPECT_EQ(frameCaption(trimmed), "t.png  (1, 1, 3 x 2, of 8 x 9)");
  const SheetImage upright = uprightFrame(numberedSheet(), trimmed, Turn::Clockwise);
  ASSERT_EQ(upright.width, 8);
  ASSERT_EQ(upright.height, 9);
  EXPECT_EQ(cameFrom(upright, 2, 5), (std::pair{1, 1}));
  EXPECT_EQ(cameFrom(upright, 4, 6), (std::pair{3, 2}));
  EXPECT_EQ(cameFrom(upright, 1, 5), (std::pair{-1, -1}));
  EXPECT_EQ(cameFrom(upright, 5, 5), (std::pair{-1, -1}));
  EXPECT_EQ(cameFrom(upright, 2, 7), (std::pair{-1, -1}));

  const CanvasPicture picture =
      stripPicture(numberedSheet(), trimmed, Turn::Clockwise, 10, 100, 100);
  EXPECT_EQ(picture.target, (Rect{10, 5, 80, 90}));  // the source size, centred
  EXPECT_EQ(picture.source, (Rect{0, 0, 8, 9}));
  EXPECT_EQ(*picture.rgba, *upright.rgba);
}

// Stored turned, a 3 x 2 frame covers 2 x 3 of the sheet from (1, 0): its
// outline is that, and it comes back upright either way it was turned.
TEST(PreviewView, ATurnedFrameIsOutlinedAsItLiesAndPlaysUpright) {
  const FrameEntry turned{1, "r.png", 1, 0, 3, 2, 0, 0, 3, 2, true};
  EXPECT_EQ(canvasRect(turned, SheetView{2, 0, 0}), (Rect{2, 0, 4, 6}));
  EXPECT_EQ(frameAtPoint({turned}, SheetView{1, 0, 0}, 2, 2), 0);
  EXPECT_EQ(frameAtPoint({turned}, SheetView{1, 0, 0}, 3, 0), -1);
  EXPECT_EQ(frameCaption(turned), "r.png  (1, 0, 3 x 2, turned)");

  // Clockwise the frame's bottom-left pixel landed at (1, 0), its top-left
  // at (2, 0); anticlockwise its top-right at (1, 0), its top-left at (1, 2).
  const SheetImage clockwise = uprightFrame(numberedSheet(), turned, Turn::Clockwise);
  ASSERT_EQ(clockwise.width, 3);
  ASSERT_EQ(clockwise.height, 2);
  EXPECT_EQ(cameFrom(clockwise, 0, 1), (std::pair{1, 0}));
  EXPECT_EQ(cameFrom(clockwise, 0, 0), (std::pair{2, 0}));
  EXPECT_EQ(cameFrom(clockwise, 2, 0), (std::pair{2, 2}));
  const SheetImage anticlockwise = uprightFrame(numberedSheet(), turned, Turn::Anticlockwise);
  EXPECT_EQ(cameFrom(anticlockwise, 2, 0), (std::pair{1, 0}));
  EXPECT_EQ(cameFrom(anticlockwise, 0, 0), (std::pair{1, 2}));
  EXPECT_EQ(cameFrom(anticlockwise, 0, 1), (std::pair{2, 2}));
  EXPECT_EQ(*stripPicture(numberedSheet(), turned, Turn::Anticlockwise, 1, 3, 2).rgba,
            *anticlockwise.rgba);
}

}  // namespace
}  // namespace oz
