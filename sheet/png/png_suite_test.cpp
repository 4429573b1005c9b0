// The standard PNG test images, decoded both by the program and by a small
// reference decoder written here from the PNG format's own rules (zlib only,
// no libpng), which applies the program's decoding rules directly: tRNS becomes
// alpha, 16-bit samples keep their high byte, grey and palette expand to RGB,
// Adam7 passes are put back in place, and no gamma is applied.
#include <gtest/gtest.h>

#include <optional>

#include "base/dir_listing.h"
#include "sheet/png/png_read.h"
#include "sheet/png/test_fixtures.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using testing::PngChunk;

const std::string kSuite = OZ_TESTDATA_DIR "/pngsuite/";

uint32_t bigEndian(const std::string& s, size_t at, int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value = value << 8 | static_cast<uint8_t>(s[at + i]);
  return value;
}

std::optional<RgbaImage> referenceDecode(const std::string& path) {
  const std::vector<PngChunk> chunks = testing::readChunks(testing::readFile(path));
  if (chunks.empty() || chunks[0].type != "IHDR") return std::nullopt;
  std::string palette, trns;
  for (const PngChunk& chunk : chunks) {
    if (chunk.type == "PLTE") palette = chunk.data;
    if (chunk.type == "tRNS") trns = chunk.data;
  }
  const std::string& ihdr = chunks[0].data;
  const uint32_t width = bigEndian(ihdr, 0, 4), height = bigEndian(ihdr, 4, 4);
  const int depth = ihdr[8], colorType = ihdr[9];
  const bool interlaced = ihdr[12] == 1;
  const int channels = colorType == 2 ? 3 : colorType == 4 ? 2 : colorType == 6 ? 4 : 1;
  const size_t bitsPerPixel = static_cast<size_t>(channels) * depth;
  const size_t filterStep = std::max<size_t>(1, bitsPerPixel / 8);
  const std::string data = testing::inflateImageData(chunks);

  RgbaImage image =
      testing::solidImage(static_cast<int32_t>(width), static_cast<int32_t>(height), {0, 0, 0, 0});
  // Full-precision sample c of the pixel starting at bit `bit` of `row`.
  const auto sample = [&](const std::string& row, size_t bit, int c) -> uint32_t {
    const size_t at = bit + static_cast<size_t>(c) * depth;
    if (depth == 16) return bigEndian(row, at / 8, 2);
    if (depth == 8) return static_cast<uint8_t>(row[at / 8]);
    return (static_cast<uint8_t>(row[at / 8]) >> (8 - depth - at % 8)) & ((1u << depth) - 1);
  };
  // A sample scaled to 8 bits: low depths repeat their bits, 16 keeps the high byte.
  const auto to8 = [&](uint32_t v) -> uint8_t {
    if (depth == 16) return static_cast<uint8_t>(v >> 8);
    return static_cast<uint8_t>(v * 255 / ((1u << depth) - 1));
  };

  struct Pass {
    uint32_t x0, y0, dx, dy;
  };
  const std::vector<Pass> passes =
      interlaced ? std::vector<Pass>{{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                     {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}
                 : std::vector<Pass>{{0, 0, 1, 1}};
  size_t at = 0;
  for (const Pass& pass : passes) {
    const uint32_t columns = width > pass.x0 ? (width - pass.x0 + pass.dx - 1) / pass.dx : 0;
    const uint32_t rows = height > pass.y0 ? (height - pass.y0 + pass.dy - 1) / pass.dy : 0;
    if (columns == 0 || rows == 0) continue;
    const size_t rowBytes = (columns * bitsPerPixel + 7) / 8;
    std::string previous(rowBytes, '\0');
    for (uint32_t r = 0; r < rows; ++r) {
      if (at + 1 + rowBytes > data.size()) return std::nullopt;
      const int filter = data[at];
      std::string row = data.substr(at + 1, rowBytes);
      at += 1 + rowBytes;
      testing::unfilterRow(filter, reinterpret_cast<uint8_t*>(row.data()),
                           reinterpret_cast<const uint8_t*>(previous.data()), rowBytes, filterStep);
      previous = row;
      for (uint32_t col = 0; col < columns; ++col) {
        const size_t bit = col * bitsPerPixel;
        uint8_t* out = image.pixel(static_cast<int32_t>(pass.x0 + col * pass.dx),
                                   static_cast<int32_t>(pass.y0 + r * pass.dy));
        if (colorType == 3) {
          const uint32_t index = sample(row, bit, 0);
          for (int k = 0; k < 3; ++k) out[k] = static_cast<uint8_t>(palette[index * 3 + k]);
          out[3] = index < trns.size() ? static_cast<uint8_t>(trns[index]) : 255;
          continue;
        }
        const bool grey = colorType == 0 || colorType == 4;
        for (int k = 0; k < 3; ++k) out[k] = to8(sample(row, bit, grey ? 0 : k));
        out[3] = (colorType & 4) != 0 ? to8(sample(row, bit, grey ? 1 : 3)) : 255;
        if (!trns.empty() && (colorType & 4) == 0) {
          bool match = true;
          for (int k = 0; k < (grey ? 1 : 3); ++k)
            match &= sample(row, bit, k) == bigEndian(trns, 2 * k, 2);
          if (match) out[3] = 0;
        }
      }
    }
  }
  return image;
}

// Files whose names start with "x" are the suite's corrupt ones.
TEST(PngSuiteTest, EveryValidImageDecodesByTheRulesAndNoCorruptOne) {
  int valid = 0, corrupt = 0;
  for (const std::string& name : listMatching(kSuite, "*.png")) {
    SCOPED_TRACE(name);
    const std::optional<RgbaImage> decoded = decodePng(kSuite + name);
    if (name[0] == 'x') {
      EXPECT_FALSE(decoded);
      ++corrupt;
      continue;
    }
    const std::optional<RgbaImage> expected = referenceDecode(kSuite + name);
    ASSERT_TRUE(expected && decoded);
    EXPECT_EQ(decoded->width, expected->width);
    EXPECT_EQ(decoded->height, expected->height);
    EXPECT_TRUE(decoded->pixels == expected->pixels);
    EXPECT_EQ(readPngSize(kSuite + name), (PngSize{decoded->width, decoded->height}));
    ++valid;
  }
  EXPECT_EQ(valid, 161);
  EXPECT_EQ(corrupt, 14);
}

}  // namespace
}  // namespace oz
