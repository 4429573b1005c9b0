#include "sheet/build_sheet.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <new>
#include <tuple>

#include "base/dir_listing.h"
#include "sheet/build_outcome_fixtures.h"
#include "sheet/png/png_read.h"
#include "sheet/png/test_fixtures.h"
#include "testsupport/claimed_size.h"
#include "testsupport/one_core.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using testing::pixelAt;
using testing::Rgba;
using testing::solidImage;
using testing::writeFrame;

constexpr BuildProblem kNoImages = BuildProblem::NoImages;
constexpr BuildProblem kSizeError = BuildProblem::SizeMismatch;
constexpr BuildProblem kSizeLimit = BuildProblem::SizeLimit;

// An untrimmed, unturned frame of `width` x `height` at (x, y).
FrameEntry whole(int64_t number, std::string name, int64_t x, int64_t y, int64_t width,
                 int64_t height) {
  return {number, std::move(name), x, y, width, height, 0, 0, width, height};
}

class BuildSheetTest : public ::testing::Test {
 protected:
  BuildSheetTest() {
    mkdir(folder().c_str(), 0755);
    options_.savePath = dir_.path() + "sheet.png";
    options_.imageFolder = folder();
  }

  std::string folder() const { return dir_.path() + "frames/"; }
  void frame(const std::string& name, const RgbaImage& image) {
    writeFrame(folder() + name, image);
  }
  void frames(int count, int32_t width, int32_t height, Rgba colour = {10, 20, 30, 255}) {
    for (int i = 1; i <= count; ++i)
      frame("f" + std::to_string(i) + ".png", solidImage(width, height, colour));
  }
  // A PNG whose header is sound but whose pixel data is damaged.
  void damagedFrame(const std::string& name, int32_t width, int32_t height) {
    frame(name, solidImage(width, height, {1, 2, 3, 255}));
    std::string bytes = testing::readFile(folder() + name);
    bytes[bytes.find("IDAT") + 6] ^= 0x5a;
    testing::writeFile(folder() + name, bytes);
  }

  // A refused build leaves the save path as it was.
  BuildRefusal refused() {
    const bool existed = testing::fileExists(options_.savePath);
    const std::string before = existed ? testing::readFile(options_.savePath) : "";
    const BuildRefusal refusal = testing::buildRefusal(options_);
    EXPECT_EQ(testing::fileExists(options_.savePath), existed);
    if (existed) {
      EXPECT_EQ(testing::readFile(options_.savePath), before);
    }
    return refusal;
  }
  BuiltSheet built() {
    BuiltSheets built = testing::builtSheets(options_);
    return built.sheets.empty() ? BuiltSheet{} : std::move(built.sheets.front());
  }
  // Builds and decodes the written sheet.
  RgbaImage builtImage() {
    built();
    std::optional<RgbaImage> image = decodePng(options_.savePath);
    EXPECT_TRUE(image);
    return image ? std::move(*image) : RgbaImage{};
  }

  testing::ScopedTempDir dir_;
  BuildOptions options_;
};

// Empty paths are refused through the main window's Create, a failed write and
// an empty folder through the command line's runs.
TEST_F(BuildSheetTest, FramesComeInVersionOrderWithTheirPlaces) {
  for (const char* name : {"walk10.png", "walk2.png", "walk1.png", ".shadow.png", "\xff\xfe.png"}) {
    frame(name, solidImage(8, 6, {1, 1, 1, 255}));
  }
  frame("walk3.PNG", solidImage(1, 1, {}));  // a capital extension is not a frame
  options_.columns = " 2 columns";
  const BuiltSheet sheet = built();
  const std::vector<std::string> names{".shadow.png", "walk1.png", "walk2.png", "walk10.png",
                                       "\xff\xfe.png"};
  ASSERT_EQ(sheet.frames.size(), names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    const auto n = static_cast<int64_t>(i);
    EXPECT_EQ(sheet.frames[i], whole(n + 1, names[i], n % 2 * 8, n / 2 * 6, 8, 6));
  }
  EXPECT_EQ(sheet.width, 16);
  EXPECT_EQ(sheet.height, 18);
}

