#include "sheet/depth_preparation.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

TEST(DepthPreparationTest, PaletteDepthsReplaceNearlyTransparentPixels) {
  for (int32_t depth : {kDepth8, kDepth4, kDepth1}) {
    RgbaImage canvas{2, 1, {9, 8, 7, 32, 9, 8, 7, 33}};
    SpriteOptions options;
    options.colorDepth = depth;
    options.pink = true;
    prepareForDepth(canvas, options);
    EXPECT_EQ(canvas.pixels, (std::vector<uint8_t>{255, 0, 255, 255, 9, 8, 7, 255})) << depth;
  }
}

}  // namespace
}  // namespace oz
