#include "sheet/png/png_write.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdio>
#include <random>

#include "base/dir_listing.h"
#include "sheet/png/png_read.h"
#include "sheet/png/test_fixtures.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using testing::readChunks;
using testing::Rgba;
using testing::solidImage;

// Index rows given whole, as a reduction would hand them out one by one.
class GivenRows final : public IndexRows {
 public:
  explicit GivenRows(std::vector<std::vector<uint8_t>> rows) : rows_(std::move(rows)) {}
  std::span<const uint8_t> row(int32_t y) override { return rows_.at(static_cast<size_t>(y)); }

 private:
  std::vector<std::vector<uint8_t>> rows_;
};

// A palette image of `entries` grey entries whose rows all hold `rowBytes`.
IndexedImage indexed(int32_t width, int32_t height, PaletteBitDepth depth, size_t entries,
                     std::vector<uint8_t> rowBytes = {}) {
  IndexedImage image{width, height, depth, {}, nullptr};
  for (size_t i = 0; i < entries; ++i) {
    const auto v = static_cast<uint8_t>(i * 255 / (entries > 1 ? entries - 1 : 1));
    image.palette.push_back({v, v, v, 255});
  }
  image.rows = std::make_unique<GivenRows>(
      std::vector<std::vector<uint8_t>>(static_cast<size_t>(height), rowBytes));
  return image;
}

class PngWriteTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return dir_.path() + name; }

  testing::ScopedTempDir dir_;
};

TEST_F(PngWriteTest, RgbaOutputKeepsEveryByte) {
  const RgbaImage image{3, 2, {10, 20, 30, 0, 200, 100, 0,   128, 1, 2, 3, 255,  // top row
                               0,  0,  0,  0, 255, 255, 255, 1,   7, 8, 9, 254}};
  ASSERT_EQ(encodePng(image, path("out.png")), PngWriteStatus::Written);
  const auto back = decodePng(path("out.png"));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 3);
  EXPECT_EQ(back->pixels, image.pixels);
}

// The fast form compresses index rows as fast as sample rows: another zlib
// stream of the same pixels. Sample rows come out as the default form's.
TEST_F(PngWriteTest, FastFormChangesOnlyHowIndexRowsAreCompressed) {
  constexpr int32_t kWidth = 256;
  constexpr int32_t kHeight = 96;
  // Runs and repeats at many distances, some noise: a harder search finds
  // longer matches than the fast levels do.
  std::mt19937 random(5);
  std::vector<std::vector<uint8_t>> rows(kHeight, std::vector<uint8_t>(kWidth));
  for (size_t y = 0; y < rows.size(); ++y) {
    for (size_t x = 0; x < kWidth; ++x) {
      rows[y][x] = random() % 5 == 0 ? static_cast<uint8_t>(random())
                                     : static_cast<uint8_t>((x / (1 + y % 7) + y * y) % 37);
    }
  }
  const auto write = [&](PngCompression compression, const std::string& name) {
    IndexedImage image = indexed(kWidth, kHeight, PaletteBitDepth::Eight, 256);
    image.rows = std::make_unique<GivenRows>(rows);
    EXPECT_EQ(encodePng(std::move(image), path(name), compression), PngWriteStatus::Written);
    return testing::readFile(path(name));
  };
  EXPECT_NE(write(PngCompression::Default, "default.png"), write(PngCompression::Fast, "fast.png"));
  const auto slow = decodePng(path("default.png"));
  const auto fast = decodePng(path("fast.png"));
  ASSERT_TRUE(slow && fast);
  EXPECT_EQ(fast->pixels, slow->pixels);

  RgbaImage samples{kWidth, kHeight, {}};
  for (const auto& row : rows) {
    for (uint8_t v : row) samples.pixels.insert(samples.pixels.end(), {v, 3, v, 255});
  }
  ASSERT_EQ(encodePng(samples, path("default.png"), PngCompression::Default),
            PngWriteStatus::Written);
  ASSERT_EQ(encodePng(samples, path("fast.png"), PngCompression::Fast), PngWriteStatus::Written);
  EXPECT_EQ(testing::readFile(path("fast.png")), testing::readFile(path("default.png")));
}

