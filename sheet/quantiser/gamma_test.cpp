#include "sheet/quantiser/gamma.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace oz {
namespace {

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
