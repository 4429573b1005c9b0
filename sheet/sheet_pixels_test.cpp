#include "sheet/sheet_pixels.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "sheet/png/png_read.h"
#include "sheet/png/test_fixtures.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using testing::inflateImageData;
using testing::readChunks;

std::vector<std::string> chunkTypes(const std::vector<testing::PngChunk>& chunks) {
  std::vector<std::string> types;
  for (const auto& chunk : chunks) {
    if (types.empty() || types.back() != chunk.type) types.push_back(chunk.type);
  }
  return types;
}

TEST(SheetEncodingTest, FollowsTheDepth) {
  struct Expected {
    int32_t depth;
    SheetForm form;
    bool dithers;
  };
  const Expected table[] = {
      {kDepth32, SheetForm::Rgba, false},   {kDepth24, SheetForm::Rgb, false},
      {kDepth8, SheetForm::Palette8, true}, {kDepth4, SheetForm::Palette4, true},
      {kDepth1, SheetForm::Palette1, true}, {kDepthAlpha, SheetForm::Rgb, false}};
  for (const Expected& e : table) {
    SpriteOptions options;
    options.colorDepth = e.depth;
    options.dithering = true;
    EXPECT_EQ(sheetEncoding(options).form, e.form) << e.depth;
    EXPECT_EQ(sheetEncoding(options).dither, e.dithers) << e.depth;
    options.dithering = false;
    EXPECT_FALSE(sheetEncoding(options).dither) << e.depth;
  }
}

class SheetPixelsTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return dir_.path() + name; }

  // Writes `image` to `name` in `encoding`'s form.
  void write(const RgbaImage& image, const SheetEncoding& encoding, const std::string& name,
             PngCompression compression = PngCompression::Default) {
    std::optional<PngPixels> pixels = sheetPixels(image, encoding);
    ASSERT_TRUE(pixels);
    ASSERT_EQ(encodePng(std::move(*pixels), path(name), compression), PngWriteStatus::Written);
  }

  testing::ScopedTempDir dir_;
};

// Every output form of a small sprite sheet, as the writer wrote them before its
// compression changed, in testdata/sheet_writer: what a reader sees must not change.
struct OutputForm {
  const char* golden;
  SheetEncoding encoding;
};
const OutputForm kForms[] = {
    {"rgba", {SheetForm::Rgba, false}},         {"rgb", {SheetForm::Rgb, false}},
    {"palette8", {SheetForm::Palette8, false}}, {"palette8-dithered", {SheetForm::Palette8, true}},
    {"palette4", {SheetForm::Palette4, false}}, {"palette4-dithered", {SheetForm::Palette4, true}},
    {"palette1", {SheetForm::Palette1, false}}};

TEST_F(SheetPixelsTest, HeaderPaletteAndRowsAreThoseOfTheEarlierWriter) {
  const RgbaImage image = testing::spriteSheetImage(61, 37);
  for (const OutputForm& form : kForms) {
    SCOPED_TRACE(form.golden);
    const std::string golden =
        testing::readFile(std::string(OZ_TESTDATA_DIR "/sheet_writer/") + form.golden + ".png");
    write(image, form.encoding, "out.png");
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
TEST_F(SheetPixelsTest, ImageDataIsNoLargerThanZlibLevel9GivesAndSmallestNoLargerStill) {
  const RgbaImage image = testing::spriteSheetImage(256, 192);
  for (const OutputForm& form : kForms) {
    SCOPED_TRACE(form.golden);
    write(image, form.encoding, "fast.png");
    write(image, form.encoding, "small.png", PngCompression::Smallest);
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
    const bool palette =
        form.encoding.form != SheetForm::Rgba && form.encoding.form != SheetForm::Rgb;
    EXPECT_LE(compressed, palette ? level9Size : level9Size + level9Size / 100);
    EXPECT_TRUE(testing::chunkCrcsMatch(small));
    EXPECT_LE(small.size(), fast.size());
    const auto fastImage = decodePng(path("fast.png"));
    const auto smallImage = decodePng(path("small.png"));
    ASSERT_TRUE(fastImage && smallImage);
    EXPECT_TRUE(fastImage->pixels == smallImage->pixels);
  }
}

}  // namespace
}  // namespace oz
