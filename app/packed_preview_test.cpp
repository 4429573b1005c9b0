// The Sheet Preview of packed sheets, built for real through the window:
// trimmed and turned frames outlined as they lie and played upright at
// their source size, several sheets to choose from, and after a restart the
// packed sheets found again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "app/sheet_on_disk.h"
#include "app/window_fixture.h"
#include "sheet/frame_scan.h"
#include "sheet/png/rgba_image.h"

namespace oz {
namespace {

using std::chrono::milliseconds;

// Frames of many sizes with clear margins of their own, each pixel inside
// them a colour of its own place, opaque or translucent.
RgbaImage marginedFrame(int width, int height, int seed) {
  RgbaImage image{width, height, std::vector<uint8_t>(size_t(width) * height * 4, 0)};
  // Wide margins: trimmed, the frames are much smaller than their sources.
  for (int y = height / 5 + seed % 3; y < height - 1; ++y) {
    for (int x = width / 5 + seed % 2; x < width - width / 6 - seed % 4; ++x) {
      uint8_t* p = image.pixel(x, y);
      p[0] = static_cast<uint8_t>(x * 9 + seed);
      p[1] = static_cast<uint8_t>(y * 13);
      p[2] = static_cast<uint8_t>(seed * 40);
      p[3] = (x + y) % 3 == 0 ? 128 : 255;
    }
  }
  return image;
}

// The pixels a picture draws: its source part of its image.
std::vector<uint8_t> drawnPixels(const CanvasPicture& picture) {
  std::vector<uint8_t> pixels;
  const Rect& r = picture.source;
  for (int y = r.y; y < r.y + r.height; ++y) {
    const auto row = picture.rgba->begin() + (size_t(y) * picture.imageWidth + r.x) * 4;
    pixels.insert(pixels.end(), row, row + size_t(r.width) * 4);
  }
  return pixels;
}

class PackedPreviewTest : public WindowFixture {
 protected:
  // Seven small frames, one sheet's worth; `scale` times larger, more.
  void writeFrames(int scale = 1) {
    const int sizes[][2] = {{40, 14}, {14, 38}, {22, 22}, {10, 36}, {36, 10}, {18, 30}, {30, 12}};
    for (int i = 0; i < 7; ++i) {
      const RgbaImage image = marginedFrame(sizes[i][0] * scale, sizes[i][1] * scale, i);
      const std::string name = "p" + std::to_string(i) + ".png";
      writeFrame(name, image);
      sources_[name] = image;
    }
  }

  // Packed, trimmed if asked, turned where that packs tighter, onto 1,024-pixel
  // sheets, the options window closed again.
  void choosePacked(bool trim) {
    menu(MenuItem::SheetOptions);
    choose(Control::Layout, 1);
    if (trim) click(Control::TrimTransparentEdges);
    click(Control::AllowRotation);
    click(Control::SeveralSheets);
    choose(Control::LargestSheetSize, 0);
    toolkit_.requestClose(Window::SheetOptions);
    runQueued();
  }

  void build() {
    toolkit_.answerMessage(MessageResult::No);
    click(Control::Create);
  }

