#include "sheet/quantiser/reduction.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text_lines.h"
#include "sheet/quantiser/test_images.h"
#include "sheet/quantiser/test_vector.h"

namespace oz {
namespace {

using testing::Reduced;

Reduced reduce(const std::vector<uint8_t>& rgb, int32_t width, int32_t height, int32_t bits,
               bool dither) {
  return testing::drain(
      Reduction::open(rgb.data(), width, height, 3 * static_cast<size_t>(width), bits, dither),
      height);
}

class GoldenVector : public ::testing::TestWithParam<const char*> {};

TEST_P(GoldenVector, PaletteAndRowsMatchExactly) {
  std::string json;
  ASSERT_TRUE(readWholeFile(std::string(OZ_TESTDATA_DIR "/quantiser/") + GetParam(), &json));
  std::string error;
  const auto c = testing::parseReductionCase(json, &error);
  ASSERT_TRUE(c.has_value()) << error;
  ASSERT_EQ(c->rgb.size(), 3 * static_cast<size_t>(c->width) * c->height);

  const Reduced got = reduce(c->rgb, c->width, c->height, c->bits, c->dither);
  EXPECT_EQ(got.palette, c->palette);
  ASSERT_EQ(got.rows.size(), c->rows.size());
  for (size_t y = 0; y < got.rows.size(); ++y) EXPECT_EQ(got.rows[y], c->rows[y]) << "row " << y;
}

INSTANTIATE_TEST_SUITE_P(
    Quantiser, GoldenVector,
    ::testing::Values("1bit-greys-9x5.json", "1bit-sprite-21x13-dither-flag-ignored.json",
                      "4bit-gradient-16x16-dither.json", "4bit-gradient-16x16.json",
                      "4bit-one-colour-8x8.json", "4bit-sprite-37x23-pink-dither.json",
                      "4bit-sprite-37x23-white.json", "4bit-sprite-520x520-samplefac2.json",
                      "8bit-gradient-33x17-dither.json", "8bit-sprite-32x32-black.json",
                      "8bit-sprite-40x40-white-dither.json"));

TEST(Reduction, SameImageTwiceGivesTheSameBytes) {
  const auto rgb = testing::spriteImage(300, 200, 11);
  for (int32_t bits : {4, 8}) {
    const Reduced first = reduce(rgb, 300, 200, bits, true);
    const Reduced second = reduce(rgb, 300, 200, bits, true);
    ASSERT_EQ(first.rows.size(), 200u);
    EXPECT_EQ(first.palette, second.palette);
    EXPECT_EQ(first.rows, second.rows);
  }
}

TEST(Reduction, OpensOnlyPaletteDepthsOfNonEmptyImages) {
  const std::vector<uint8_t> rgb(3 * 4 * 4, 7);
  EXPECT_EQ(Reduction::open(rgb.data(), 4, 4, 12, 2, 0), nullptr);
  EXPECT_EQ(Reduction::open(rgb.data(), 4, 4, 12, 24, 0), nullptr);
  EXPECT_EQ(Reduction::open(rgb.data(), 0, 4, 12, 8, 0), nullptr);
  EXPECT_EQ(Reduction::open(rgb.data(), 4, 0, 12, 8, 0), nullptr);
  EXPECT_NE(Reduction::open(rgb.data(), 1, 1, 3, 8, 0), nullptr);
}

}  // namespace
}  // namespace oz
