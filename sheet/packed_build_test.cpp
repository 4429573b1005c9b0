#include "sheet/packed_build.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>

#include "sheet/build_outcome_fixtures.h"
#include "sheet/layout/rect_packer.h"
#include "sheet/png/png_read.h"
#include "sheet/png/test_fixtures.h"
#include "testsupport/one_core.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using testing::pixelAt;
using testing::Rgba;
using testing::writeFrame;

// A frame of `width` x `height` whose pixels inside the margins are opaque or
// translucent colours made from `seed`, and clear outside them.
RgbaImage marginedFrame(int32_t width, int32_t height, int32_t left, int32_t top, int32_t right,
                        int32_t bottom, int seed) {
  RgbaImage image{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4)};
  for (int32_t y = top; y < height - bottom; ++y) {
    for (int32_t x = left; x < width - right; ++x) {
      uint8_t* p = image.pixel(x, y);
      p[0] = static_cast<uint8_t>(seed * 40 + x * 7);
      p[1] = static_cast<uint8_t>(y * 11 + seed);
      p[2] = static_cast<uint8_t>(x * y + 3);
      p[3] = (x + y + seed) % 5 == 0 ? 128 : 255;
    }
  }
  return image;
}

// A frame as it lands on a straight-alpha sheet: no colour where it is clear.
RgbaImage landed(RgbaImage image) {
  for (size_t i = 0; i < image.pixels.size(); i += 4) {
    if (image.pixels[i + 3] == 0) std::fill_n(&image.pixels[i], 3, 0);
  }
  return image;
}

// What an engine draws for `frame`: a clear image of its source size with the
// stored rectangle, turned back upright, at its offset.
RgbaImage restored(const RgbaImage& sheet, const FrameEntry& frame, Turn turn) {
  const auto width = static_cast<int32_t>(frame.sourceWidth);
  const auto height = static_cast<int32_t>(frame.sourceHeight);
  RgbaImage image{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4)};
  for (int32_t y = 0; y < frame.height; ++y) {
    for (int32_t x = 0; x < frame.width; ++x) {
      int64_t sx = frame.x + x;
      int64_t sy = frame.y + y;
      if (frame.rotated && turn == Turn::Clockwise) {
        sx = frame.x + frame.height - 1 - y;
        sy = frame.y + x;
      } else if (frame.rotated) {
        sx = frame.x + y;
        sy = frame.y + frame.width - 1 - x;
      }
      const Rgba p = pixelAt(sheet, static_cast<int32_t>(sx), static_cast<int32_t>(sy));
      std::copy(p.begin(), p.end(),
                image.pixel(static_cast<int32_t>(frame.offsetX + x),
                            static_cast<int32_t>(frame.offsetY + y)));
    }
  }
  return image;
}

class PackedBuildTest : public ::testing::Test {
 protected:
  PackedBuildTest() {
    mkdir(folder().c_str(), 0755);
    options_.savePath = dir_.path() + "sheet.png";
    options_.imageFolder = folder();
    options_.packed = true;
  }

  std::string folder() const { return dir_.path() + "frames/"; }
  void frame(const std::string& name, const RgbaImage& image) {
    writeFrame(folder() + name, image);
    images_[name] = image;
  }
  // Frames of many sizes and margins, two of them the same picture.
  void characterFrames() {
    for (int i = 0; i < 9; ++i) {
      frame("f" + std::to_string(i) + ".png",
            marginedFrame(12 + i * 5, 40 - i * 3, i % 3, i % 4, 2, i % 2 * 5, i));
    }
    frame("twin.png", images_["f4.png"]);
  }

  BuiltSheets built() { return testing::builtSheets(options_); }
  // A refused build leaves the save path as it was.
  BuildRefusal refused() {
    const std::string before = testing::readFile(options_.savePath);
    const BuildRefusal refusal = testing::buildRefusal(options_);
    EXPECT_EQ(testing::readFile(options_.savePath), before);
    return refusal;
  }