TEST_F(PngWriteTest, RgbOutputKeepsEveryColour) {
  const RgbImage image{2, 2, {10, 20, 30, 200, 100, 0, 0, 0, 0, 255, 255, 254}};
  ASSERT_EQ(encodePng(image, path("out.png")), PngWriteStatus::Written);
  EXPECT_EQ(readChunks(testing::readFile(path("out.png")))[0].data[9], 2);  // colour type RGB
  const auto back = decodePng(path("out.png"));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->pixels, (std::vector<uint8_t>{10, 20, 30, 255, 200, 100, 0, 255,  //
                                                0, 0, 0, 255, 255, 255, 254, 255}));
}

// Palette rows are written as packed, and libpng reads them back through the palette.
TEST_F(PngWriteTest, PaletteRowsAreStoredAsHanded) {
  // 4 bits, 3 pixels: indices 15, 0, 8; the low nibble of the last byte unused.
  ASSERT_EQ(encodePng(indexed(3, 2, PaletteBitDepth::Four, 16, {0xF0, 0x80}), path("out.png")),
            PngWriteStatus::Written);
  const auto chunks = readChunks(testing::readFile(path("out.png")));
  ASSERT_GE(chunks.size(), 3u);
  EXPECT_EQ(chunks[0].data.substr(8, 2), std::string("\x04\x03", 2));  // bit depth, palette
  EXPECT_EQ(chunks[1].type, "PLTE");
  EXPECT_EQ(chunks[1].data.size(), 16u * 3);
  EXPECT_EQ(chunks[2].type, "IDAT");  // opaque palettes carry no tRNS
  EXPECT_EQ(testing::inflateImageData(chunks), std::string("\0\xF0\x80\0\xF0\x80", 6));
  const auto back = decodePng(path("out.png"));
  ASSERT_TRUE(back);
  EXPECT_EQ(testing::pixelAt(*back, 0, 1), (Rgba{255, 255, 255, 255}));
  EXPECT_EQ(testing::pixelAt(*back, 1, 1), (Rgba{0, 0, 0, 255}));
  EXPECT_EQ(testing::pixelAt(*back, 2, 0), (Rgba{136, 136, 136, 255}));
}

// Alphas below 255 go into tRNS, up to the last such entry; libpng reads them back.
TEST_F(PngWriteTest, PaletteAlphasGoIntoTrnsWithoutTrailingOpaqueEntries) {
  IndexedImage image = indexed(4, 1, PaletteBitDepth::Eight, 5, {0, 1, 2, 4});
  image.palette[1].alpha = 0;
  image.palette[2].alpha = 128;
  ASSERT_EQ(encodePng(std::move(image), path("out.png")), PngWriteStatus::Written);
  const auto chunks = readChunks(testing::readFile(path("out.png")));
  ASSERT_GE(chunks.size(), 4u);
  EXPECT_EQ(chunks[1].type, "PLTE");
  EXPECT_EQ(chunks[1].data.size(), 5u * 3);
  EXPECT_EQ(chunks[2].type, "tRNS");
  EXPECT_EQ(chunks[2].data, std::string("\xFF\x00\x80", 3));
  EXPECT_EQ(chunks[3].type, "IDAT");
  const auto back = decodePng(path("out.png"));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->pixels, (std::vector<uint8_t>{0, 0, 0, 255, 63, 63, 63, 0,  //
                                                127, 127, 127, 128, 255, 255, 255, 255}));
}

TEST_F(PngWriteTest, FailedWritesLeaveNothingBehind) {
  const RgbaImage image = solidImage(4, 4, {1, 2, 3, 255});
  EXPECT_EQ(encodePng(image, ""), PngWriteStatus::EmptyPath);
  EXPECT_EQ(encodePng(RgbaImage{}, path("sheet.png")), PngWriteStatus::BadImage);
  EXPECT_EQ(encodePng(RgbImage{4, 4, std::vector<uint8_t>(4 * 4 * 4)}, path("sheet.png")),
            PngWriteStatus::BadImage);
  // A 1-bit palette holds two entries at most.
  EXPECT_EQ(encodePng(indexed(4, 4, PaletteBitDepth::One, 3, {0}), path("sheet.png")),
            PngWriteStatus::BadImage);
  EXPECT_EQ(encodePng(image, path("missing/sheet.png")), PngWriteStatus::CannotCreate);
  // A directory in the way is never written; it stays as it was.
  ASSERT_EQ(mkdir(path("taken.png").c_str(), 0755), 0);
  EXPECT_EQ(encodePng(image, path("taken.png")), PngWriteStatus::CannotCreate);
  EXPECT_EQ(listDirectory(dir_.path()), std::vector<std::string>{"taken.png"});
}

