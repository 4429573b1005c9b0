// Builds with animations: the frames each layout places, the animations each
// sheet holds, what the build tells, and what it refuses before writing.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "sheet/build_outcome_fixtures.h"
#include "sheet/build_sheet.h"
#include "sheet/header_layout.h"
#include "sheet/png/png_read.h"
#include "sheet/png/test_fixtures.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using testing::pixelAt;
using testing::solidImage;

class BuildAnimationsTest : public ::testing::Test {
 protected:
  BuildAnimationsTest() {
    mkdir(folder().c_str(), 0755);
    options_.savePath = dir_.path() + "sheet.png";
    options_.imageFolder = folder();
    options_.animations = AnimationSource::Folders;
  }

  std::string folder() const { return dir_.path() + "hero/"; }
  // Frame `path` (under the folder), 8 x 8 of one red level.
  void frame(const std::string& path, uint8_t red, int32_t height = 8) {
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos) mkdir((folder() + path.substr(0, slash)).c_str(), 0755);
    testing::writeFrame(folder() + path, solidImage(8, height, {red, 0, 0, 255}));
  }
  BuiltSheets built() const { return testing::builtSheets(options_); }
  // Refused, with nothing written.
  BuildRefusal refused() const {
    const BuildRefusal refusal = testing::buildRefusal(options_);
    EXPECT_FALSE(testing::fileExists(options_.savePath));
    return refusal;
  }

  testing::ScopedTempDir dir_;
  BuildOptions options_;
};

TEST_F(BuildAnimationsTest, SubfoldersBecomeAnimationsOfOneSheet) {
  frame("walk/w1.png", 10);
  frame("walk/w2.png", 20);
  frame("run/r1.png", 30);
  frame("idle.png", 40);
  mkdir((folder() + "empty").c_str(), 0755);
  options_.columns = "2";
  const BuiltSheets sheets = built();
  ASSERT_EQ(sheets.sheets.size(), 1U);
  const BuiltSheet& sheet = sheets.sheets[0];
  ASSERT_EQ(sheet.frames.size(), 4U);
  EXPECT_EQ(sheet.frames[1].name, "run/r1.png");
  EXPECT_EQ(sheet.frames[3].name, "walk/w2.png");
  EXPECT_EQ(sheet.animations, (AnimationList{{"hero", 0, 1}, {"run", 1, 1}, {"walk", 2, 2}}));
  EXPECT_EQ(sheets.notes, (std::vector<BuildNote>{{BuildNoteKind::EmptySubfolders, {"empty"}}}));
  // Each frame is drawn from its own file, in its place.
  const std::optional<RgbaImage> image = decodePng(options_.savePath);
  ASSERT_TRUE(image);
  const uint8_t reds[] = {40, 30, 10, 20};
  for (size_t i = 0; i < sheet.frames.size(); ++i) {
    const FrameEntry& f = sheet.frames[i];
    EXPECT_EQ(pixelAt(*image, static_cast<int32_t>(f.x), static_cast<int32_t>(f.y))[0], reds[i])
        << f.name;
  }
  // The Script Preview's layout finds the same animations from the headers.
  EXPECT_EQ(layOutFromHeaders(options_).sheets[0].animations, sheet.animations);
}

TEST_F(BuildAnimationsTest, WithoutAnOptionTheSheetHoldsOneAnimationNamedAfterIt) {
  frame("a.png", 1);
  frame("b.png", 2);
  frame("walk/w1.png", 3);
  options_.animations = AnimationSource::None;
  options_.savePath = dir_.path() + "walk.sheet.png";
  const BuiltSheets sheets = built();
  EXPECT_EQ(sheets.sheets[0].frames.size(), 2U);
  EXPECT_EQ(sheets.sheets[0].animations, (AnimationList{{"walk.sheet", 0, 2}}));
  EXPECT_TRUE(sheets.notes.empty());
  EXPECT_EQ(layOutFromHeaders(options_).sheets[0].animations, sheets.sheets[0].animations);
}

// Refused before a frame is read, so nothing is written (names equal in a
// script's form: the command line's run).
TEST_F(BuildAnimationsTest, NamesTheScriptCouldNotTellApartAreRefused) {
  frame("own.png", 1);
  frame("hero/h1.png", 2);
  const BuildRefusal refusal = refused();
  EXPECT_EQ(refusal.problem, BuildProblem::AnimationNamesClash);
  EXPECT_EQ(refusal.cause, RefusalCause(AnimationNameClash{"hero", "hero", "", "hero"}));
}

// Packing takes every animation's frames together; with several sheets each
// holds the parts of the animations that landed on it.
TEST_F(BuildAnimationsTest, PackedSheetsEachHoldTheirPartsOfTheAnimations) {
  for (int i = 1; i <= 4; ++i) frame("walk/w" + std::to_string(i) + ".png", 10, 20 + i);
  for (int i = 1; i <= 3; ++i) frame("run/r" + std::to_string(i) + ".png", 20, 20 + i);
  options_.packed = true;
  options_.multipack = true;
  options_.maxSize = 32;
  const BuiltSheets sheets = built();
  ASSERT_GE(sheets.sheets.size(), 2U);
  std::vector<std::string> names;
  size_t parts = 0;
  for (const BuiltSheet& sheet : sheets.sheets) {
    parts += sheet.animations.size();
    size_t next = 0;
    for (const Animation& animation : sheet.animations) {
      EXPECT_EQ(animation.first, next);  // runs that cover the sheet's list in order
      next += animation.count;
      for (size_t k = animation.first; k < animation.first + animation.count; ++k) {
        EXPECT_EQ(sheet.frames[k].name.substr(0, animation.name.size() + 1), animation.name + "/");
        names.push_back(sheet.frames[k].name);
      }
    }
    EXPECT_EQ(next, sheet.frames.size());
  }
  EXPECT_GT(parts, 2U);  // an animation that spans two sheets, and the build says so
  ASSERT_EQ(sheets.notes.size(), 1U);
  EXPECT_EQ(sheets.notes[0].kind, BuildNoteKind::SplitAnimations);
  EXPECT_FALSE(sheets.notes[0].names.empty());
  options_.maxSize = 8192;
  EXPECT_TRUE(built().notes.empty());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names,
            (std::vector<std::string>{"run/r1.png", "run/r2.png", "run/r3.png", "walk/w1.png",
                                      "walk/w2.png", "walk/w3.png", "walk/w4.png"}));
}

}  // namespace
}  // namespace oz
