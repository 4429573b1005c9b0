#include "sheet/header_layout.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <variant>

#include "sheet/build_outcome_fixtures.h"
#include "sheet/png/test_fixtures.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

class HeaderLayoutTest : public ::testing::Test {
 protected:
  HeaderLayoutTest() {
    mkdir(folder_.c_str(), 0700);
    options_.imageFolder = folder_;
    options_.savePath = dir_.path() + "walk.png";
    options_.packed = true;
  }

  // Frames of many sizes, wide and tall, so that some pack tighter turned.
  void writeFrames() {
    for (int i = 0; i < 9; ++i) {
      testing::writeFrame(folder_ + "f" + std::to_string(i) + ".png",
                          testing::solidImage(6 + i * 7 % 29, 30 - i * 3, {9, 9, 9, 255}));
    }
  }

  // The build's sheets, as a packed build with these options writes them.
  std::vector<BuiltSheet> built() const { return testing::builtSheets(options_).sheets; }

  testing::ScopedTempDir dir_;
  std::string folder_ = dir_.path() + "frames/";
  BuildOptions options_;
};

// The Script Preview and the sheets found after a restart rely on it: from
// the headers alone, untrimmed frames are packed where the build packs them,
// turned and shared out onto numbered sheets alike.
TEST_F(HeaderLayoutTest, PackedFramesLieWhereThePackedBuildPutsThem) {
  writeFrames();
  options_.spacing = 1;
  options_.border = 2;
  options_.extrude = 1;
  options_.rotate = true;
  options_.multipack = true;
  for (const bool square : {false, true}) {
    options_.square = square;
    options_.powerOf2 = square;
    options_.maxSize = square ? 64 : 48;
    SCOPED_TRACE(square);
    const std::vector<BuiltSheet> sheets = built();
    const HeaderLayout layout = layOutFromHeaders(options_);
    EXPECT_EQ(layout.problem, LayoutProblem::None);
    ASSERT_GT(sheets.size(), 1u);
    ASSERT_EQ(layout.sheets.size(), sheets.size());
    bool turned = false;
    for (size_t s = 0; s < sheets.size(); ++s) {
      EXPECT_EQ(layout.sheets[s].path, sheets[s].path);
      EXPECT_EQ(layout.sheets[s].width, sheets[s].width);
      EXPECT_EQ(layout.sheets[s].height, sheets[s].height);
      EXPECT_EQ(layout.sheets[s].frames, sheets[s].frames);
      for (const FrameEntry& frame : sheets[s].frames) turned = turned || frame.rotated;
    }
    EXPECT_TRUE(turned) << "no frame was turned: the case tests less than it says";
  }
}

// Where the build refuses, the layout says so and keeps one sheet, so that
// a preview still has frames to expand against.
TEST_F(HeaderLayoutTest, PackedFramesThatDoNotFitAreTooLargeOnOneSheet) {
  writeFrames();
  options_.maxSize = 48;  // too small for one sheet
  EXPECT_TRUE(std::holds_alternative<BuildRefusal>(buildSheet(options_)));
  HeaderLayout layout = layOutFromHeaders(options_);
  EXPECT_EQ(layout.problem, LayoutProblem::TooLarge);
  ASSERT_EQ(layout.sheets.size(), 1u);
  EXPECT_EQ(layout.sheets[0].frames.size(), 9u);
  EXPECT_EQ(layout.sheets[0].path, options_.savePath);

  options_.maxSize = 20;  // narrower than the tallest frame, even with multipack
  options_.multipack = true;
  EXPECT_EQ(layOutFromHeaders(options_).problem, LayoutProblem::TooLarge);

  options_.imageFolder = dir_.path();  // no frames
  layout = layOutFromHeaders(options_);
  EXPECT_EQ(layout.problem, LayoutProblem::Empty);
  EXPECT_EQ(layout.sheets.size(), 1u);
}

}  // namespace
}  // namespace oz
