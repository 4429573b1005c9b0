#include "sheet/quantiser/gamma.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

// The round trip through the gamma table is pinned by the golden vectors;
// neurons trained past either end are not.
TEST(UnGamma, ValuesPastEitherEndAreClamped) {
  EXPECT_EQ(unGammaColour(-0.001), 0);
  EXPECT_EQ(unGammaColour(255), 255);  // 256 before the clamp
  EXPECT_EQ(unGammaAlpha(-1), 0);
  EXPECT_EQ(unGammaAlpha(254), 254);  // 254.996 rounds down
  EXPECT_EQ(unGammaAlpha(255), 255);
}

}  // namespace
}  // namespace oz
