#include "sheet/quantiser/network.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

TEST(InitialNetwork, SixteenGreyLevelsWithRisingAlpha) {
  const GammaTable gt = makeGammaTable();
  const Network net = initialNetwork(16, gt);
  ASSERT_EQ(net.netsize, 16);
  const int levels[16] = {0,   55,  80,  101, 118, 134, 148, 161,
                          174, 186, 197, 208, 218, 228, 237, 247};
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(net.red[i], levels[i]);
    EXPECT_EQ(net.green[i], levels[i]);
    EXPECT_EQ(net.blue[i], levels[i]);
    EXPECT_EQ(net.alpha[i], 16 * i);
    EXPECT_EQ(net.bias[i], 0);
    EXPECT_EQ(net.freq[i], 1.0 / 16);
  }
}

TEST(InitialNetwork, OnlyTheFirstSixteenOf256AreTranslucent) {
  const GammaTable gt = makeGammaTable();
  const Network net = initialNetwork(256, gt);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(net.green[i], gt[i]);
    EXPECT_EQ(net.alpha[i], i < 16 ? 16 * i : 255) << i;
  }
}

}  // namespace
}  // namespace oz