  // Each frame of the play order: its name shown beside the strip, and the
  // strip's pixels the source frame's as a straight-alpha sheet stores them.
  void expectEveryFramePlaysUpright() {
    const std::vector<std::string> order = scanFrames(frames_);
    ASSERT_EQ(order.size(), sources_.size());
    // One scale for all, the largest source size's: no frame jumps.
    int largestWidth = 0;
    int largestHeight = 0;
    for (const auto& [name, source] : sources_) {
      largestWidth = std::max(largestWidth, source.width);
      largestHeight = std::max(largestHeight, source.height);
    }
    const Rect area = toolkit_.geometry(Control::PreviewStrip);
    const double scale = stripScale(largestWidth, largestHeight, area.width, area.height);
    const auto opened = now_;
    for (size_t i = 0; i < order.size(); ++i) {
      SCOPED_TRACE(order[i]);
      now_ = opened + milliseconds(100 * i);  // 10 frames a second, as the script gives
      toolkit_.fireTimer(Timer::PreviewPlay);
      runQueued();
      EXPECT_TRUE(toolkit_.text(Control::PreviewFrameLabel)
                      .starts_with("Frame " + std::to_string(i + 1) + " of 7: " + order[i]))
          << toolkit_.text(Control::PreviewFrameLabel);
      const CanvasPicture& strip = toolkit_.control(Control::PreviewStrip).picture;
      RgbaImage expected = sources_.at(order[i]);
      for (size_t p = 0; p < expected.pixels.size(); p += 4) {
        if (expected.pixels[p + 3] == 0) std::fill_n(&expected.pixels[p], 3, 0);
      }
      ASSERT_EQ(strip.source.width, expected.width);
      ASSERT_EQ(strip.source.height, expected.height);
      EXPECT_EQ(drawnPixels(strip), expected.pixels);
      EXPECT_EQ(strip.target.width, static_cast<int>(std::floor(expected.width * scale)));
      EXPECT_EQ(strip.target.height, static_cast<int>(std::floor(expected.height * scale)));
    }
  }

  const CanvasPicture& sheetPicture() const {
    return toolkit_.control(Control::PreviewSheet).picture;
  }

