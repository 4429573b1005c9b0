#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <utility>
#include <vector>

#include "sheet/quantiser/reduction.h"
#include "sheet/quantiser/test_images.h"

namespace oz {
namespace {

// The reduction's output, with the rows unpacked to one index per pixel.
struct Mapped {
  std::vector<PaletteColour> palette;
  std::vector<std::vector<uint8_t>> rows;
  std::vector<uint8_t> indices;
  bool operator==(const Mapped&) const = default;
};

Mapped reduceWithAlpha(const std::vector<uint8_t>& rgba, int32_t width, int32_t height,
                       int32_t bits, bool dither, size_t stride = 0) {
  auto [palette, rows] = testing::drain(
      Reduction::openWithAlpha(rgba.data(), width, height,
                               stride != 0 ? stride : 4 * static_cast<size_t>(width), bits, dither),
      height);
  Mapped result{std::move(palette), std::move(rows), {}};
  for (const auto& row : result.rows) {
    for (int32_t x = 0; x < width; ++x) {
      result.indices.push_back(bits == 8 ? row[x] : (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 15);
    }
  }
  return result;
}

class AlphaReduction : public ::testing::TestWithParam<std::tuple<int32_t, bool>> {};

TEST_P(AlphaReduction, KeepsClearAndOpaquePixelsExactWithTranslucentEntriesFirst) {
  const auto [bits, dither] = GetParam();
  constexpr int32_t kWidth = 301;  // odd, so a 4-bit row ends in half a byte
  constexpr int32_t kHeight = 97;
  const auto rgba = testing::alphaSpriteImage(kWidth, kHeight, 5);
  const Mapped got = reduceWithAlpha(rgba, kWidth, kHeight, bits, dither);

  ASSERT_EQ(got.palette.size(), size_t{1} << bits);
  ASSERT_EQ(got.indices.size(), rgba.size() / 4);
  int clear = 0;
  int opaque = 0;
  for (size_t i = 0; i < got.indices.size(); ++i) {
    const uint8_t index = got.indices[i];
    ASSERT_LT(index, got.palette.size()) << "pixel " << i;
    const uint8_t alpha = rgba[4 * i + 3];
    if (alpha == 0) {
      ++clear;
      ASSERT_EQ(got.palette[index].alpha, 0) << "pixel " << i;
    } else if (alpha == 255) {
      ++opaque;
      ASSERT_EQ(got.palette[index].alpha, 255) << "pixel " << i;
    }
  }
  EXPECT_GT(clear, 1000);
  EXPECT_GT(opaque, 1000);
  if (bits == 4) {
    for (const auto& row : got.rows) EXPECT_EQ(row.back() & 0x0f, 0);
  }

  // Once an opaque entry comes, every later one is opaque: the PNG's
  // transparency chunk can stop before them.
  const auto firstOpaque = std::find_if(got.palette.begin(), got.palette.end(),
                                        [](const PaletteColour& c) { return c.alpha == 255; });
  EXPECT_TRUE(std::all_of(firstOpaque, got.palette.end(),
                          [](const PaletteColour& c) { return c.alpha == 255; }));

  EXPECT_EQ(reduceWithAlpha(rgba, kWidth, kHeight, bits, dither), got);
  // Rows further apart than the pixels need give the same result.
  constexpr size_t kStride = 4 * kWidth + 12;
  std::vector<uint8_t> padded(kStride * kHeight, 0xa5);
  for (int32_t y = 0; y < kHeight; ++y) {
    std::copy_n(&rgba[4 * static_cast<size_t>(y) * kWidth], 4 * kWidth, &padded[y * kStride]);
  }
  EXPECT_EQ(reduceWithAlpha(padded, kWidth, kHeight, bits, dither, kStride), got);
}

INSTANTIATE_TEST_SUITE_P(Quantiser, AlphaReduction,
                         ::testing::Combine(::testing::Values(4, 8), ::testing::Bool()));

TEST(AlphaReductionImages, AllClearAndAllOpaqueImagesUseOnlyThatKindOfEntry) {
  const std::vector<uint8_t> clear(4 * 20 * 10, 0);
  const Mapped none = reduceWithAlpha(clear, 20, 10, 8, true);
  ASSERT_EQ(none.palette.size(), 256u);
  for (uint8_t index : none.indices) EXPECT_EQ(none.palette[index], (PaletteColour{0, 0, 0, 0}));

  auto solid = testing::alphaSpriteImage(64, 64, 9);
  for (size_t i = 3; i < solid.size(); i += 4) solid[i] = 255;
  const Mapped all = reduceWithAlpha(solid, 64, 64, 4, false);
  ASSERT_EQ(all.palette.size(), 16u);
  for (uint8_t index : all.indices) EXPECT_EQ(all.palette[index].alpha, 255);
}

// Translucent pixels are not pinned: they follow the network, which should
// still keep their alpha and colour close.
TEST(AlphaReductionImages, TranslucentPixelsStayCloseToTheirColourAndAlpha) {
  constexpr int32_t kSide = 128;
  const auto rgba = testing::alphaSpriteImage(kSide, kSide, 3);
  const Mapped got = reduceWithAlpha(rgba, kSide, kSide, 8, false);
  double alphaError = 0;
  double colourError = 0;
  int count = 0;
  for (size_t i = 0; i < got.indices.size(); ++i) {
    const uint8_t* p = &rgba[4 * i];
    if (p[3] == 0 || p[3] == 255) continue;
    const PaletteColour& c = got.palette[got.indices[i]];
    ++count;
    alphaError += std::abs(c.alpha - p[3]);
    colourError +=
        (std::abs(c.red - p[0]) + std::abs(c.green - p[1]) + std::abs(c.blue - p[2])) / 3.0;
  }
  ASSERT_GT(count, 1000);
  EXPECT_LT(alphaError / count, 4.0);
  EXPECT_LT(colourError / count, 8.0);
}

// A ramp of alpha over one colour has more levels than 16 entries: with
// dithering the average alpha of each small block comes out closer.
TEST(AlphaReductionImages, DitheringKeepsTheAverageAlphaOfARamp) {
  constexpr int32_t kWidth = 256;
  constexpr int32_t kHeight = 32;
  std::vector<uint8_t> rgba;
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      rgba.insert(rgba.end(), {200, 90, 30, static_cast<uint8_t>(x)});
    }
  }
  const auto blockError = [&](const Mapped& m) {
    double total = 0;
    for (int32_t bx = 0; bx < kWidth; bx += 8) {
      for (int32_t by = 0; by < kHeight; by += 8) {
        int source = 0;
        int mapped = 0;
        for (int32_t y = by; y < by + 8; ++y) {
          for (int32_t x = bx; x < bx + 8; ++x) {
            const size_t i = static_cast<size_t>(y) * kWidth + x;
            source += rgba[4 * i + 3];
            mapped += m.palette[m.indices[i]].alpha;
          }
        }
        total += std::abs(source - mapped) / 64.0;
      }
    }
    return total / (kWidth / 8 * kHeight / 8);
  };
  const Mapped plain = reduceWithAlpha(rgba, kWidth, kHeight, 4, false);
  const Mapped dithered = reduceWithAlpha(rgba, kWidth, kHeight, 4, true);
  EXPECT_LT(blockError(dithered), 0.5 * blockError(plain));
}

TEST(AlphaReductionImages, OpensOnlyFourAndEightBitsOfNonEmptyImages) {
  const std::vector<uint8_t> rgba(4 * 4 * 4, 7);
  for (int32_t bits : {1, 2, 24}) {
    EXPECT_EQ(Reduction::openWithAlpha(rgba.data(), 4, 4, 16, bits, false), nullptr) << bits;
  }
  EXPECT_EQ(Reduction::openWithAlpha(rgba.data(), 0, 4, 16, 8, false), nullptr);
  EXPECT_EQ(Reduction::openWithAlpha(rgba.data(), 4, 0, 16, 8, false), nullptr);
  EXPECT_EQ(Reduction::openWithAlpha(nullptr, 4, 4, 16, 8, false), nullptr);
  EXPECT_NE(Reduction::openWithAlpha(rgba.data(), 1, 1, 4, 4, true), nullptr);
}

}  // namespace
}  // namespace oz
