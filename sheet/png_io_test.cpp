#include "sheet/png_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <zlib.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "base/dir_listing.h"
#include "sheet/png_chunks.h"
#include "sheet/quantiser/reduction.h"
#include "sheet/test_fixtures.h"
#include "testsupport/claimed_size.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using testing::inflateImageData;
using testing::pixelAt;
using testing::readChunks;
using testing::Rgba;
using testing::solidImage;

std::vector<std::string> chunkTypes(const std::vector<testing::PngChunk>& chunks) {
  std::vector<std::string> types;
  for (const auto& chunk : chunks) {
    if (types.empty() || types.back() != chunk.type) types.push_back(chunk.type);
  }
  return types;
}

class PngIoTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return dir_.path() + name; }

  testing::ScopedTempDir dir_;
};

// The golden files below hold no colour under a transparent pixel; RGBA output
// keeps it, and every other byte, as it is.
TEST_F(PngIoTest, RgbaOutputKeepsEveryByte) {
  const RgbaImage image{3, 2, {10, 20, 30, 0, 200, 100, 0,   128, 1, 2, 3, 255,  // top row
                               0,  0,  0,  0, 255, 255, 255, 1,   7, 8, 9, 254}};
  ASSERT_EQ(encodePng(image, path("out.png"), 32, 0), PngWriteStatus::Written);
  const auto back = decodePng(path("out.png"));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 3);
  EXPECT_EQ(back->pixels, image.pixels);
}

// An image of fewer colours than the palette holds comes back exactly from the
// k-means palette, decoded by libpng; the network's palette only comes near.
TEST_F(PngIoTest, KMeansPaletteHoldsAFewColoursExactly) {
  RgbaImage image{40, 30, {}};
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) {
      const int k = (x / 5 + y / 6 * 8) % 37;
      image.pixels.insert(image.pixels.end(),
                          {static_cast<uint8_t>(k * 7), static_cast<uint8_t>(255 - k * 5),
                           static_cast<uint8_t>(k * k % 256), 255});
    }
  }
  for (int32_t ditherFlag : {0, kDitherFlag}) {
    ASSERT_EQ(encodePng(image, path("k.png"), 8, ditherFlag, PngCompression::Default, nullptr,
                        PaletteQuantiser::KMeans),
              PngWriteStatus::Written);
    const auto back = decodePng(path("k.png"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->pixels, image.pixels) << ditherFlag;
  }
  ASSERT_EQ(encodePng(image, path("n.png"), 8, 0), PngWriteStatus::Written);
  EXPECT_NE(decodePng(path("n.png"))->pixels, image.pixels);
}

TEST_F(PngIoTest, FailedWritesLeaveNothingBehind) {
  const RgbaImage image = solidImage(4, 4, {1, 2, 3, 255});
  EXPECT_EQ(encodePng(image, "", 32, 0), PngWriteStatus::EmptyPath);
  EXPECT_EQ(encodePng(image, path("sheet.png"), 16, 0), PngWriteStatus::BadImage);
  EXPECT_EQ(encodePng(RgbaImage{}, path("sheet.png"), 32, 0), PngWriteStatus::BadImage);
  EXPECT_EQ(encodePng(image, path("missing/sheet.png"), 32, 0), PngWriteStatus::CannotCreate);
  // A directory in the way is never written; it stays as it was.
  ASSERT_EQ(mkdir(path("taken.png").c_str(), 0755), 0);
  EXPECT_EQ(encodePng(image, path("taken.png"), 24, 0), PngWriteStatus::CannotCreate);
  EXPECT_EQ(listDirectory(dir_.path()), std::vector<std::string>{"taken.png"});
}

// Every output form of a small sprite sheet, as the writer wrote them before its
// compression changed, in testdata/sheet_writer: what a reader sees must not change.
struct OutputForm {
  const char* golden;
  int32_t bits;
  int32_t ditherFlag;
};
const OutputForm kForms[] = {{"rgba", 32, 0},    {"rgb", 24, 0},
                             {"palette8", 8, 0}, {"palette8-dithered", 8, kDitherFlag},
                             {"palette4", 4, 0}, {"palette4-dithered", 4, kDitherFlag},
                             {"palette1", 1, 0}};