TEST_F(BuildSheetTest, UndecodableEntriesAreEmptyFrames) {
  frames(2, 4, 4);
  ASSERT_EQ(mkdir((folder() + "f1a.png").c_str(), 0755), 0);
  EXPECT_EQ(refused().problem, kSizeError);
  rmdir((folder() + "f1a.png").c_str());
  damagedFrame("f1a.png", 4, 4);
  EXPECT_EQ(refused().problem, kSizeError);
  // A FIFO is not read (reading it would wait for a writer forever).
  unlink((folder() + "f1a.png").c_str());
  ASSERT_EQ(mkfifo((folder() + "f1a.png").c_str(), 0644), 0);
  EXPECT_EQ(refused().problem, kSizeError);
}

// Sizes come from the headers first, but the outcome is the one a full decode
// of every frame gives.
TEST_F(BuildSheetTest, DamagedPixelDataDecidesAsAFullDecodeWould) {
  // By their headers these differ; decoded, both are 0 x 0: nothing usable.
  damagedFrame("a.png", 4, 4);
  damagedFrame("b.png", 5, 5);
  EXPECT_EQ(refused().problem, kNoImages);
}

TEST_F(BuildSheetTest, DamagedFrameInAnOversizedStripIsASizeError) {
  options_.strip = true;
  frames(129, 64, 1);  // 8,256 wide by the headers
  damagedFrame("f50.png", 64, 1);
  EXPECT_EQ(refused().problem, kSizeError);
}

TEST_F(BuildSheetTest, SheetsUpTo8192PixelsAreAllowed) {
  options_.strip = true;
  frames(2, 4096, 1);
  EXPECT_EQ(built().width, 8192);
  frame("f3.png", solidImage(4096, 1, {}));
  options_.powerOf2 = true;
  EXPECT_EQ(refused().problem, kSizeLimit);
}

// A 1 x 1 frame's file whose header claims far more: it cannot hold the pixels
// and never decodes, which the build finds out without making room for them.
TEST_F(BuildSheetTest, FramesTooShortForTheirHeadersDecideAsAFullDecodeWould) {
  writeFrame(dir_.path() + "tiny.png", solidImage(1, 1, {1, 2, 3, 255}));
  const std::string tiny = testing::readFile(dir_.path() + "tiny.png");
  struct Case {
    int32_t claimedWidth;
    int32_t claimedHeight;
    int genuineFrames;  // 4 x 4 frames beside it
    BuildProblem outcome;
  };
  const Case cases[] = {
      {8192, 8192, 0, kNoImages},
      {4096, 4096, 2, kSizeError},  // 0 x 0 among 4 x 4 frames
      {8193, 1, 0, kSizeLimit},     // beyond the limit the header decides
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.claimedWidth) + "x" + std::to_string(c.claimedHeight));
    options_.imageFolder = dir_.path() + std::to_string(c.claimedWidth) + "/";
    ASSERT_EQ(mkdir(options_.imageFolder.c_str(), 0755), 0);
    for (int i = 0; i < c.genuineFrames; ++i) {
      writeFrame(options_.imageFolder + "f" + std::to_string(i) + ".png", solidImage(4, 4, {}));
    }
    testing::writeFile(options_.imageFolder + "lie.png",
                       testing::withClaimedSize(tiny, c.claimedWidth, c.claimedHeight));
    EXPECT_EQ(refused().problem, c.outcome);
  }
}

// Three 32 x 33 frames make a 96 x 33 strip, padded to 128 x 64.
class PaddedSheetTest : public BuildSheetTest {
 protected:
  PaddedSheetTest() {
    options_.strip = true;
    options_.powerOf2 = true;
    RgbaImage image = solidImage(32, 33, {200, 100, 50, 33});
    std::copy_n(Rgba{200, 100, 50, 32}.begin(), 4, image.pixel(1, 0));
    std::copy_n(Rgba{90, 80, 70, 0}.begin(), 4, image.pixel(2, 0));
    std::copy_n(Rgba{250, 240, 230, 255}.begin(), 4, image.pixel(3, 0));
    for (const char* name : {"a.png", "b.png", "c.png"}) frame(name, image);
  }

