#include "sheet/depth_preparation.h"

#include "sheet/quantiser/reduction.h"

namespace oz {
namespace {

bool isPaletteDepth(int32_t depth) {
  return depth == kDepth8 || depth == kDepth4 || depth == kDepth1;
}

// The highest alpha that still counts as transparent in the opaque forms.
constexpr uint8_t kTransparentAlpha = 32;

}  // namespace

void prepareForDepth(RgbaImage& canvas, const BuildOptions& options) {
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
  if (!isPaletteDepth(depth) && !(depth == kDepth24 && options.removeAlpha)) return;
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

WriterSettings writerSettings(const BuildOptions& options) {
  const int32_t dither = options.dithering ? kDitherFlag : 0;
  switch (options.colorDepth) {
    case kDepth24:
    case kDepthAlpha:
      return {24, 0};
    case kDepth8:
      return {8, dither};
    case kDepth4:
      return {4, dither};
    case kDepth1:
      return {1, dither};
    default:
      return {32, 0};
  }
}

}  // namespace oz