TEST_F(PngIoTest, HeaderPaletteAndRowsAreThoseOfTheEarlierWriter) {
  const RgbaImage image = testing::spriteSheetImage(61, 37);
  for (const OutputForm& form : kForms) {
    SCOPED_TRACE(form.golden);
    const std::string golden =
        testing::readFile(std::string(OZ_TESTDATA_DIR "/sheet_writer/") + form.golden + ".png");
    ASSERT_EQ(encodePng(image, path("out.png"), form.bits, form.ditherFlag),
              PngWriteStatus::Written);
    const std::string written = testing::readFile(path("out.png"));
    EXPECT_TRUE(testing::chunkCrcsMatch(written));
    const auto expected = readChunks(golden);
    const auto actual = readChunks(written);
    ASSERT_EQ(chunkTypes(actual), chunkTypes(expected));
    for (size_t i = 0; i < actual.size() && actual[i].type != "IDAT"; ++i) {
      EXPECT_EQ(actual[i].data, expected[i].data) << actual[i].type;  // IHDR, PLTE
    }
    EXPECT_EQ(inflateImageData(actual), inflateImageData(expected));
  }
}

// A sprite sheet's image data compresses to no more than zlib's level 9 gives
// for the very same rows: index rows always, RGBA and RGB rows (compressed
// fast, for speed) within 1%. The smallest form holds the same pixels in no
// more bytes.
TEST_F(PngIoTest, ImageDataIsNoLargerThanZlibLevel9GivesAndSmallestNoLargerStill) {
  const RgbaImage image = testing::spriteSheetImage(256, 192);
  for (const OutputForm& form : kForms) {
    SCOPED_TRACE(form.golden);
    ASSERT_EQ(encodePng(image, path("fast.png"), form.bits, form.ditherFlag),
              PngWriteStatus::Written);
    ASSERT_EQ(
        encodePng(image, path("small.png"), form.bits, form.ditherFlag, PngCompression::Smallest),
        PngWriteStatus::Written);
    const std::string fast = testing::readFile(path("fast.png"));
    const std::string small = testing::readFile(path("small.png"));
    const auto chunks = readChunks(fast);
    size_t compressed = 0;
    for (const auto& chunk : chunks) compressed += chunk.type == "IDAT" ? chunk.data.size() : 0;
    const std::string rows = inflateImageData(chunks);
    std::vector<uint8_t> level9(compressBound(rows.size()));
    uLongf level9Size = level9.size();
    ASSERT_EQ(compress2(level9.data(), &level9Size, reinterpret_cast<const Bytef*>(rows.data()),
                        rows.size(), 9),
              Z_OK);
    EXPECT_LE(compressed, form.bits <= 8 ? level9Size : level9Size + level9Size / 100);
    EXPECT_TRUE(testing::chunkCrcsMatch(small));
    EXPECT_LE(small.size(), fast.size());
    const auto fastImage = decodePng(path("fast.png"));
    const auto smallImage = decodePng(path("small.png"));
    ASSERT_TRUE(fastImage && smallImage);
    EXPECT_TRUE(fastImage->pixels == smallImage->pixels);
  }
}