  // The sheet's pixels: an alpha 33 pixel, alpha 32, alpha 0, opaque, and the
  // padding to the right and below.
  std::vector<Rgba> samples(int32_t depth, int flags) {
    options_.colorDepth = depth;
    options_.removeAlpha = flags & kRemoveAlpha;
    options_.pink = flags & kPink;
    options_.premultipliedAlpha = flags & kPremultiplied;
    const RgbaImage sheet = builtImage();
    EXPECT_EQ(sheet.width, 128);
    EXPECT_EQ(sheet.height, 64);
    if (sheet.width != 128 || sheet.height != 64) return {};
    return {pixelAt(sheet, 0, 0), pixelAt(sheet, 1, 0),   pixelAt(sheet, 2, 0),
            pixelAt(sheet, 3, 0), pixelAt(sheet, 100, 5), pixelAt(sheet, 5, 40)};
  }
  // The options samples() sets, as flags one table row combines.
  enum : int { kStraight = 0, kRemoveAlpha = 1, kPink = 2, kPremultiplied = 4 };
};

TEST_F(PaddedSheetTest, EachDepthPreparesPixelsAndPadding) {
  const Rgba clear{0, 0, 0, 0}, white{255, 255, 255, 255}, pink{255, 0, 255, 255},
      black{0, 0, 0, 255}, light{250, 240, 230, 255}, grey33{33, 33, 33, 255},
      grey32{32, 32, 32, 255};
  struct Case {
    int32_t depth;
    int flags;
    std::vector<Rgba> expected;
  };
  const Case cases[] = {
      // Colour is stored straight, or premultiplied, rounded to nearest, on request.
      {kDepth32, kStraight, {{200, 100, 50, 33}, {200, 100, 50, 32}, clear, light, clear, clear}},
      {kDepth32, kPremultiplied, {{26, 13, 6, 33}, {25, 13, 6, 32}, clear, light, clear, clear}},
      // 24 bits lay transparency over white ...
      {kDepth24, kPink, {{247, 234, 228, 255}, {248, 235, 229, 255}, white, light, white, white}},
      {kDepth24,
       kPink | kPremultiplied,
       {{225, 223, 222, 255}, {226, 224, 223, 255}, white, light, white, white}},
      // ... and remove alpha puts the background behind alpha 32 and below.
      {kDepth24, kRemoveAlpha | kPink, {{200, 100, 50, 255}, pink, pink, light, pink, pink}},
      {kDepth24,
       kRemoveAlpha | kPremultiplied,
       {{26, 13, 6, 255}, black, black, light, black, black}},
      {kDepthAlpha, kStraight, {grey33, grey32, black, white, black, black}},
      // Pink padding has a luminance of 73: black at 1 bit, like the dark frame pixels.
      {kDepth1, kPink, {black, black, black, white, black, black}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "depth " << c.depth << " flags " << c.flags);
    EXPECT_EQ(samples(c.depth, c.flags), c.expected);
  }
}

// A 32-bit sheet decodes to exactly its frame's pixels, whatever the alpha.
TEST_F(BuildSheetTest, EveryAlphaLevelReachesThe32BitSheetAsItIs) {
  RgbaImage image{16, 16, {}};
  for (int i = 0; i < 256; ++i) {
    image.pixels.insert(image.pixels.end(),
                        {static_cast<uint8_t>(i * 37 + 11), static_cast<uint8_t>(i * 91 + 5),
                         static_cast<uint8_t>(255 - i * 3), static_cast<uint8_t>(i)});
  }
  frame("ramp.png", image);
  std::fill_n(image.pixels.begin(), 3, uint8_t{0});  // alpha 0 is stored as (0, 0, 0, 0)
  EXPECT_TRUE(builtImage().pixels == image.pixels);
}

// One frame of semi-transparent pixels through every depth, against values
// worked out by hand. Each pixel fills a band of the frame, enough for the
// palettes to learn it.
class SemiTransparentSheetTest : public BuildSheetTest {
 protected:
  static constexpr int32_t kBand = 16;

  SemiTransparentSheetTest() {
    options_.strip = true;
    RgbaImage image = solidImage(kBand * 6, kBand, {});
    for (int32_t y = 0; y < kBand; ++y) {
      for (int32_t x = 0; x < image.width; ++x) {
        std::copy_n(kFramePixels[x / kBand].begin(), 4, image.pixel(x, y));
      }
    }
    frame("a.png", image);
  }

  // The middle pixel of each band.
  std::vector<Rgba> pixels(int32_t depth, bool removeAlpha = false) {
    options_.colorDepth = depth;
    options_.removeAlpha = removeAlpha;
    const RgbaImage sheet = builtImage();
    std::vector<Rgba> out;
    for (int32_t x = kBand / 2; x < sheet.width; x += kBand) {
      out.push_back(pixelAt(sheet, x, kBand / 2));
    }
    return out;
  }

