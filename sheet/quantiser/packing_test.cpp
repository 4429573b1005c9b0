#include "sheet/quantiser/packing.h"

#include <gtest/gtest.h>

#include <vector>

namespace oz {
namespace {

std::vector<uint8_t> packed(std::vector<uint8_t> indices, int32_t width, int32_t bits) {
  indices.resize(static_cast<size_t>(width) + 8, 0xAA);  // stale bytes past the width
  packIndices(indices.data(), width, bits);
  indices.resize(packedRowBytes(width, bits));
  return indices;
}

TEST(Packing, FourBitsHighNibbleFirstAndOddWidthEndsInZero) {
  EXPECT_EQ(packedRowBytes(5, 4), 3u);
  EXPECT_EQ(packed({1, 2, 15, 0, 7}, 5, 4), (std::vector<uint8_t>{0x12, 0xF0, 0x70}));
}

TEST(Packing, OneBitMostSignificantFirstAndNinthPixelInTheTopBit) {
  EXPECT_EQ(packedRowBytes(9, 1), 2u);
  EXPECT_EQ(packed({1, 0, 0, 0, 0, 0, 1, 1, 1}, 9, 1), (std::vector<uint8_t>{0x83, 0x80}));
  EXPECT_EQ(packed({0, 1, 1}, 3, 1), (std::vector<uint8_t>{0x60}));
}

TEST(Packing, EightBitsAreTheIndicesThemselves) {
  EXPECT_EQ(packedRowBytes(3, 8), 3u);
  EXPECT_EQ(packed({200, 0, 255}, 3, 8), (std::vector<uint8_t>{200, 0, 255}));
}

}  // namespace
}  // namespace oz
