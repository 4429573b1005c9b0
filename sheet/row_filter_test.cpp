#include "sheet/row_filter.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include "sheet/png_chunks.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

struct RowForm {
  uint8_t bitDepth;
  uint8_t colorType;  // 0 grey or 6 RGBA
  size_t pixelBytes;
};

// Rows with smooth stretches, steps and noise, so that every filter's
// predictor meets large and wrapping differences. The unused low bits of a
// row's last byte stay 0, as a PNG writer leaves them.
std::vector<std::vector<uint8_t>> testRows(const RowForm& form, uint32_t width, int32_t height) {
  const size_t usedBits =
      static_cast<size_t>(width) * form.bitDepth * (form.colorType == 6 ? 4 : 1);
  const size_t rowBytes = (usedBits + 7) / 8;
  std::vector<std::vector<uint8_t>> rows(height, std::vector<uint8_t>(rowBytes));
  uint32_t noise = 12345;
  for (int32_t y = 0; y < height; ++y) {
    for (size_t i = 0; i < rowBytes; ++i) {
      noise = noise * 1103515245 + 12345;
      const uint32_t value = y % 3 == 0 ? (noise >> 16) : (i * 37 + y * 11) % 256;
      rows[y][i] = static_cast<uint8_t>(value);
    }
    if (usedBits % 8 != 0) rows[y].back() &= static_cast<uint8_t>(0xff << (8 - usedBits % 8));
  }
  return rows;
}

// The raw rows of a PNG file as libpng reads them, with no transformation.
std::vector<std::vector<uint8_t>> decodeRowsWithLibpng(const std::string& path) {
  std::vector<std::vector<uint8_t>> rows;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return rows;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_read_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    rows.assign(png_get_image_height(png, info), std::vector<uint8_t>(rowBytes));
    for (auto& row : rows) png_read_row(png, row.data(), nullptr);
    png_read_end(png, nullptr);
  } else {
    rows.clear();
  }
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  return rows;
}

// Writes `data` (filter byte and row bytes per row) as a PNG file.
void writeImageData(const std::string& path, const RowForm& form, uint32_t width, uint32_t height,
                    const std::vector<uint8_t>& data) {
  std::vector<uint8_t> compressed(compressBound(data.size()));
  uLongf size = compressed.size();
  ASSERT_EQ(compress2(compressed.data(), &size, data.data(), data.size(), 9), Z_OK);
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  const std::span<const uint8_t> imageData[] = {std::span(compressed.data(), size)};
  EXPECT_TRUE(writePngChunks(file, {width, height, form.bitDepth, form.colorType}, {}, imageData));
  std::fclose(file);
}

class RowFilterTest : public ::testing::Test {
 protected:
  testing::ScopedTempDir dir_;
  std::string path_ = dir_.path() + "rows.png";
};

const RowForm kForms[] = {{1, 0, 1}, {4, 0, 1}, {8, 0, 1}, {8, 6, 4}};
const uint32_t kWidths[] = {1, 3, 7, 13, 61};

TEST_F(RowFilterTest, EveryFilterDecodesBackExactly) {
  for (const RowForm& form : kForms) {
    for (uint32_t width : kWidths) {
      // Each filter type takes every row position in turn, the top row included.
      for (int first = 0; first < kRowFilterCount; ++first) {
        SCOPED_TRACE(::testing::Message()
                     << "depth " << int{form.bitDepth} << " colour " << int{form.colorType}
                     << " width " << width << " first filter " << first);
        constexpr int32_t kHeight = 7;
        const auto rows = testRows(form, width, kHeight);
        const size_t rowBytes = rows[0].size();
        std::vector<uint8_t> data;
        for (int32_t y = 0; y < kHeight; ++y) {
          const auto filter = static_cast<RowFilter>((first + y) % kRowFilterCount);
          std::vector<uint8_t> out(rowBytes);
          filterRow(filter, rows[y].data(), y > 0 ? rows[y - 1].data() : nullptr, rowBytes,
                    form.pixelBytes, out.data());
          data.push_back(static_cast<uint8_t>(filter));
          data.insert(data.end(), out.begin(), out.end());
        }
        writeImageData(path_, form, width, kHeight, data);
        EXPECT_EQ(decodeRowsWithLibpng(path_), rows);
      }
    }
  }
}

TEST(RowFilterChoiceTest, EachRowTakesTheFilterOfLeastAbsoluteSum) {
  // 8-bit grey, 6 pixels a row.
  const std::vector<std::vector<uint8_t>> rows = {
      {10, 20, 30, 40, 50, 60},    // a ramp: Sub leaves 10 and then 10s
      {10, 20, 30, 40, 50, 60},    // the row above again: Up leaves zeros
      {0, 0, 0, 0, 0, 0},          // zeros: nothing beats no filter
      {200, 7, 99, 250, 3, 128},   // no pattern, small first: Up on a zero row is None's twin
      {201, 8, 100, 251, 4, 129},  // the row above plus one: Up leaves ones
  };
  const uint8_t expected[] = {1, 2, 0, 0, 2};
  std::vector<uint8_t> data;
  for (const auto& row : rows) {
    data.push_back(0);
    data.insert(data.end(), row.begin(), row.end());
  }
  filterRowsAdaptively(data.data(), 6, static_cast<int32_t>(rows.size()), 1);
  for (size_t y = 0; y < rows.size(); ++y) EXPECT_EQ(data[y * 7], expected[y]) << "row " << y;
  // The ramp row's Sub bytes: the first keeps its value, the others are the steps.
  EXPECT_EQ(std::vector<uint8_t>(data.begin() + 1, data.begin() + 7),
            (std::vector<uint8_t>{10, 10, 10, 10, 10, 10}));
}

}  // namespace
}  // namespace oz