  static constexpr Rgba kFramePixels[] = {{200, 100, 0, 128},   {179, 115, 49, 16},
                                          {10, 20, 30, 255},    {0, 0, 0, 0},
                                          {250, 250, 250, 100}, {255, 255, 255, 64}};
};

TEST_F(SemiTransparentSheetTest, EachDepthReadsTheStraightColours) {
  const Rgba white{255, 255, 255, 255}, black{0, 0, 0, 255};
  const auto grey = [](uint8_t v) { return Rgba{v, v, v, 255}; };
  EXPECT_EQ(pixels(kDepth32), std::vector<Rgba>(std::begin(kFramePixels), std::end(kFramePixels)));
  // (c x a + 255 x (255 - a)) / 255: a composite over white.
  EXPECT_EQ(pixels(kDepth24), (std::vector<Rgba>{{227, 177, 127, 255},
                                                 {250, 246, 242, 255},
                                                 {10, 20, 30, 255},
                                                 white,
                                                 {253, 253, 253, 255},
                                                 white}));
  EXPECT_EQ(pixels(kDepth24, true),
            (std::vector<Rgba>{
                {200, 100, 0, 255}, black, {10, 20, 30, 255}, black, {250, 250, 250, 255}, white}));
  EXPECT_EQ(pixels(kDepthAlpha),
            (std::vector<Rgba>{grey(128), grey(16), grey(255), grey(0), grey(100), grey(64)}));
  // Made opaque, the pale pixels keep a luminance above 160 (premultiplied they
  // would be 98 and 64, and black).
  EXPECT_EQ(pixels(kDepth1), (std::vector<Rgba>{black, black, black, black, white, white}));
  // The palettes come near the opaque colours; premultiplied, the pale pixels
  // would be far darker.
  for (int32_t depth : {kDepth8, kDepth4}) {
    SCOPED_TRACE(depth);
    const std::vector<Rgba> reduced = pixels(depth);
    ASSERT_EQ(reduced.size(), 6u);
    const Rgba expected[] = {{200, 100, 0, 255},   black, {10, 20, 30, 255}, black,
                             {250, 250, 250, 255}, white};
    for (size_t i = 0; i < reduced.size(); ++i) {
      for (size_t c = 0; c < 4; ++c) {
        EXPECT_NEAR(reduced[i][c], expected[i][c], 12) << "pixel " << i << " channel " << c;
      }
    }
  }
}

// With the option, each depth reads the premultiplied colours, as before it.
TEST_F(SemiTransparentSheetTest, PremultipliedAlphaIsReadByEveryDepth) {
  options_.premultipliedAlpha = true;
  EXPECT_EQ(pixels(kDepth32)[4], (Rgba{98, 98, 98, 100}));
  EXPECT_EQ(pixels(kDepth24)[4], (Rgba{193, 193, 193, 255}));
  EXPECT_EQ(pixels(kDepth24, true)[4], (Rgba{98, 98, 98, 255}));
  EXPECT_EQ(pixels(kDepth1)[4], (Rgba{0, 0, 0, 255}));
}

// Frames are decoded and the sheet compressed on every core; the bytes written
// must not depend on how many there are, for a transparent palette either.
TEST_F(BuildSheetTest, OneCoreWritesTheSameSheetAsAll) {
  for (int i = 0; i < 160; ++i) {
    const auto shade = static_cast<uint8_t>(i);
    frame("f" + std::to_string(i) + ".png",
          solidImage(64, 64, {shade, static_cast<uint8_t>(255 - shade), 7, shade}));
  }
  options_.columns = "16";  // 1024 x 640 pixels: the sheet's data is compressed in pieces
  if (!testing::severalCores()) GTEST_SKIP() << "one core only";
  for (const bool transparentPalette : {false, true}) {
    SCOPED_TRACE(transparentPalette);
    options_.colorDepth = transparentPalette ? kDepth8 : kDepth32;
    options_.transparent = options_.dithering = transparentPalette;
    built();
    const std::string onAll = testing::readFile(options_.savePath);
    testing::onOneCore([&] { built(); });
    EXPECT_TRUE(testing::readFile(options_.savePath) == onAll);
  }
}

