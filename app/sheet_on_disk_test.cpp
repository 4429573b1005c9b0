#include "app/sheet_on_disk.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <variant>
#include <vector>

#include "app/window_fixture.h"
#include "sheet/png/png_write.h"

namespace oz {
namespace {

// Three 10 x 20 frames built two to a row into a 20 x 40 sheet by an earlier run.
class SheetOnDiskTest : public WindowFixture {
 protected:
  SheetOnDiskTest() {
    for (const char* name : {"f1.png", "f2.png", "f3.png"}) writeFrame(name);
    built_.columns = "2";
    built_.imageFolder = frames_;
    built_.savePath = sheet_;
    EXPECT_TRUE(std::holds_alternative<BuiltSheets>(buildSheet(built_)));
  }

  std::string sheet_ = temp_.path() + "sheet.png";
  BuildOptions built_;
};

TEST_F(SheetOnDiskTest, AfterARestartOpenRecentBringsBackTheSheetForThePreview) {
  testing::writeFile(support_.settingsPath(),
                     "[Settings]\nColumns = 2\n[Recent Folders]\nFolder 1 = " + frames_ +
                         "\nSheet 1 = " + sheet_ + "\n");
  start();
  EXPECT_FALSE(toolkit_.isMenuItemEnabled(MenuItem::SheetPreview));
  menu(MenuItem::FirstRecentFolder);
  ASSERT_TRUE(toolkit_.isMenuItemEnabled(MenuItem::SheetPreview));
  menu(MenuItem::SheetPreview);
  ASSERT_TRUE(toolkit_.isWindowOpen(Window::SheetPreview));
  const CanvasPicture& shown = toolkit_.control(Control::PreviewSheet).picture;
  EXPECT_EQ(shown.imageWidth, 20);
  EXPECT_EQ(shown.imageHeight, 40);
  EXPECT_EQ(shown.outlines.size(), 3u);
  EXPECT_EQ(toolkit_.text(Control::PreviewFrameLabel), "Frame 1 of 3: f1.png");
  EXPECT_TRUE(toolkit_.messages().empty());
}

TEST_F(SheetOnDiskTest, FindsTheFramesAsTheBuildPlacedThem) {
  const std::optional<WrittenSheets> found = sheetOnDisk(built_);
  ASSERT_TRUE(found.has_value());
  ASSERT_EQ(found->sheets.size(), 1u);
  EXPECT_EQ(found->sheets[0].path, sheet_);
  const FrameList& frames = found->sheets[0].frames;
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[2].name, "f3.png");
  EXPECT_EQ(frames[2].x, 0);
  EXPECT_EQ(frames[2].y, 20);
}

// Outlines that may not be the sheet's frames are worse than waiting for a build.
TEST_F(SheetOnDiskTest, NothingWhereTheFileIsNotTheSheetTheseOptionsBuild) {
  BuildOptions otherColumns = built_;
  otherColumns.columns = "3";  // 30 x 20, not the file's 20 x 40
  BuildOptions shared = built_;
  shared.dedupe = true;
  BuildOptions missing = built_;
  missing.savePath = temp_.path() + "gone.png";
  BuildOptions noPng = built_;
  noPng.savePath = temp_.path() + "text.png";
  testing::writeFile(noPng.savePath, "not a PNG");
  BuildOptions taller = built_;  // as wide as the sheet, not as high
  taller.savePath = temp_.path() + "taller.png";
  ASSERT_EQ(encodePng(RgbaImage{20, 60, std::vector<uint8_t>(20 * 60 * 4)}, taller.savePath),
            PngWriteStatus::Written);
  BuildOptions noFrames = built_;
  noFrames.imageFolder = temp_.path() + "empty/";
  mkdir(noFrames.imageFolder.c_str(), 0700);
  for (const BuildOptions& options : {otherColumns, shared, missing, noPng, taller, noFrames}) {
    EXPECT_FALSE(sheetOnDisk(options).has_value()) << options.savePath << " " << options.columns;
  }
}

}  // namespace
}  // namespace oz