// Writing runs into the file-size limit: the write fails, and the file that was
// there keeps every byte.
TEST_F(PngIoTest, FailingWriteLeavesTheOldFileWhole) {
  const std::string sheet = path("sheet.png");
  testing::writeFile(sheet, "the old sheet");
  // Noise does not compress: far more than 4 KiB at every depth.
  RgbaImage noise = solidImage(128, 128, {0, 0, 0, 255});
  uint32_t state = 1;
  for (uint8_t& byte : noise.pixels) byte = static_cast<uint8_t>((state = state * 69069 + 1) >> 24);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit low = saved;
  low.rlim_cur = 4096;
  const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);  // fail the write, not the process
  for (int32_t bits : {32, 24, 8}) {
    SCOPED_TRACE(bits);
    setrlimit(RLIMIT_FSIZE, &low);
    const PngWriteStatus status = encodePng(noise, sheet, bits, 0);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_TRUE(status == PngWriteStatus::EncodingFailed ||
                status == PngWriteStatus::CannotReplace);
    EXPECT_EQ(testing::readFile(sheet), "the old sheet");
    EXPECT_EQ(listDirectory(dir_.path()), std::vector<std::string>{"sheet.png"});
  }
  std::signal(SIGXFSZ, savedHandler);
}

TEST_F(PngIoTest, ReportsEachRowWritten) {
  std::vector<int32_t> rows;
  EXPECT_EQ(encodePng(solidImage(2, 3, {}), path("a.png"), 32, 0, PngCompression::Default,
                      [&](int32_t n) { rows.push_back(n); }),
            PngWriteStatus::Written);
  EXPECT_EQ(rows, (std::vector<int32_t>{1, 2, 3}));
}

// The bytes of a 1-bit grey PNG, every pixel black, its rows deflated at level
// 9: about as close to deflate's best ratio as a real file comes.
std::string blackOneBitPng(uint32_t width, uint32_t height) {
  const std::string rows((width + 7) / 8 * height + height, '\0');
  std::vector<uint8_t> deflated(compressBound(rows.size()));
  uLongf size = deflated.size();
  compress2(deflated.data(), &size, reinterpret_cast<const Bytef*>(rows.data()), rows.size(), 9);
  char* bytes = nullptr;
  size_t length = 0;
  FILE* file = open_memstream(&bytes, &length);
  const std::span<const uint8_t> imageData[] = {std::span(deflated.data(), size)};
  EXPECT_TRUE(writePngChunks(file, {width, height, 1, 0}, {}, imageData));
  std::fclose(file);
  std::string png(bytes, length);
  std::free(bytes);
  return png;
}

// A header may claim any size; a file too short for that many pixels, even at
// deflate's best ratio, is known never to decode before its pixels are read.
TEST_F(PngIoTest, FileTooShortForItsClaimedSizeIsFoundWithoutDecoding) {
  testing::writeFrame(path("1x1.png"), solidImage(1, 1, {1, 2, 3, 4}));
  const std::string tiny = testing::readFile(path("1x1.png"));
  struct Case {
    std::string name;
    std::string bytes;
    PngSize size;
    std::optional<bool> decodes;  // not tried when the image is too large for a test
  };
  const Case cases[] = {
      {"true.png", tiny, {1, 1, false}, true},
      {"claims_8192.png", testing::withClaimedSize(tiny, 8192, 8192), {8192, 8192, true}, false},
      {"claims_1x1000.png", testing::withClaimedSize(tiny, 1, 1000), {1, 1000, false}, false},
      {"claims_1x100000.png", testing::withClaimedSize(tiny, 1, 100000), {1, 100000, true}, false},
      {"claims_100000x1.png", testing::withClaimedSize(tiny, 100000, 1), {100000, 1, true}, false},
      // Files at the edge of the ratio are not mistaken for short ones.
      {"black_1024.png", blackOneBitPng(1024, 1024), {1024, 1024, false}, true},
      {"black_8192.png", blackOneBitPng(8192, 8192), {8192, 8192, false}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::writeFile(path(c.name), c.bytes);
    EXPECT_EQ(readPngSize(path(c.name)), c.size);
    if (!c.decodes) continue;
    const std::optional<RgbaImage> image = decodePng(path(c.name));
    EXPECT_EQ(image.has_value(), *c.decodes);
    if (image && c.name.starts_with("black")) {
      EXPECT_EQ(pixelAt(*image, 1023, 1023), (Rgba{0, 0, 0, 255}));
    }
  }
}

}  // namespace
}  // namespace oz