// "Transparent" keeps alpha in an 8- or 4-bit palette: PLTE and a tRNS chunk
// that libpng reads, alpha 0 and 255 exact, every index inside the palette.
TEST_F(BuildSheetTest, TransparentPaletteKeepsAlphaInATrnsChunk) {
  frame("a.png", testing::spriteSheetImage(64, 48));
  frame("b.png", testing::spriteSheetImage(64, 48));
  const RgbaImage straight = builtImage();
  options_.transparent = true;
  options_.dithering = true;
  for (const int32_t depth : {kDepth8, kDepth4}) {
    SCOPED_TRACE(depth);
    options_.colorDepth = depth;
    const RgbaImage sheet = builtImage();
    ASSERT_EQ(sheet.pixels.size(), straight.pixels.size());
    const auto chunks = testing::readChunks(testing::readFile(options_.savePath));
    std::vector<std::string> types;
    for (const auto& chunk : chunks) {
      if (types.empty() || types.back() != chunk.type) types.push_back(chunk.type);
    }
    ASSERT_EQ(types, (std::vector<std::string>{"IHDR", "PLTE", "tRNS", "IDAT", "IEND"}));
    const size_t entries = chunks[1].data.size() / 3;
    const std::string& alphas = chunks[2].data;
    EXPECT_EQ(entries, depth == kDepth8 ? 256u : 16u);
    ASSERT_FALSE(alphas.empty());
    EXPECT_LE(alphas.size(), entries);
    EXPECT_NE(static_cast<uint8_t>(alphas.back()), 255) << "trailing opaque entries are left out";

    const int bits = depth == kDepth8 ? 8 : 4;
    const std::string rows = testing::inflateImageData(chunks);
    const size_t rowBytes = (static_cast<size_t>(sheet.width) * bits + 7) / 8;
    ASSERT_EQ(rows.size(), (rowBytes + 1) * sheet.height);
    for (int32_t y = 0; y < sheet.height; ++y) {
      ASSERT_EQ(rows[(rowBytes + 1) * y], 0) << "rows are stored unfiltered";
      for (int32_t x = 0; x < sheet.width; ++x) {
        const auto byte = static_cast<uint8_t>(rows[(rowBytes + 1) * y + 1 + x * bits / 8]);
        const int index = bits == 8 ? byte : (x % 2 == 0 ? byte >> 4 : byte & 15);
        ASSERT_LT(static_cast<size_t>(index), entries) << x << ", " << y;
      }
    }
    for (size_t i = 3; i < straight.pixels.size(); i += 4) {
      if (straight.pixels[i] == 0 || straight.pixels[i] == 255) {
        ASSERT_EQ(sheet.pixels[i], straight.pixels[i]) << "pixel " << i / 4;
      }
    }
  }
}

// Memory that runs out anywhere in a build (here, as the first frame is
// composed) is said as such, and nothing is written.
TEST_F(BuildSheetTest, RunningOutOfMemoryIsNoSaveError) {
  frames(2, 2, 2);
  const auto outcome = buildSheet(options_, [](const BuildProgress& p) {
    if (p.phase == BuildPhase::Composing) throw std::bad_alloc();
    return true;
  });
  ASSERT_TRUE(std::holds_alternative<BuildRefusal>(outcome));
  EXPECT_EQ(std::get<BuildRefusal>(outcome), (BuildRefusal{BuildProblem::OutOfMemory, {}}));
  EXPECT_FALSE(testing::fileExists(options_.savePath));
}

TEST_F(BuildSheetTest, ReportsProgressPhaseByPhase) {
  frames(3, 2, 5);
  options_.strip = true;
  options_.colorDepth = kDepth1;
  std::vector<std::string> seen;
  const auto outcome = buildSheet(options_, [&](const BuildProgress& p) {
    seen.push_back(std::to_string(static_cast<int>(p.phase)) + ":" + std::to_string(p.done) + "/" +
                   std::to_string(p.total));
    return true;
  });
  ASSERT_TRUE(std::holds_alternative<BuiltSheets>(outcome));
  // Frames are composed on every core; the caller hears of those begun on its
  // own thread, in order, and of the last.
  std::vector<std::string> composing;
  for (const std::string& step : seen) {
    if (step.starts_with("1:")) composing.push_back(step);
  }
  ASSERT_FALSE(composing.empty());
  EXPECT_TRUE(std::is_sorted(composing.begin(), composing.end()));
  EXPECT_EQ(std::adjacent_find(composing.begin(), composing.end()), composing.end());
  EXPECT_EQ(composing.back(), "1:3/3");
  std::erase_if(seen, [](const std::string& step) { return step.starts_with("1:"); });
  // The last row is told again once the image data is compressed.
  const std::vector<std::string> expected{"0:1/3", "0:2/3", "0:3/3", "2:0/0", "3:1/5",
                                          "3:2/5", "3:3/5", "3:4/5", "3:5/5", "3:5/5"};
  EXPECT_EQ(seen, expected);
}