  // Every frame comes back from its sheet exactly, trimmed margins restored;
  // no two cells, grown by the spacing, overlap, and each lies inside the
  // border.
  void expectEveryFrameRestored(const BuiltSheets& sheets) {
    size_t frames = 0;
    for (const BuiltSheet& sheet : sheets.sheets) {
      const std::optional<RgbaImage> image = decodePng(sheet.path);
      ASSERT_TRUE(image) << sheet.path;
      EXPECT_EQ(image->width, sheet.width);
      EXPECT_EQ(image->height, sheet.height);
      std::map<std::pair<int64_t, int64_t>, const FrameEntry*> cells;
      for (const FrameEntry& frame : sheet.frames) {
        SCOPED_TRACE(frame.name);
        EXPECT_EQ(frame.number, &frame - sheet.frames.data() + 1);
        ++frames;
        const RgbaImage& source = images_.at(frame.name);
        EXPECT_EQ(frame.sourceWidth, source.width);
        EXPECT_EQ(frame.sourceHeight, source.height);
        const RgbaImage back = restored(*image, frame, options_.turn);
        if (options_.trimThreshold == 0) {
          EXPECT_EQ(back.pixels, landed(source).pixels);
        }
        const int64_t w = (frame.rotated ? frame.height : frame.width) + 2 * options_.extrude;
        const int64_t h = (frame.rotated ? frame.width : frame.height) + 2 * options_.extrude;
        const int64_t x = frame.x - options_.extrude;
        const int64_t y = frame.y - options_.extrude;
        EXPECT_GE(x, options_.border);
        EXPECT_GE(y, options_.border);
        EXPECT_LE(x + w + options_.border, sheet.width);
        EXPECT_LE(y + h + options_.border, sheet.height);
        if (!cells.emplace(std::pair{frame.x, frame.y}, &frame).second) continue;  // shared
        for (const auto& [place, other] : cells) {
          if (other == &frame) continue;
          const int64_t ow = (other->rotated ? other->height : other->width) + 2 * options_.extrude;
          const int64_t oh = (other->rotated ? other->width : other->height) + 2 * options_.extrude;
          const int64_t ox = other->x - options_.extrude;
          const int64_t oy = other->y - options_.extrude;
          const bool apart = x + w + options_.spacing <= ox || ox + ow + options_.spacing <= x ||
                             y + h + options_.spacing <= oy || oy + oh + options_.spacing <= y;
          EXPECT_TRUE(apart) << "overlaps " << other->name;
        }
      }
    }
    EXPECT_EQ(frames, images_.size());
  }

  testing::ScopedTempDir dir_;
  BuildOptions options_;
  std::map<std::string, RgbaImage> images_;
};

TEST_F(PackedBuildTest, EveryFrameComesBackExactly) {
  characterFrames();
  options_.spacing = 2;
  options_.border = 3;
  options_.extrude = 1;
  for (const bool trim : {false, true}) {
    for (const bool rotate : {false, true}) {
      for (const Turn turn : {Turn::Clockwise, Turn::Anticlockwise}) {
        SCOPED_TRACE(::testing::Message() << "trim " << trim << " rotate " << rotate << " turn "
                                          << static_cast<int>(turn));
        options_.trim = trim;
        options_.rotate = rotate;
        options_.turn = turn;
        const BuiltSheets sheets = built();
        ASSERT_EQ(sheets.sheets.size(), 1u);
        EXPECT_EQ(sheets.sheets[0].path, options_.savePath);
        expectEveryFrameRestored(sheets);
        bool anyTrimmed = false;
        for (const FrameEntry& frame : sheets.sheets[0].frames) anyTrimmed |= frame.trimmed();
        EXPECT_EQ(anyTrimmed, trim);
      }
    }
  }
}

// A wide frame and a tall one fit a 64-pixel sheet only when one is turned.
TEST_F(PackedBuildTest, TurnsFramesOnlyWhenAllowedAndTheWayAsked) {
  frame("wide.png", marginedFrame(60, 10, 0, 0, 0, 0, 1));
  frame("tall.png", marginedFrame(10, 60, 0, 0, 0, 0, 2));
  options_.maxSize = 64;
  EXPECT_EQ(refused().problem, BuildProblem::SizeLimit);
  options_.rotate = true;
  for (const Turn turn : {Turn::Clockwise, Turn::Anticlockwise}) {
    options_.turn = turn;
    const BuiltSheets sheets = built();
    ASSERT_EQ(sheets.sheets.size(), 1u);
    int turned = 0;
    for (const FrameEntry& frame : sheets.sheets[0].frames) turned += frame.rotated;
    EXPECT_EQ(turned, 1);
    expectEveryFrameRestored(sheets);
  }
}

