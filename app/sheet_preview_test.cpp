#include "app/sheet_preview.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/window_fixture.h"
#include "sheet/png/png_write.h"

namespace oz {
namespace {

using std::chrono::milliseconds;

// Three 10 x 20 frames of different greys, built two to a row into a 20 x 40 sheet.
class SheetPreviewTest : public WindowFixture {
 protected:
  void build() {
    toolkit_.answerMessage(MessageResult::No);  // "Preview?": not the external viewer
    click(Control::Create);
  }

  void startAndBuild() {
    writeFrame("f1.png", 50);
    writeFrame("f2.png", 100);
    writeFrame("f3.png", 150);
    start();
    EXPECT_FALSE(toolkit_.menuItem(MenuItem::SheetPreview).enabled);
    toolkit_.type(Control::ColumnsField, "2");
    chooseFolderAndSheet(frames_, sheet_);
    build();
  }

  void openPreview() { menu(MenuItem::SheetPreview); }

  const CanvasPicture& sheetPicture() const {
    return toolkit_.control(Control::PreviewSheet).picture;
  }
  const CanvasPicture& stripPicture() const {
    return toolkit_.control(Control::PreviewStrip).picture;
  }
  // The canvas point over sheet pixel (x, y).
  void pointAtSheetPixel(int x, int y) {
    const Rect target = sheetPicture().target;
    toolkit_.movePointer(Control::PreviewSheet, target.x + x * target.width / 20,
                         target.y + y * target.height / 40);
    runQueued();
  }
  void tickAt(milliseconds elapsed) {
    now_ = opened_ + elapsed;
    toolkit_.fireTimer(Timer::PreviewPlay);
    runQueued();
  }
  std::string frameLabel() const { return toolkit_.text(Control::PreviewFrameLabel); }

