#include "store/sprite_settings.h"

#include <gtest/gtest.h>

#include "testsupport/temp_dir.h"

namespace oz {
namespace {

// A store opened on a file holding `text`.
class SpriteSettingsTest : public ::testing::Test {
 protected:
  SpriteOptions read(const std::string& text) {
    testing::writeFile(path_, text);
    store_.open(path_);
    return readSpriteSettings(store_);
  }

  testing::ScopedTempDir dir_;
  std::string path_ = dir_.path() + "OrvaneZozivi.prefs";
  SettingsStore store_;
};

TEST_F(SpriteSettingsTest, FlagsAreSetOnlyByOne) {
  // No "Pink" key: black.
  EXPECT_EQ(
      read("[Settings]\nStrip = yes\nDithering = 1\nRetina = 2\nPower of 2 = 1\nColumns = 12 \t\n"),
      (SpriteOptions{.columns = "12", .dithering = true, .powerOf2 = true}));
  EXPECT_TRUE(read("[settings]\nSTRIP=1\nPink=1\n").strip);
  // An old file's background brings no transparency and straight alpha.
  EXPECT_EQ(read("[settings]\nPink=1\n"), (SpriteOptions{.pink = true}));
  // The options window's two flags, at a depth where "Transparent" does nothing.
  EXPECT_EQ(read("[Settings]\nTransparent = 1\nPremultiplied Alpha = 2\n"),
            (SpriteOptions{.transparent = true}));
  EXPECT_TRUE(read("[Settings]\npremultiplied alpha = 1\n").premultipliedAlpha);
}

TEST_F(SpriteSettingsTest, DepthAndNumberReadAsTheControlsWouldShowThem) {
  EXPECT_EQ(read("[Settings]\nSprite Number = 12000").spriteNumber, kMaxSpriteNumber);
  EXPECT_EQ(read("[Settings]\nSprite Number = -4").spriteNumber, 0);
  EXPECT_TRUE(read("[Settings]\nColor Depth = 1\nRemove Alpha = 1\n").removeAlpha);
  const SpriteOptions eight = read("[Settings]\nColor Depth = 2\nRemove Alpha = 1\n");
  EXPECT_EQ(eight.colorDepth, kDepth8);
  EXPECT_FALSE(eight.removeAlpha);
  for (const char* depth : {"6", "-1", "x"}) {
    EXPECT_EQ(read(std::string("[Settings]\nColor Depth = ") + depth).colorDepth, kDepth32);
  }
}

TEST_F(SpriteSettingsTest, TheQuantiserIsReadByNameAndAnythingElseIsTheNetwork) {
  EXPECT_EQ(read("[Settings]\nColor Depth = 0\nQuantiser = kmeans\n").quantiser,
            PaletteQuantiser::KMeans);  // kept at a depth without a palette
  EXPECT_EQ(read("[Settings]\nquantiser = kmeans \n").quantiser, PaletteQuantiser::KMeans);
  for (const char* value : {"network", "median", "KMeans", "1", ""}) {
    EXPECT_EQ(read(std::string("[Settings]\nQuantiser = ") + value + "\n").quantiser,
              PaletteQuantiser::Network)
        << value;
  }
  EXPECT_EQ(read("[Settings]\nColor Depth = 2\n"), (SpriteOptions{.colorDepth = kDepth8}));
}

// An old file has none of the packed layout's keys: the grid, as before. A
// value the window cannot show reads as the default.
TEST_F(SpriteSettingsTest, ThePackedLayoutsKeysReadAsTheirDefaultsUnlessValid) {
  EXPECT_EQ(read("[Settings]\nColumns = 4\n"), SpriteOptions{});
  EXPECT_EQ(read("[Settings]\nlayout = packed\nTrim Transparent Edges = 1\nTrim Threshold = 254\n"
                 "Allow Rotation = 1\nSeveral Sheets When Needed = 1\nSquare Sheets = 1\n"
                 "Largest Sheet Size = 2048\n"),
            (SpriteOptions{.packed = true,
                           .maxSize = 2048,
                           .square = true,
                           .trim = true,
                           .trimThreshold = 254,
                           .rotate = true,
                           .multipack = true}));
  for (const char* layout : {"Packed", "sheet", "1", ""}) {
    EXPECT_FALSE(read(std::string("[Settings]\nLayout = ") + layout + "\n").packed) << layout;
  }
  for (const char* alpha : {"255", "-1", "x"}) {
    EXPECT_EQ(read(std::string("[Settings]\nTrim Threshold = ") + alpha).trimThreshold, 0) << alpha;
  }
  for (const char* size : {"3000", "16384", "0", "1023"}) {
    EXPECT_EQ(read(std::string("[Settings]\nLargest Sheet Size = ") + size).maxSize,
              kSheetSizeLimit)
        << size;
  }
}

TEST_F(SpriteSettingsTest, AnimationsAreReadByNameAndTheFrameRateWithinItsRange) {
  EXPECT_EQ(read("[Settings]\nAnimations = prefixes\nFrame Rate = 24\n"),
            (SpriteOptions{.animations = AnimationSource::Prefixes, .frameRate = 24}));
  for (const char* value : {"none", "subfolders", "Folders", "2", ""}) {
    EXPECT_EQ(read(std::string("[Settings]\nAnimations = ") + value + "\n").animations,
              AnimationSource::None)
        << value;
  }
  EXPECT_EQ(read("[Settings]\nFrame Rate = 1000\n").frameRate, kMaxFrameRate);
  EXPECT_EQ(read("[Settings]\nFrame Rate = -5\n").frameRate, 0);
}

TEST_F(SpriteSettingsTest, EachActionWritesItsKeysIntoSettings) {
  read("[Tab ID's]\nplist = 1\n");
  store_.selectGroup("Tab ID's");
  writeBlackChosen(store_);
  writeStripChosen(store_);
  writeSheetChosen(store_);
  writePinkChosen(store_);
  writeColorDepth(store_, kDepth24);
  writeRemoveAlpha(store_, true);
  writeSpriteNumber(store_, 42);
  writeColumns(store_, "7");
  writeTransparent(store_, true);
  writePremultipliedAlpha(store_, true);
  writePremultipliedAlpha(store_, false);
  store_.selectGroup("Tab ID's");  // as the Script Editor leaves it
  writeSpacing(store_, 3);
  writeQuantiser(store_, PaletteQuantiser::KMeans);
  writePackedChosen(store_, true);
  writeTrim(store_, true);
  writeTrimThreshold(store_, 9);
  writeRotation(store_, true);
  writeSeveralSheets(store_, false);
  writeSquareSheets(store_, true);
  writeLargestSheetSize(store_, 4096);
  writeAnimations(store_, AnimationSource::Folders);
  writeFrameRate(store_, 30);
  store_.close();
  EXPECT_EQ(testing::readFile(path_),
            "\xEF\xBB\xBF\n[Tab ID's]\nplist = 1\n[Settings]\nBlack = 0\nPink = 1\nStrip = 0\n"
            "Sheet = 1\nColor Depth = 1\nRemove Alpha = 1\nSprite Number = 42\nColumns = 7\n"
            "Transparent = 1\nPremultiplied Alpha = 0\nSpacing = 3\nQuantiser = kmeans\n"
            "Layout = packed\nTrim Transparent Edges = 1\nTrim Threshold = 9\nAllow Rotation = 1\n"
            "Several Sheets When Needed = 0\nSquare Sheets = 1\nLargest Sheet Size = 4096\n"
            "Animations = folders\nFrame Rate = 30\n");

  store_.open(path_);
  EXPECT_EQ(readSpriteSettings(store_), (SpriteOptions{.columns = "7",
                                                       .colorDepth = kDepth24,
                                                       .quantiser = PaletteQuantiser::KMeans,
                                                       .removeAlpha = true,
                                                       .pink = true,
                                                       .transparent = true,
                                                       .spriteNumber = 42,
                                                       .spacing = 3,
                                                       .packed = true,
                                                       .maxSize = 4096,
                                                       .square = true,
                                                       .trim = true,
                                                       .trimThreshold = 9,
                                                       .rotate = true,
                                                       .animations = AnimationSource::Folders,
                                                       .frameRate = 30}));
}

}  // namespace
}  // namespace oz
