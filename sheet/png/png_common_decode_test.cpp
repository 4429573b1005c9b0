#include "sheet/png/png_common_decode.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "base/dir_listing.h"
#include "sheet/png/png_read.h"
#include "sheet/png/row_filter.h"
#include "sheet/png/test_fixtures.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using testing::chunk;

std::optional<RgbaImage> decode(const std::string& file) {
  return decodeCommonPng({reinterpret_cast<const uint8_t*>(file.data()), file.size()});
}

std::string bigEndian(uint32_t value) {
  std::string bytes;
  for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>((value >> shift) & 0xff);
  return bytes;
}

std::string deflated(const std::string& data, int windowBits = 15) {
  z_stream stream{};
  EXPECT_EQ(deflateInit2(&stream, 6, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY), Z_OK);
  std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
  out.resize(out.size() - stream.avail_out);
  deflateEnd(&stream);
  return out;
}

// A frame of `width` x `height` pixels of `channels` bytes (3 or 4), row y
// filtered with filter y mod 5, so that every filter meets every kind of
// neighbour; also the RGBA pixels it holds.
struct Frame {
  std::string header;  // IHDR's data
  std::string rows;    // the filtered rows, each after its filter byte
  std::vector<uint8_t> rgba;
};

Frame filteredFrame(uint32_t width, uint32_t height, int channels) {
  Frame frame;
  frame.header = bigEndian(width) + bigEndian(height) +
                 std::string{8, static_cast<char>(channels == 4 ? 6 : 2), 0, 0, 0};
  const size_t rowBytes = size_t{width} * channels;
  std::vector<uint8_t> previous;
  uint32_t seed = 7;
  for (uint32_t y = 0; y < height; ++y) {
    std::vector<uint8_t> row(rowBytes);
    for (size_t i = 0; i < rowBytes; ++i) {
      // Smooth runs with noise, and bytes near 0 and 255 where sums wrap.
      seed = seed * 1103515245 + 12345;
      row[i] = static_cast<uint8_t>(i * 37 + y * 11 + (seed >> 28) * (i % 3 == 0 ? 60 : 1));
    }
    std::vector<uint8_t> out(rowBytes);
    const auto filter = static_cast<RowFilter>(y % kRowFilterCount);
    filterRow(filter, row.data(), y == 0 ? nullptr : previous.data(), rowBytes,
              static_cast<size_t>(channels), out.data());
    frame.rows += static_cast<char>(filter);
    frame.rows.append(out.begin(), out.end());
    for (size_t x = 0; x < width; ++x) {
      frame.rgba.insert(frame.rgba.end(), row.begin() + x * channels,
                        row.begin() + x * channels + 3);
      frame.rgba.push_back(channels == 4 ? row[x * channels + 3] : 255);
    }
    previous = row;
  }
  return frame;
}

std::string file(const std::string& header, const std::string& beforeData,
                 const std::string& imageData) {
  return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + beforeData +
         chunk("IDAT", imageData) + chunk("IEND", "");
}

TEST(CommonDecodeTest, EveryFilterOfBothFormsGivesTheFramesPixels) {
  for (int channels : {4, 3}) {
    SCOPED_TRACE(channels);
    const Frame frame = filteredFrame(13, 11, channels);
    const std::string compressed = deflated(frame.rows);
    // The image data may be split over several chunks, with ancillary ones before.
    const std::string split = std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", frame.header) +
                              chunk("gAMA", bigEndian(45455)) + chunk("pHYs", "123456789") +
                              chunk("IDAT", compressed.substr(0, 10)) + chunk("IDAT", "") +
                              chunk("IDAT", compressed.substr(10)) + chunk("IEND", "");
    for (const std::string& bytes : {file(frame.header, "", compressed), split}) {
      const std::optional<RgbaImage> image = decode(bytes);
      ASSERT_TRUE(image);
      EXPECT_EQ(image->width, 13);
      EXPECT_EQ(image->height, 11);
      EXPECT_TRUE(image->pixels == frame.rgba);
    }
  }
}

// Whatever it does not read cleanly is left to libpng, which alone decides
// whether such a file decodes and how.
TEST(CommonDecodeTest, OtherFormsAndEveryFaultAreLeftToLibpng) {
  const Frame frame = filteredFrame(6, 5, 4);
  const std::string good = deflated(frame.rows);
  ASSERT_TRUE(decode(file(frame.header, "", good)));
  // A small window is taken where it holds all the rows.
  const Frame wide = filteredFrame(40, 30, 4);
  ASSERT_TRUE(decode(file(frame.header, "", deflated(frame.rows, 9))));
  std::string interlaced = frame.header;
  interlaced[12] = 1;
  std::string sixteenBits = frame.header;
  sixteenBits[8] = 16;
  const std::string large = bigEndian(1449) + bigEndian(1449) + std::string{8, 6, 0, 0, 0};
  std::string badFilter = frame.rows;
  badFilter[0] = 5;
  const std::string cases[] = {
      file(interlaced, "", good),
      file(sixteenBits, "", good),
      file(frame.header, chunk("tRNS", std::string(6, '\0')), good),
      file(frame.header, chunk("PLTE", std::string(3, '\0')), good),
      file(frame.header, chunk("tEXt", "a", false), good),      // a bad checksum before the data
      file(frame.header, "", good.substr(0, good.size() - 1)),  // the check value cut
      file(frame.header, "", good + "x"),                       // more after the stream
      file(frame.header, "", deflated(frame.rows + "x")),       // more than the rows
      file(frame.header, "", deflated(frame.rows.substr(1))),   // fewer
      file(frame.header, "", deflated(badFilter)),
      file(wide.header, "", deflated(wide.rows, 9)),  // rows beyond the window declared
      std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", frame.header) + chunk("IEND", ""),
      // Larger than it inflates at once: libpng takes it a row at a time.
      file(large, "", deflated(std::string((1449 * 4 + 1) * 1449, '\0'))),
  };
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_FALSE(decode(cases[i])) << "case " << i;
}

// The suite's 8-bit RGB and RGBA images without interlacing, palette or
// transparency take this decoder, and png_suite_test holds decodePng's pixels to the
// format's rules; every other image of the suite, and every corrupt one, goes
// to libpng.
TEST(CommonDecodeTest, TakesTheSuitesCommonFormOnly) {
  const std::string suite = OZ_TESTDATA_DIR "/pngsuite/";
  int taken = 0;
  for (const std::string& name : listMatching(suite, "*.png")) {
    SCOPED_TRACE(name);
    const std::string bytes = testing::readFile(suite + name);
    bool common = name[0] != 'x';  // the suite's corrupt files
    if (common) {
      const std::vector<testing::PngChunk> chunks = testing::readChunks(bytes);
      ASSERT_FALSE(chunks.empty());
      const std::string& ihdr = chunks[0].data;
      common = ihdr[8] == 8 && (ihdr[9] == 2 || ihdr[9] == 6) && ihdr[12] == 0;
      // A palette, even one only suggested, or transparency: libpng's.
      for (const testing::PngChunk& c : chunks)
        common = common && c.type != "tRNS" && c.type != "PLTE";
    }
    EXPECT_EQ(decode(bytes).has_value(), common);
    taken += common ? 1 : 0;
  }
  EXPECT_GT(taken, 10);
}

}  // namespace
}  // namespace oz
