#include "sheet/png/png_read.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sheet/png/png_chunks.h"
#include "sheet/png/test_fixtures.h"
#include "testsupport/claimed_size.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using testing::chunk;
using testing::pixelAt;
using testing::Rgba;
using testing::solidImage;

class PngReadTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return dir_.path() + name; }

  testing::ScopedTempDir dir_;
};

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
  EXPECT_TRUE(writePngChunks(file, {width, height, 1, PngColorType::Grey}, {}, {}, imageData));
  std::fclose(file);
  std::string png(bytes, length);
  std::free(bytes);
  return png;
}

// A header may claim any size; a file too short for that many pixels, even at
// deflate's best ratio, is known never to decode before its pixels are read.
TEST_F(PngReadTest, FileTooShortForItsClaimedSizeIsFoundWithoutDecoding) {
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

// Deflates `input` onto `stream`, flushing with `flush`; the bytes made.
std::string deflateMore(z_stream& stream, std::string input, int flush) {
  std::string out(deflateBound(&stream, static_cast<uLong>(input.size())) + 64, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(input.data());
  stream.avail_in = static_cast<uInt>(input.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  EXPECT_NE(deflate(&stream, flush), Z_STREAM_ERROR);
  out.resize(out.size() - stream.avail_out);
  return out;
}

// An RGBA frame whose image data goes on after its last row, in a second IDAT
// chunk whose CRC is wrong, with 64 KB that hardly compress.
// `filteredRows` is the rows' data (each with its filter byte), in the order of
// the interlace passes when `interlaced`.
std::string frameWithTrailingData(uint32_t width, uint32_t height, bool interlaced,
                                  const std::string& filteredRows) {
  z_stream stream{};
  EXPECT_EQ(deflateInit(&stream, 9), Z_OK);
  const std::string head =
      deflateMore(stream, filteredRows + std::string(4096, '\0'), Z_SYNC_FLUSH);
  std::string noise(64 * 1024, '\0');
  uint32_t seed = 1;
  for (char& byte : noise) byte = static_cast<char>((seed = seed * 1103515245 + 12345) >> 16);
  const std::string tail = deflateMore(stream, noise, Z_FINISH);
  deflateEnd(&stream);
  std::string header;
  for (uint32_t side : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8)
      header += static_cast<char>((side >> shift) & 0xff);
  }
  header += std::string{8, 6, 0, 0, static_cast<char>(interlaced ? 1 : 0)};
  return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", head) +
         chunk("IDAT", tail, false) + chunk("IEND", "");
}

// Nothing after a frame's last row can change a pixel: beyond the few bytes
// where its image data ends and its checksum stands, it is not read, so it
// costs nothing however long it is, and a fault in it is not seen.
TEST_F(PngReadTest, ImageDataAfterTheLastRowIsNotRead) {
  const std::string a("\x10\x20\x30\xff", 4), b("\x40\x50\x60\x80", 4);
  const std::string c("\x70\x80\x90\x00", 4), d("\xa0\xb0\xc0\x01", 4);
  struct Case {
    const char* name;
    bool interlaced;
    std::string rows;  // 2 x 2 pixels a b / c d, unfiltered
  };
  const Case cases[] = {
      {"plain.png", false, '\0' + a + b + '\0' + c + d},
      // Adam7 on 2 x 2: pass 1 holds a, pass 6 holds b, pass 7 holds c and d.
      {"interlaced.png", true, '\0' + a + '\0' + b + '\0' + c + d},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    testing::writeFile(path(k.name), frameWithTrailingData(2, 2, k.interlaced, k.rows));
    const std::optional<RgbaImage> image = decodePng(path(k.name));
    ASSERT_TRUE(image);
    const std::string pixels(image->pixels.begin(), image->pixels.end());
    EXPECT_EQ(pixels, a + b + c + d);
  }
}

}  // namespace
}  // namespace oz
