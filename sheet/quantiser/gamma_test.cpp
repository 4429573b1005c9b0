#include "sheet/quantiser/gamma.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace oz {
namespace {

TEST(GammaTable, BrightensMidtonesAndKeepsTheEnds) {
  const GammaTable gt = makeGammaTable();
  EXPECT_EQ(gt[0], 0);
  EXPECT_EQ(gt[255], 255);
  // The 16 grey levels the 4-bit network starts from.
  const int levels[16] = {0,   55,  80,  101, 118, 134, 148, 161,
                          174, 186, 197, 208, 218, 228, 237, 247};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(gt[16 * i], levels[i]) << "gt[" << 16 * i << "]";
  for (int v = 1; v < 256; ++v) EXPECT_LE(gt[v - 1], gt[v]) << v;
}

TEST(UnGamma, ColourComesBackWithinOneLevel) {
  const GammaTable gt = makeGammaTable();
  for (int v = 0; v < 256; ++v) {
    EXPECT_LE(std::abs(unGammaColour(gt[v]) - v), 1) << v;
  }
  EXPECT_EQ(unGammaColour(-0.001), 0);
  EXPECT_EQ(unGammaColour(255), 255);  // 256 before the clamp
  EXPECT_EQ(unGammaColour(300), 255);
}

TEST(UnGamma, AlphaScalesBy256Over255WithoutGamma) {
  EXPECT_EQ(unGammaAlpha(-1), 0);
  EXPECT_EQ(unGammaAlpha(0), 0);
  EXPECT_EQ(unGammaAlpha(127.5), 128);
  EXPECT_EQ(unGammaAlpha(254), 254);  // 254.996 rounds down
  EXPECT_EQ(unGammaAlpha(240), 240);
  EXPECT_EQ(unGammaAlpha(255), 255);  // 256 before the clamp
}

}  // namespace
}  // namespace oz
