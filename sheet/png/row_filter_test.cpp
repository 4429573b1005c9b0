#include "sheet/png/row_filter.h"

#include <gtest/gtest.h>

#include <vector>

#include "sheet/png/test_fixtures.h"

namespace oz {
namespace {

struct RowForm {
  size_t pixelBits;
  size_t pixelBytes;  // of a whole pixel, at least 1
};

// Rows with smooth stretches, steps and noise, so that every filter's
// predictor meets large and wrapping differences. The unused low bits of a
// row's last byte stay 0, as a PNG writer leaves them.
std::vector<std::vector<uint8_t>> testRows(const RowForm& form, uint32_t width, int32_t height) {
  const size_t usedBits = static_cast<size_t>(width) * form.pixelBits;
  const size_t rowBytes = (usedBits + 7) / 8;
  std::vector<std::vector<uint8_t>> rows(height, std::vector<uint8_t>(rowBytes));
  uint32_t noise = 12345;
  for (int32_t y = 0; y < height; ++y) {
    for (size_t i = 0; i < rowBytes; ++i) {
      noise = noise * 1103515245 + 12345;
      const uint32_t value = y % 3 == 0 ? (noise >> 16) : (i * 37 + y * 11) % 256;
      rows[y][i] = static_cast<uint8_t>(value);
    }
  }
  // Left 4, above 13, above-left 10 tie the left and above-left distances in
  // the Paeth predictor, where the left one must win.
  if (rowBytes > form.pixelBytes && height > 1) {
    rows[0][0] = 10;
    rows[0][form.pixelBytes] = 13;
    rows[1][0] = 4;
  }
  for (auto& row : rows) {
    if (usedBits % 8 != 0) row.back() &= static_cast<uint8_t>(0xff << (8 - usedBits % 8));
  }
  return rows;
}

// 1-, 4- and 8-bit grey and 8-bit RGBA.
const RowForm kForms[] = {{1, 1}, {4, 1}, {8, 1}, {32, 4}};
const uint32_t kWidths[] = {1, 3, 7, 13, 61};

TEST(RowFilterTest, EveryFilterIsUndoneByTheRulesOfThePngFormat) {
  for (const RowForm& form : kForms) {
    for (uint32_t width : kWidths) {
      // Each filter type takes every row position in turn, the top row included.
      for (int first = 0; first < kRowFilterCount; ++first) {
        SCOPED_TRACE(::testing::Message() << "pixel bits " << form.pixelBits << " width " << width
                                          << " first filter " << first);
        constexpr int32_t kHeight = 7;
        const auto rows = testRows(form, width, kHeight);
        const size_t rowBytes = rows[0].size();
        std::vector<uint8_t> unfiltered(rowBytes, 0);
        for (int32_t y = 0; y < kHeight; ++y) {
          const int filter = (first + y) % kRowFilterCount;
          std::vector<uint8_t> out(rowBytes);
          filterRow(static_cast<RowFilter>(filter), rows[y].data(),
                    y > 0 ? rows[y - 1].data() : nullptr, rowBytes, form.pixelBytes, out.data());
          // The decoder's own unfiltering agrees with the format's rules.
          std::vector<uint8_t> ours = out;
          EXPECT_TRUE(unfilterRow(static_cast<uint8_t>(filter), ours.data(),
                                  y > 0 ? unfiltered.data() : nullptr, rowBytes, form.pixelBytes));
          testing::unfilterRow(filter, out.data(), unfiltered.data(), rowBytes, form.pixelBytes);
          EXPECT_EQ(out, rows[y]) << "row " << y;
          EXPECT_EQ(ours, rows[y]) << "row " << y;
          unfiltered = out;
        }
      }
    }
  }
}

TEST(RowFilterTest, UnfilteringRefusesAFilterTypeTheFormatLacks) {
  uint8_t row[2] = {1, 2};
  EXPECT_FALSE(unfilterRow(kRowFilterCount, row, nullptr, 2, 1));
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
}

}  // namespace
}  // namespace oz