// The callback's "stop" at any step of any road through the build (shared
// cells, a palette's index rows, the smallest file) ends it there: nothing
// is asked after it, and the old sheet stays with nothing beside it. A step
// is known by what it reports and how often that was reported before, since
// how many composed frames are told depends on which thread drew them.
TEST_F(BuildSheetTest, StoppingAtAnyStepLeavesTheOldSheet) {
  frames(3, 2, 5);
  struct Road {
    bool dedupe;
    int32_t depth;
    bool smallest;
  };
  using Step = std::tuple<BuildPhase, int64_t, int64_t>;
  const auto stepOf = [](const BuildProgress& p) { return Step{p.phase, p.done, p.total}; };
  for (const Road road :
       {Road{false, kDepth32, false}, Road{true, kDepth8, false}, Road{false, kDepth1, true}}) {
    options_.dedupe = road.dedupe;
    options_.colorDepth = road.depth;
    options_.smallest = road.smallest;
    std::vector<Step> steps;
    buildSheet(options_, [&](const BuildProgress& p) {
      steps.push_back(stepOf(p));
      return true;
    });
    ASSERT_GT(steps.size(), 5u);
    for (size_t target = 0; target < steps.size(); ++target) {
      const Step stopStep = steps[target];
      const auto occurrence = std::count(steps.begin(), steps.begin() + target + 1, stopStep);
      testing::writeFile(options_.savePath, "the old sheet");
      int64_t seen = 0;
      int callsAfterStop = 0;
      bool stopped = false;
      const BuildOutcome outcome = buildSheet(options_, [&](const BuildProgress& p) {
        if (stopped) ++callsAfterStop;
        if (stepOf(p) == stopStep && ++seen == occurrence) stopped = true;
        return !stopped;
      });
      const std::string where = std::to_string(target + 1) + " of " + std::to_string(steps.size());
      if (!stopped && std::get<0>(stopStep) == BuildPhase::Composing) {
        // That frame was drawn on another thread this time and went untold.
        EXPECT_TRUE(std::holds_alternative<BuiltSheets>(outcome)) << where;
        continue;
      }
      EXPECT_TRUE(stopped) << where;
      EXPECT_TRUE(std::holds_alternative<BuildStopped>(outcome)) << where;
      EXPECT_EQ(callsAfterStop, 0) << where;
      EXPECT_EQ(testing::readFile(options_.savePath), "the old sheet") << where;
      EXPECT_EQ(listDirectory(dir_.path()), (std::vector<std::string>{"frames", "sheet.png"}))
          << where;
    }
  }
}

// A build whose sheet equals the file in place leaves the file alone, so that
// what runs after it sees nothing to redo; one that differs replaces it.
TEST_F(BuildSheetTest, ASheetEqualToTheFileInPlaceLeavesItUntouched) {
  frames(3, 4, 5);
  EXPECT_FALSE(built().unchanged);
  const testing::FileStamp first = testing::fileStamp(options_.savePath);
  EXPECT_TRUE(built().unchanged);
  EXPECT_EQ(testing::fileStamp(options_.savePath), first);

  options_.colorDepth = kDepth8;
  EXPECT_FALSE(built().unchanged);
  EXPECT_NE(testing::fileStamp(options_.savePath), first);
  EXPECT_TRUE(decodePng(options_.savePath));
  EXPECT_EQ(listDirectory(dir_.path()), (std::vector<std::string>{"frames", "sheet.png"}));
}

