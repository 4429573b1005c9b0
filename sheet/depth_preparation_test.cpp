#include "sheet/depth_preparation.h"

#include <gtest/gtest.h>

#include <vector>

namespace oz {
namespace {

// Palette depths replace nearly transparent pixels with the background and make
// the rest opaque; "Transparent" leaves the 8- and 4-bit canvases as composed,
// while 1-bit has no room for it and stays opaque.
TEST(DepthPreparationTest, PaletteDepthsReplaceNearlyTransparentPixelsUnlessTransparent) {
  const std::vector<uint8_t> composed{9, 8, 7, 32, 9, 8, 7, 33};
  const std::vector<uint8_t> opaque{255, 0, 255, 255, 9, 8, 7, 255};
  struct Case {
    int32_t depth;
    bool transparent;
    const std::vector<uint8_t>& expected;
  };
  const Case cases[] = {{kDepth8, false, opaque},  {kDepth4, false, opaque},
                        {kDepth1, false, opaque},  {kDepth8, true, composed},
                        {kDepth4, true, composed}, {kDepth1, true, opaque}};
  for (const Case& c : cases) {
    RgbaImage canvas{2, 1, composed};
    SpriteOptions options;
    options.colorDepth = c.depth;
    options.pink = true;
    options.transparent = c.transparent;
    prepareForDepth(canvas, options);
    EXPECT_EQ(canvas.pixels, c.expected) << c.depth << " transparent " << c.transparent;
  }
}

}  // namespace
}  // namespace oz