  std::string sheet_ = temp_.path() + "walk.png";
  std::map<std::string, RgbaImage> sources_;
};

// One sheet: every cell outlined as it lies (a turned one height x width),
// no sheet to choose, and each frame played upright, untrimmed, both ways a
// template may read turned frames.
TEST_F(PackedPreviewTest, TurnedAndTrimmedFramesPlayAsTheirSourceFrames) {
  writeFrames();
  addScript("Anticlockwise",
            "ov.Extension = \"Clipboard\"\nov.Repeat\nov.ImageRotatedAnticlockwise\n"
            "ov.Until = ov.ImageCount\n");
  start();
  choosePacked(true);
  chooseFolderAndSheet(frames_, sheet_);
  build();
  menu(MenuItem::SheetPreview);
  ASSERT_TRUE(toolkit_.isWindowOpen(Window::SheetPreview));
  EXPECT_FALSE(toolkit_.isVisible(Control::PreviewSheetChoice));
  EXPECT_FALSE(toolkit_.isVisible(Control::PreviewSheetChoiceLabel));
  // The same build again, for where the frames lie.
  BuildOptions again = window_.buildOptions();
  again.savePath = temp_.path() + "again.png";
  const BuildOutcome outcome = buildSheet(again);
  ASSERT_TRUE(std::holds_alternative<BuiltSheets>(outcome));
  const FrameList& frames = std::get<BuiltSheets>(outcome).sheets.at(0).frames;
  const CanvasPicture& sheet = sheetPicture();
  const SheetView view{double(sheet.target.width) / sheet.imageWidth, double(sheet.target.x),
                       double(sheet.target.y)};
  ASSERT_EQ(sheet.outlines.size(), frames.size());
  bool turned = false;
  for (size_t i = 0; i < frames.size(); ++i) {
    SCOPED_TRACE(frames[i].name);
    const Rect outline = sheet.outlines[i];
    const int64_t across = frames[i].rotated ? frames[i].height : frames[i].width;
    EXPECT_EQ(outline, canvasRect(frames[i], view));
    EXPECT_EQ(outline.width, std::lround(double(across) * view.scale));
    toolkit_.movePointer(Control::PreviewSheet, outline.x + outline.width / 2,
                         outline.y + outline.height / 2);
    runQueued();
    EXPECT_EQ(sheetPicture().caption, frameCaption(frames[i]));
    EXPECT_TRUE(frames[i].trimmed());
    turned = turned || frames[i].rotated;
  }
  EXPECT_TRUE(turned) << "no frame was turned: the case tests less than it says";
  EXPECT_FALSE(sheetOnDisk(window_.buildOptions())) << "trimmed frames are not found from headers";
  expectEveryFramePlaysUpright();

  // Anticlockwise, the way the chosen template's engine reads them.
  choose(Control::ScriptList, 1);
  build();
  expectEveryFramePlaysUpright();
}

// Several sheets: a list chooses the one shown, the strip plays the frames
// of all of them in the folder's order, and after a restart all of them are
// found again from the frames' headers.
TEST_F(PackedPreviewTest, SeveralSheetsAreChosenInTurnAndPlayedAsOne) {
  writeFrames(20);  // far more than one 1,024-pixel sheet holds
  start();
  choosePacked(false);
  chooseFolderAndSheet(frames_, sheet_);
  build();
  BuildOptions again = window_.buildOptions();
  again.savePath = temp_.path() + "again.png";
  const BuildOutcome outcome = buildSheet(again);
  ASSERT_TRUE(std::holds_alternative<BuiltSheets>(outcome));
  const std::vector<BuiltSheet>& sheets = std::get<BuiltSheets>(outcome).sheets;
  ASSERT_GT(sheets.size(), 1u);
  const std::string count = std::to_string(sheets.size());

  menu(MenuItem::SheetPreview);
  ASSERT_TRUE(toolkit_.isVisible(Control::PreviewSheetChoice));
  EXPECT_EQ(toolkit_.text(Control::PreviewSheetChoiceLabel), "Sheet:");
  const std::vector<std::string>& entries = toolkit_.control(Control::PreviewSheetChoice).entries;
  ASSERT_EQ(entries.size(), sheets.size());
  EXPECT_EQ(entries[0], "1 of " + count + ": walk-1.png");
  EXPECT_EQ(entries[1], "2 of " + count + ": walk-2.png");
  EXPECT_EQ(toolkit_.state(Control::PreviewSheetChoice), 0);
  EXPECT_EQ(sheetPicture().imageWidth, sheets[0].width);
  EXPECT_EQ(sheetPicture().outlines.size(), sheets[0].frames.size());

  choose(Control::PreviewSheetChoice, 1);
  EXPECT_EQ(sheetPicture().imageWidth, sheets[1].width);
  EXPECT_EQ(sheetPicture().imageHeight, sheets[1].height);
  ASSERT_EQ(sheetPicture().outlines.size(), sheets[1].frames.size());
  const Rect first = sheetPicture().outlines[0];
  toolkit_.movePointer(Control::PreviewSheet, first.x + first.width / 2,
                       first.y + first.height / 2);
  runQueued();
  EXPECT_EQ(sheetPicture().caption, frameCaption(sheets[1].frames[0]));
  expectEveryFramePlaysUpright();
  // The label says where the last frame played lies.
  const std::string last = scanFrames(frames_).back();
  for (size_t s = 0; s < sheets.size(); ++s) {
    for (const FrameEntry& frame : sheets[s].frames) {
      if (frame.name != last) continue;
      EXPECT_EQ(toolkit_.text(Control::PreviewFrameLabel),
                "Frame 7 of 7: " + last + "\nOn sheet " + std::to_string(s + 1) + " of " + count);
    }
  }

  // After a restart, from the headers: every sheet, its frames where the build put them.
  const std::optional<WrittenSheets> found = sheetOnDisk(window_.buildOptions());
  ASSERT_TRUE(found);
  ASSERT_EQ(found->sheets.size(), sheets.size());
  for (size_t s = 0; s < sheets.size(); ++s) {
    EXPECT_EQ(found->sheets[s].path, temp_.path() + "walk-" + std::to_string(s + 1) + ".png");
    EXPECT_EQ(found->sheets[s].frames, sheets[s].frames);
    EXPECT_EQ(found->sheets[s].animations,
              (AnimationList{{"walk-" + std::to_string(s + 1), 0, sheets[s].frames.size()}}));
  }
  std::vector<std::string> played;
  for (const FrameRef& ref : found->playOrder) {
    played.push_back(found->sheets[ref.sheet].frames[ref.frame].name);
  }
  EXPECT_EQ(played, scanFrames(frames_));
}

}  // namespace
}  // namespace oz