// Two 2 x 2 frames with spacing, border and extrusion on a Power-of-2 sheet:
// the cells, the ring, the gaps and the padding, pixel by pixel.
TEST_F(BuildSheetTest, CellsAreSpacedBorderedAndExtruded) {
  const testing::Colours colours{
      {'.', {0, 0, 0, 0}}, {'P', {200, 0, 0, 255}}, {'p', {200, 0, 0, 0}}, {'Q', {0, 0, 200, 255}}};
  frame("a.png", testing::paintedImage({"P.", "PP"}, colours));
  frame("b.png", testing::paintedImage({"QQ", "QQ"}, colours));
  options_.strip = true;
  options_.spacing = 1;
  options_.border = 1;
  options_.extrude = 1;
  options_.powerOf2 = true;
  const std::vector<std::string> plain{"................",  //
                                       ".PP...QQQQ......",  //
                                       ".PP...QQQQ......",  //
                                       ".PPPP.QQQQ......",  //
                                       ".PPPP.QQQQ......",  //
                                       "................",  //
                                       "................",  //
                                       "................"};
  EXPECT_EQ(testing::paintedRows(builtImage(), colours), plain);
  // Bled, the invisible pixel and its copies in the ring keep the frame's colour.
  options_.bleed = true;
  std::vector<std::string> bled = plain;
  bled[1].replace(3, 2, "pp");
  bled[2].replace(3, 2, "pp");
  EXPECT_EQ(testing::paintedRows(builtImage(), colours), bled);

  const BuiltSheet sheet = built();
  EXPECT_EQ(sheet.width, 16);  // 11 x 6 before the padding
  EXPECT_EQ(sheet.height, 8);
  EXPECT_EQ(sheet.frames,
            (FrameList{whole(1, "a.png", 2, 2, 2, 2), whole(2, "b.png", 7, 2, 2, 2)}));
}

// Equal frames at the start, in the middle and at the end, one frame that
// differs from another in one pixel, and a repeat far from its first.
TEST_F(BuildSheetTest, IdenticalFramesShareOneCell) {
  const RgbaImage a = solidImage(2, 2, {200, 0, 0, 255});
  const RgbaImage b = solidImage(2, 2, {0, 200, 0, 255});
  RgbaImage nearlyB = b;
  nearlyB.pixel(1, 1)[1] = 201;
  const RgbaImage c = solidImage(2, 2, {0, 0, 200, 0});
  const RgbaImage order[] = {a, a, b, nearlyB, c, a, c, c};
  for (size_t i = 0; i < std::size(order); ++i) frame("f" + std::to_string(i) + ".png", order[i]);
  options_.columns = "3";
  options_.dedupe = true;
  options_.spacing = 1;
  const BuiltSheet sheet = built();
  EXPECT_EQ(sheet.width, 8);  // four cells, three to a row
  EXPECT_EQ(sheet.height, 5);
  const int64_t places[][2] = {{0, 0}, {0, 0}, {3, 0}, {6, 0}, {0, 3}, {0, 0}, {0, 3}, {0, 3}};
  ASSERT_EQ(sheet.frames.size(), std::size(places));
  for (size_t i = 0; i < sheet.frames.size(); ++i) {
    EXPECT_EQ(sheet.frames[i], whole(static_cast<int64_t>(i) + 1, "f" + std::to_string(i) + ".png",
                                     places[i][0], places[i][1], 2, 2));
  }
  const std::optional<RgbaImage> image = decodePng(options_.savePath);
  ASSERT_TRUE(image);
  EXPECT_EQ(pixelAt(*image, 1, 1), (Rgba{200, 0, 0, 255}));
  EXPECT_EQ(pixelAt(*image, 4, 1), (Rgba{0, 200, 0, 255}));
  EXPECT_EQ(pixelAt(*image, 7, 1), (Rgba{0, 201, 0, 255}));
  EXPECT_EQ(pixelAt(*image, 1, 4), (Rgba{0, 0, 0, 0}));

  // Without it every frame has a cell of its own.
  options_.dedupe = false;
  EXPECT_EQ(built().height, 8);
}

// The limit holds for the cells, not for the frames: a long held frame fits.
TEST_F(BuildSheetTest, SharedCellsDecideTheSizeLimit) {
  options_.strip = true;
  frames(130, 64, 1);  // 8,320 pixels wide, one frame each
  EXPECT_EQ(refused().problem, kSizeLimit);
  options_.dedupe = true;
  const BuiltSheet sheet = built();
  EXPECT_EQ(sheet.width, 64);
  EXPECT_EQ(sheet.frames.size(), 130u);
  // Differing sizes are refused as ever.
  frame("g.png", solidImage(2, 2, {}));
  EXPECT_EQ(refused().problem, kSizeError);
}

}  // namespace
}  // namespace oz
