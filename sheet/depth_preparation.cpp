#include "sheet/depth_preparation.h"

namespace oz {
namespace {

// The highest alpha that still counts as transparent in the opaque forms.
constexpr uint8_t kTransparentAlpha = 32;

}  // namespace

void prepareForDepth(RgbaImage& canvas, const SpriteOptions& options) {
  const int32_t depth = options.colorDepth;
  uint8_t* p = canvas.pixels.data();
  uint8_t* const end = p + canvas.pixels.size();
  if (depth == kDepthAlpha) {
    for (; p != end; p += 4) {
      p[0] = p[1] = p[2] = p[3];
      p[3] = 255;
    }
    return;
  }
  if (!usesBackground(depth, options.removeAlpha) ||
      keepsTransparency(depth, options.transparent)) {
    return;
  }
  const uint8_t red = options.pink ? 255 : 0;
  const uint8_t blue = options.pink ? 255 : 0;
  for (; p != end; p += 4) {
    if (p[3] <= kTransparentAlpha) {
      p[0] = red;
      p[1] = 0;
      p[2] = blue;
    }
    p[3] = 255;
  }
}

}  // namespace oz