TEST_F(PackedBuildTest, TrimmingKeepsTheSourceSizeAndOffset) {
  frame("a.png", marginedFrame(20, 30, 3, 5, 4, 6, 1));
  frame("clear.png", RgbaImage{9, 7, std::vector<uint8_t>(9 * 7 * 4, 0)});
  // Faint pixels only: clear at a threshold above their alpha.
  RgbaImage faint = marginedFrame(8, 8, 0, 0, 0, 0, 3);
  for (size_t i = 3; i < faint.pixels.size(); i += 4) faint.pixels[i] = 10;
  faint.pixels[(2 * 8 + 5) * 4 + 3] = 11;  // one pixel just above the threshold
  frame("faint.png", faint);
  options_.trim = true;
  options_.trimThreshold = 10;
  const BuiltSheets sheets = built();
  ASSERT_EQ(sheets.sheets.size(), 1u);
  std::map<std::string, FrameEntry> byName;
  for (const FrameEntry& frame : sheets.sheets[0].frames) byName[frame.name] = frame;
  const FrameEntry& a = byName["a.png"];
  EXPECT_EQ((std::array{a.offsetX, a.offsetY, a.width, a.height, a.sourceWidth, a.sourceHeight}),
            (std::array<int64_t, 6>{3, 5, 13, 19, 20, 30}));
  // A frame with nothing visible is one clear pixel that keeps its source size.
  const FrameEntry& clear = byName["clear.png"];
  EXPECT_EQ((std::array{clear.offsetX, clear.offsetY, clear.width, clear.height, clear.sourceWidth,
                        clear.sourceHeight}),
            (std::array<int64_t, 6>{0, 0, 1, 1, 9, 7}));
  const std::optional<RgbaImage> image = decodePng(options_.savePath);
  ASSERT_TRUE(image);
  EXPECT_EQ(pixelAt(*image, static_cast<int32_t>(clear.x), static_cast<int32_t>(clear.y)),
            (Rgba{0, 0, 0, 0}));
  const FrameEntry& f = byName["faint.png"];
  EXPECT_EQ((std::array{f.offsetX, f.offsetY, f.width, f.height}),
            (std::array<int64_t, 4>{5, 2, 1, 1}));
}

TEST_F(PackedBuildTest, IdenticalFramesShareACellEachWithItsOffset) {
  const RgbaImage a = marginedFrame(20, 20, 2, 2, 2, 2, 5);
  RgbaImage b{24, 20, std::vector<uint8_t>(24 * 20 * 4)};  // the same picture further right
  for (int32_t y = 0; y < 20; ++y) std::copy_n(a.pixel(0, y), 20 * 4, b.pixel(4, y));
  frame("a.png", a);
  frame("b.png", b);
  frame("c.png", marginedFrame(20, 20, 2, 2, 2, 2, 6));
  options_.trim = true;
  for (const bool dedupe : {false, true}) {
    options_.dedupe = dedupe;
    const BuiltSheets sheets = built();
    ASSERT_EQ(sheets.sheets.size(), 1u);
    const FrameList& frames = sheets.sheets[0].frames;
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].x == frames[1].x && frames[0].y == frames[1].y, dedupe);
    EXPECT_EQ((std::array{frames[0].offsetX, frames[1].offsetX}), (std::array<int64_t, 2>{2, 6}));
    EXPECT_FALSE(frames[0].x == frames[2].x && frames[0].y == frames[2].y);
    expectEveryFrameRestored(sheets);
  }
}

TEST_F(PackedBuildTest, RefusesBeforeWritingAnything) {
  frame("small.png", marginedFrame(10, 10, 0, 0, 0, 0, 1));
  frame("big.png", marginedFrame(70, 30, 20, 0, 20, 0, 2));
  options_.maxSize = 63;
  options_.border = 1;
  // Too wide as it is; trimmed, it fits.
  BuildRefusal refusal = refused();
  EXPECT_EQ(refusal.problem, BuildProblem::FrameTooLarge);
  const auto* oversized = std::get_if<OversizedFrame>(&refusal.cause);
  ASSERT_NE(oversized, nullptr);
  EXPECT_EQ(oversized->frame.name, "big.png");
  EXPECT_FALSE(oversized->frame.trimmed());
  EXPECT_EQ((std::array{oversized->cellWidth, oversized->cellHeight, oversized->maxSize}),
            (std::array<int64_t, 3>{72, 32, 63}));
  options_.trim = true;
  EXPECT_EQ(built().sheets.size(), 1u);
  // Power of 2 leaves 32 of the 63 pixels: the trimmed frame's cell with the
  // border takes 32, with extrusion 34.
  options_.powerOf2 = true;
  options_.extrude = 1;
  refusal = refused();
  ASSERT_NE(std::get_if<OversizedFrame>(&refusal.cause), nullptr);
  EXPECT_EQ(std::get<OversizedFrame>(refusal.cause).maxSize, 32);
  options_.extrude = 0;
  options_.powerOf2 = false;

  // Frames that fit a sheet each but not one together: how many sheets it
  // takes. Neither of the small ones fits beside a large one.
  frame("big2.png", marginedFrame(60, 60, 0, 0, 0, 0, 3));
  frame("big3.png", marginedFrame(60, 60, 0, 0, 0, 0, 4));
  refusal = refused();
  EXPECT_EQ(refusal.problem, BuildProblem::SizeLimit);
  const auto* overflow = std::get_if<PackedOverflow>(&refusal.cause);
  ASSERT_NE(overflow, nullptr);
  EXPECT_EQ(overflow->sheetsNeeded, 3);
  EXPECT_EQ(overflow->frames, 4);

  testing::writeFile(folder() + "broken.png", "not a PNG");
  refusal = refused();
  EXPECT_EQ(refusal.problem, BuildProblem::FrameUnreadable);
  EXPECT_EQ(refusal.path, "broken.png");
}

