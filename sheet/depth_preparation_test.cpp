#include "sheet/depth_preparation.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

TEST(DepthPreparationTest, WriterSettingsFollowTheDepth) {
  struct Expected {
    int32_t depth, bits, ditherFlag;
  };
  const Expected table[] = {{kDepth32, 32, 0}, {kDepth24, 24, 0}, {kDepth8, 8, 256},
                            {kDepth4, 4, 256}, {kDepth1, 1, 256}, {kDepthAlpha, 24, 0}};
  for (const Expected& e : table) {
    BuildOptions options;
    options.colorDepth = e.depth;
    options.dithering = true;
    EXPECT_EQ(writerSettings(options).bits, e.bits) << e.depth;
    EXPECT_EQ(writerSettings(options).ditherFlag, e.ditherFlag) << e.depth;
    options.dithering = false;
    EXPECT_EQ(writerSettings(options).ditherFlag, 0) << e.depth;
  }
}

TEST(DepthPreparationTest, PaletteDepthsReplaceNearlyTransparentPixels) {
  for (int32_t depth : {kDepth8, kDepth4, kDepth1}) {
    RgbaImage canvas{2, 1, {9, 8, 7, 32, 9, 8, 7, 33}};
    BuildOptions options;
    options.colorDepth = depth;
    options.pink = true;
    prepareForDepth(canvas, options);
    EXPECT_EQ(canvas.pixels, (std::vector<uint8_t>{255, 0, 255, 255, 9, 8, 7, 255})) << depth;
  }
}

}  // namespace
}  // namespace oz