  std::string sheet_ = temp_.path() + "sheet.png";
  std::chrono::steady_clock::time_point opened_;
};

TEST_F(SheetPreviewTest, WaitsForABuildThenShowsTheFileAsItIsNow) {
  startAndBuild();
  ASSERT_TRUE(toolkit_.menuItem(MenuItem::SheetPreview).enabled);

  // What is on disk is shown, not what the build held: write another image
  // of the same size in the sheet's place.
  RgbaImage red{20, 40, {}};
  for (int i = 0; i < 20 * 40; ++i) red.pixels.insert(red.pixels.end(), {255, 0, 0, 128});
  ASSERT_EQ(encodePng(red, sheet_), PngWriteStatus::Written);
  openPreview();
  ASSERT_TRUE(toolkit_.isWindowOpen(Window::SheetPreview));
  const CanvasPicture& picture = sheetPicture();
  ASSERT_EQ(picture.imageWidth, 20);
  ASSERT_EQ(picture.imageHeight, 40);
  EXPECT_EQ(*picture.rgba, red.pixels);
  EXPECT_TRUE(picture.checkerboard);
  EXPECT_EQ(picture.outlines.size(), 3u);
  // Fitted: the 20 x 40 sheet enlarged by a whole step and centred.
  const Rect area = toolkit_.geometry(Control::PreviewSheet);
  EXPECT_EQ(picture.target.width * 2, picture.target.height);
  EXPECT_LE(picture.target.height, area.height);
  EXPECT_GT(picture.target.height * 2, area.height / 2);
  EXPECT_EQ(picture.target.x, (area.width - picture.target.width) / 2);
}

TEST_F(SheetPreviewTest, HoverNamesTheFrameAndZoomFollowsTheButtonsAndTheWheel) {
  startAndBuild();
  openPreview();
  pointAtSheetPixel(15, 5);
  EXPECT_EQ(sheetPicture().caption, "f2.png  (10, 0, 10 x 20)");
  EXPECT_EQ(sheetPicture().highlighted, 1);
  pointAtSheetPixel(15, 25);  // the empty fourth cell
  EXPECT_EQ(sheetPicture().caption, "");
  toolkit_.movePointer(Control::PreviewSheet, -1, -1);
  runQueued();
  EXPECT_EQ(sheetPicture().highlighted, -1);

  click(Control::PreviewActualSize);
  EXPECT_EQ(toolkit_.text(Control::PreviewZoomLabel), "Zoom: 100 %");
  EXPECT_EQ(sheetPicture().target.width, 20);
  click(Control::PreviewDoubleSize);
  EXPECT_EQ(toolkit_.text(Control::PreviewZoomLabel), "Zoom: 200 %");
  EXPECT_EQ(sheetPicture().target.height, 80);

  // The wheel zooms around the pointer: the frame under it stays under it.
  pointAtSheetPixel(5, 25);
  const Rect pointer = sheetPicture().outlines[2];
  toolkit_.turnWheel(Control::PreviewSheet, 2);
  runQueued();
  EXPECT_EQ(toolkit_.text(Control::PreviewZoomLabel), "Zoom: 400 %");
  EXPECT_EQ(sheetPicture().highlighted, 2);
  const Rect zoomed = sheetPicture().outlines[2];
  EXPECT_EQ(zoomed.width, 40);
  EXPECT_LE(zoomed.x, pointer.x + 1);
  EXPECT_GE(zoomed.x + zoomed.width, pointer.x + pointer.width);

  // A resize keeps a chosen zoom; "Fit" follows the window again.
  toolkit_.resize(Window::SheetPreview, 1200, 900);
  EXPECT_EQ(toolkit_.text(Control::PreviewZoomLabel), "Zoom: 400 %");
  click(Control::PreviewFit);
  const std::string fitted = toolkit_.text(Control::PreviewZoomLabel);
  toolkit_.resize(Window::SheetPreview, 600, 420);
  EXPECT_NE(toolkit_.text(Control::PreviewZoomLabel), fitted);
}

// The 20 x 40 sheet at 1600 % is 320 x 640: taller than its canvas, so a
// bar at the right; in the smallest window wider too, so a bar underneath.
TEST_F(SheetPreviewTest, AZoomedSheetLargerThanTheCanvasScrollsAndKeepsItsHoverNames) {
  startAndBuild();
  openPreview();
  const Rect area = toolkit_.geometry(Control::PreviewSheet);
  EXPECT_FALSE(toolkit_.isVisible(Control::PreviewHorizontalScroll));
  EXPECT_FALSE(toolkit_.isVisible(Control::PreviewVerticalScroll));

  // The wheel with the pointer elsewhere zooms around the canvas's middle:
  // the sheet's pixel there (its middle, as fitted) stays there.
  toolkit_.turnWheel(Control::PreviewSheet, 10);
  runQueued();
  ASSERT_EQ(toolkit_.text(Control::PreviewZoomLabel), "Zoom: 1600 %");
  const Rect canvas = toolkit_.geometry(Control::PreviewSheet);
  EXPECT_EQ(canvas, (Rect{area.x, area.y, area.width - 16, area.height}));
  EXPECT_FALSE(toolkit_.isVisible(Control::PreviewHorizontalScroll));
  ASSERT_TRUE(toolkit_.isVisible(Control::PreviewVerticalScroll));
  const FakeControl& bar = toolkit_.control(Control::PreviewVerticalScroll);
  EXPECT_EQ(bar.rect, (Rect{canvas.x + canvas.width, canvas.y, 16, canvas.height}));
  EXPECT_EQ(bar.maximum, 640 - canvas.height);
  EXPECT_EQ(bar.page, canvas.height);
  const Rect zoomed = sheetPicture().target;
  EXPECT_EQ(zoomed.height, 640);
  EXPECT_EQ(bar.state, -zoomed.y);
  EXPECT_NEAR(zoomed.y + 320, area.height / 2, 1);  // the sheet's middle row

  // Scrolled to the top, the pointer over the left column names a; scrolled
  // to the bottom, the frame now under the unmoved pointer, c.
  toolkit_.scroll(Control::PreviewVerticalScroll, 0);
  runQueued();
  EXPECT_EQ(sheetPicture().target.y, 0);
  toolkit_.movePointer(Control::PreviewSheet, zoomed.x + 20, 300);
  runQueued();
  EXPECT_EQ(sheetPicture().caption, "f1.png  (0, 0, 10 x 20)");
  toolkit_.scroll(Control::PreviewVerticalScroll, 9999);  // kept within the range
  runQueued();
  EXPECT_EQ(bar.state, bar.maximum);
  EXPECT_EQ(sheetPicture().target.y + 640, canvas.height);
  EXPECT_EQ(sheetPicture().caption, "f3.png  (0, 20, 10 x 20)");

  // The wheel at the pointer keeps the sheet's pixel under it: scrolled by
  // 100, canvas row 280 shows sheet row 380 / 16, and still does at 1200 %.
  toolkit_.scroll(Control::PreviewVerticalScroll, 100);
  toolkit_.movePointer(Control::PreviewSheet, 200, 280);  // in the left column at both zooms
  runQueued();
  const double sheetRow = (280.0 - sheetPicture().target.y) / 16;
  EXPECT_DOUBLE_EQ(sheetRow, 23.75);
  toolkit_.turnWheel(Control::PreviewSheet, -1);
  runQueued();
  ASSERT_EQ(toolkit_.text(Control::PreviewZoomLabel), "Zoom: 1200 %");
  EXPECT_NEAR(sheetPicture().target.y + sheetRow * 12, 280, 1);
  EXPECT_EQ(toolkit_.state(Control::PreviewVerticalScroll), -sheetPicture().target.y);
  EXPECT_EQ(sheetPicture().caption, "f3.png  (0, 20, 10 x 20)");

  // The smallest window at 1600 %: wider and taller than the canvas.
  toolkit_.turnWheel(Control::PreviewSheet, 1);
  runQueued();
  toolkit_.resize(Window::SheetPreview, 520, 400);
  const Rect small = toolkit_.geometry(Control::PreviewSheet);
  ASSERT_TRUE(toolkit_.isVisible(Control::PreviewHorizontalScroll));
  ASSERT_TRUE(toolkit_.isVisible(Control::PreviewVerticalScroll));
  EXPECT_EQ(toolkit_.control(Control::PreviewHorizontalScroll).maximum, 320 - small.width);
  toolkit_.scroll(Control::PreviewHorizontalScroll, 5);
  runQueued();
  EXPECT_EQ(sheetPicture().target.x, -5);
  EXPECT_EQ(sheetPicture().target.y, -toolkit_.state(Control::PreviewVerticalScroll));
  EXPECT_EQ(toolkit_.control(Control::PreviewVerticalScroll).maximum, 640 - small.height);

  // "Fit" takes the bars away again.
  click(Control::PreviewFit);
  EXPECT_FALSE(toolkit_.isVisible(Control::PreviewHorizontalScroll));
  EXPECT_FALSE(toolkit_.isVisible(Control::PreviewVerticalScroll));
  EXPECT_EQ(toolkit_.geometry(Control::PreviewSheet).width, small.width + 16);
}

// Without animations, the one of every frame, named after the sheet, at the
// rate the script gives it.
TEST_F(SheetPreviewTest, PlaysTheFramesInOrderAtTheScriptsRateOrTheOneChosen) {
  startAndBuild();
  opened_ = now_;
  openPreview();
  EXPECT_EQ(toolkit_.control(Control::PreviewAnimation).entries, std::vector<std::string>{"sheet"});
  EXPECT_EQ(toolkit_.state(Control::PreviewRate), kSheetAnimationFrameRate);
  ASSERT_EQ(toolkit_.timers().count(Timer::PreviewPlay), 1u);
  EXPECT_EQ(toolkit_.timers().at(Timer::PreviewPlay).milliseconds, 100);
  EXPECT_TRUE(toolkit_.timers().at(Timer::PreviewPlay).repeating);
  EXPECT_EQ(frameLabel(), "Frame 1 of 3: f1.png");
  EXPECT_EQ(stripPicture().source, (Rect{0, 0, 10, 20}));

  tickAt(milliseconds(101));
  EXPECT_EQ(frameLabel(), "Frame 2 of 3: f2.png");
  EXPECT_EQ(stripPicture().source, (Rect{10, 0, 10, 20}));
  // A late timer skips to the frame of the time, and the loop starts over.
  tickAt(milliseconds(300));
  EXPECT_EQ(frameLabel(), "Frame 1 of 3: f1.png");
  tickAt(milliseconds(200));
  EXPECT_EQ(frameLabel(), "Frame 3 of 3: f3.png");
  EXPECT_EQ(stripPicture().source, (Rect{0, 20, 10, 20}));

  // Pause holds the frame; the rate chosen meanwhile takes over on Play.
  click(Control::PreviewPlay);
  EXPECT_EQ(toolkit_.text(Control::PreviewPlay), "Play");
  EXPECT_EQ(toolkit_.timers().count(Timer::PreviewPlay), 0u);
  toolkit_.setSpinValue(Control::PreviewRate, 1);
  runQueued();
  EXPECT_EQ(toolkit_.timers().count(Timer::PreviewPlay), 0u);
  click(Control::PreviewPlay);
  EXPECT_EQ(toolkit_.timers().at(Timer::PreviewPlay).milliseconds, 1000);
  opened_ = now_;
  tickAt(milliseconds(900));
  EXPECT_EQ(frameLabel(), "Frame 3 of 3: f3.png");
  tickAt(milliseconds(1000));
  EXPECT_EQ(frameLabel(), "Frame 1 of 3: f1.png");

  toolkit_.requestClose(Window::SheetPreview);
  runQueued();
  EXPECT_FALSE(toolkit_.isWindowOpen(Window::SheetPreview));
  EXPECT_EQ(toolkit_.timers().count(Timer::PreviewPlay), 0u);
}

// With animations by name prefix: the list offers them in the build's order
// and the chosen one plays alone, looping, at the script's rate; it stays
// chosen through a new build that still makes it, and a rate tried out here
// stays until the script's changes.
TEST_F(SheetPreviewTest, PlaysTheChosenAnimationAloneAndKeepsItThroughANewBuild) {
  testing::writeFile(support_.settingsPath(), "[Settings]\nAnimations = prefixes\n");
  writeFrame("walk_1.png", 50);
  writeFrame("idle.png", 100);
  writeFrame("walk_2.png", 150);
  start();
  toolkit_.type(Control::ColumnsField, "2");
  chooseFolderAndSheet(frames_, sheet_);
  build();
  opened_ = now_;
  openPreview();
  EXPECT_EQ(toolkit_.control(Control::PreviewAnimation).entries,
            (std::vector<std::string>{"idle", "walk"}));
  EXPECT_EQ(toolkit_.state(Control::PreviewRate), kAnimationsFrameRate);
  EXPECT_EQ(frameLabel(), "Frame 1 of 1: idle.png");

  choose(Control::PreviewAnimation, 1);
  EXPECT_EQ(frameLabel(), "Frame 1 of 2: walk_1.png");
  EXPECT_EQ(stripPicture().source, (Rect{10, 0, 10, 20}));  // after idle.png on the sheet
  const std::string walk2 = "Frame 2 of 2: walk_2.png";
  tickAt(milliseconds(84));
  EXPECT_EQ(frameLabel(), walk2);
  EXPECT_EQ(stripPicture().source, (Rect{0, 20, 10, 20}));
  tickAt(milliseconds(170));
  EXPECT_EQ(frameLabel(), "Frame 1 of 2: walk_1.png");

  toolkit_.setSpinValue(Control::PreviewRate, 30);
  runQueued();
  writeFrame("walk_3.png", 200);
  build();
  EXPECT_EQ(toolkit_.state(Control::PreviewAnimation), 1);
  EXPECT_EQ(frameLabel(), "Frame 1 of 3: walk_1.png");
  EXPECT_EQ(toolkit_.state(Control::PreviewRate), 30);
  menu(MenuItem::SheetOptions);
  toolkit_.setSpinValue(Control::FrameRate, 5);
  runQueued();
  build();
  EXPECT_EQ(toolkit_.state(Control::PreviewRate), 5);
  EXPECT_EQ(toolkit_.timers().at(Timer::PreviewPlay).milliseconds, 200);
}

TEST_F(SheetPreviewTest, ANewBuildReplacesTheShownSheetAndAVanishedOneIsReported) {
  startAndBuild();
  openPreview();
  writeFrame("f4.png", 200);
  build();
  EXPECT_EQ(sheetPicture().outlines.size(), 4u);
  EXPECT_EQ(frameLabel(), "Frame 1 of 4: f1.png");

  toolkit_.requestClose(Window::SheetPreview);
  runQueued();
  ASSERT_EQ(std::remove(sheet_.c_str()), 0);
  openPreview();
  EXPECT_FALSE(toolkit_.isWindowOpen(Window::SheetPreview));
  ASSERT_FALSE(toolkit_.messages().empty());
  EXPECT_EQ(toolkit_.messages().back().title, "Sheet Preview");
  EXPECT_NE(toolkit_.messages().back().text.find(sheet_), std::string::npos);

  // A file of another size is no longer the sheet the frames were placed on.
  RgbaImage small{4, 4, std::vector<uint8_t>(4 * 4 * 4, 9)};
  ASSERT_EQ(encodePng(small, sheet_), PngWriteStatus::Written);
  openPreview();
  EXPECT_FALSE(toolkit_.isWindowOpen(Window::SheetPreview));
}

}  // namespace
}  // namespace oz