TEST_F(PackedBuildTest, SeveralSheetsAreNumberedAndTakeTheirNamesTogether) {
  for (int i = 0; i < 6; ++i) {
    frame("f" + std::to_string(i) + ".png", marginedFrame(40, 30 + i, 1, 1, 1, 1, i));
  }
  options_.maxSize = 64;
  options_.trim = true;
  options_.multipack = true;
  const BuiltSheets sheets = built();
  ASSERT_GE(sheets.sheets.size(), 3u);
  for (size_t s = 0; s < sheets.sheets.size(); ++s) {
    EXPECT_EQ(sheets.sheets[s].path, dir_.path() + "sheet-" + std::to_string(s + 1) + ".png");
    EXPECT_LE(sheets.sheets[s].width, 64);
    for (size_t k = 0; k < sheets.sheets[s].frames.size(); ++k) {
      EXPECT_EQ(sheets.sheets[s].frames[k].number, static_cast<int64_t>(k) + 1);
    }
  }
  expectEveryFrameRestored(sheets);
  EXPECT_FALSE(testing::fileExists(options_.savePath));

  // Stopped while writing the last sheet: every sheet stays as it was.
  const std::string first = testing::readFile(sheets.sheets[0].path);
  options_.extrude = 1;
  int64_t rows = 0;
  int sheetsBegun = 0;
  const BuildOutcome outcome = buildSheet(options_, [&](const BuildProgress& progress) {
    if (progress.phase == BuildPhase::Writing) {
      if (progress.done < rows || rows == 0) ++sheetsBegun;
      rows = progress.done;
    }
    return sheetsBegun < static_cast<int>(sheets.sheets.size());
  });
  EXPECT_TRUE(std::holds_alternative<BuildStopped>(outcome));
  EXPECT_EQ(testing::readFile(sheets.sheets[0].path), first);
}

// Each sheet of several is compared with its own file: a frame repainted in
// place rewrites only the sheet that holds it.
TEST_F(PackedBuildTest, OnlyTheSheetsThatChangedAreWritten) {
  for (int i = 0; i < 6; ++i) {
    frame("f" + std::to_string(i) + ".png", marginedFrame(40, 30, 0, 0, 0, 0, i));
  }
  options_.maxSize = 64;
  options_.multipack = true;
  const BuiltSheets first = built();
  ASSERT_GE(first.sheets.size(), 2u);
  std::vector<testing::FileStamp> stamps;
  for (const BuiltSheet& sheet : first.sheets) {
    EXPECT_FALSE(sheet.unchanged);
    stamps.push_back(testing::fileStamp(sheet.path));
  }
  frame("f0.png", marginedFrame(40, 30, 0, 0, 0, 0, 9));
  const BuiltSheets second = built();
  ASSERT_EQ(second.sheets.size(), first.sheets.size());
  for (size_t s = 0; s < second.sheets.size(); ++s) {
    const bool holdsF0 = std::ranges::any_of(
        second.sheets[s].frames, [](const FrameEntry& frame) { return frame.name == "f0.png"; });
    EXPECT_EQ(second.sheets[s].unchanged, !holdsF0) << s;
    EXPECT_EQ(testing::fileStamp(second.sheets[s].path) == stamps[s], !holdsF0) << s;
  }
  expectEveryFrameRestored(second);
}

TEST_F(PackedBuildTest, SameBytesOnOneCoreAsOnAll) {
  characterFrames();
  options_.trim = options_.rotate = options_.dedupe = options_.bleed = true;
  options_.extrude = 2;
  if (!testing::severalCores()) GTEST_SKIP() << "one core only";
  built();
  const std::string onAll = testing::readFile(options_.savePath);
  testing::onOneCore([&] { built(); });
  EXPECT_TRUE(testing::readFile(options_.savePath) == onAll);
}

}  // namespace
}  // namespace oz
