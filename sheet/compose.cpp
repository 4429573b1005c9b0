#include "sheet/compose.h"

#include <cstring>

namespace oz {

void drawFrame(RgbaImage& canvas, const RgbaImage& frame, int64_t x, int64_t y, CanvasAlpha alpha) {
  const size_t rowBytes = static_cast<size_t>(frame.width) * 4;
  const bool premultiply = alpha == CanvasAlpha::Premultiplied;
  for (int32_t row = 0; row < frame.height; ++row) {
    const uint8_t* in = frame.pixel(0, row);
    uint8_t* out = canvas.pixel(static_cast<int32_t>(x), static_cast<int32_t>(y) + row);
    std::memcpy(out, in, rowBytes);
    for (size_t i = 0; i < rowBytes; i += 4) {
      const uint32_t a = out[i + 3];
      // Opaque pixels are the common case and need no arithmetic.
      if (a == 255) continue;
      if (a == 0) {
        std::memset(out + i, 0, 3);
      } else if (premultiply) {
        out[i] = static_cast<uint8_t>((out[i] * a + 127) / 255);
        out[i + 1] = static_cast<uint8_t>((out[i + 1] * a + 127) / 255);
        out[i + 2] = static_cast<uint8_t>((out[i + 2] * a + 127) / 255);
      }
    }
  }
}

}  // namespace oz