// Writing runs into the file-size limit: the write fails, and the file that was
// there keeps every byte.
TEST_F(PngWriteTest, FailingWriteLeavesTheOldFileWhole) {
  const std::string sheet = path("sheet.png");
  testing::writeFile(sheet, "the old sheet");
  // Noise does not compress: far more than 4 KiB in every form.
  constexpr int32_t kSide = 128;
  std::vector<uint8_t> noise(kSide * kSide * 4);
  uint32_t state = 1;
  for (uint8_t& byte : noise) byte = static_cast<uint8_t>((state = state * 69069 + 1) >> 24);
  const auto make = [&](int form) -> PngPixels {
    if (form == 0) return RgbaImage{kSide, kSide, noise};
    if (form == 1)
      return RgbImage{kSide, kSide, {noise.begin(), noise.begin() + kSide * kSide * 3}};
    IndexedImage image = indexed(kSide, kSide, PaletteBitDepth::Eight, 256);
    std::vector<std::vector<uint8_t>> rows;
    for (int32_t y = 0; y < kSide; ++y)
      rows.emplace_back(&noise[y * kSide], &noise[(y + 1) * kSide]);
    image.rows = std::make_unique<GivenRows>(std::move(rows));
    return image;
  };
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit low = saved;
  low.rlim_cur = 4096;
  const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);  // fail the write, not the process
  for (int form = 0; form < 3; ++form) {
    SCOPED_TRACE(form);
    PngPixels pixels = make(form);
    setrlimit(RLIMIT_FSIZE, &low);
    const PngWriteStatus status = encodePng(std::move(pixels), sheet);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_TRUE(status == PngWriteStatus::EncodingFailed ||
                status == PngWriteStatus::CannotReplace);
    EXPECT_EQ(testing::readFile(sheet), "the old sheet");
    EXPECT_EQ(listDirectory(dir_.path()), std::vector<std::string>{"sheet.png"});
  }
  std::signal(SIGXFSZ, savedHandler);
}

// Each row is reported as it is written, the last once more when the data is
// compressed. Stopped at any of those reports, the old file stays as it was
// and nothing is left beside it; nothing is asked after the stop.
TEST_F(PngWriteTest, ReportsEachRowAndStoppingLeavesTheOldFile) {
  const std::string sheet = path("sheet.png");
  const std::vector<int32_t> reports{1, 2, 3, 3};
  for (int form = 0; form < 2; ++form) {
    for (const bool smallest : {false, true}) {
      for (size_t stopAt = 1; stopAt <= reports.size() + 1; ++stopAt) {  // the last never stops
        SCOPED_TRACE(::testing::Message() << form << smallest << stopAt);
        testing::writeFile(sheet, "the old sheet");
        PngPixels pixels = solidImage(2, 3, {});
        if (form == 1) pixels = indexed(2, 3, PaletteBitDepth::One, 2, {0});
        std::vector<int32_t> reported;
        const PngWriteStatus status = encodePng(
            std::move(pixels), sheet, smallest ? PngCompression::Smallest : PngCompression::Default,
            [&](int32_t n) {
              reported.push_back(n);
              return reported.size() < stopAt;
            });
        const size_t asked = std::min(stopAt, reports.size());
        EXPECT_EQ(reported, std::vector<int32_t>(reports.begin(), reports.begin() + asked));
        EXPECT_EQ(listDirectory(dir_.path()), std::vector<std::string>{"sheet.png"});
        if (stopAt > reports.size()) {
          EXPECT_EQ(status, PngWriteStatus::Written);
          continue;
        }
        EXPECT_EQ(status, PngWriteStatus::Stopped);
        EXPECT_EQ(testing::readFile(sheet), "the old sheet");
      }
    }
  }
}

}  // namespace
}  // namespace oz
