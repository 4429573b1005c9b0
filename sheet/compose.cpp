#include "sheet/compose.h"

#include <cstring>

namespace oz {
namespace {

// A pixel copied onto the canvas as it lands there: no colour where it is
// fully transparent, colour multiplied by alpha when asked.
inline void land(uint8_t* out, bool premultiply) {
  const uint32_t a = out[3];
  // Opaque pixels are the common case and need no arithmetic.
  if (a == 255) return;
  if (a == 0) {
    std::memset(out, 0, 3);
  } else if (premultiply) {
    out[0] = static_cast<uint8_t>((out[0] * a + 127) / 255);
    out[1] = static_cast<uint8_t>((out[1] * a + 127) / 255);
    out[2] = static_cast<uint8_t>((out[2] * a + 127) / 255);
  }
}

}  // namespace

void drawFrame(RgbaImage& canvas, const RgbaImage& frame, int64_t x, int64_t y, CanvasAlpha alpha) {
  const size_t rowBytes = static_cast<size_t>(frame.width) * 4;
  const bool premultiply = alpha == CanvasAlpha::Premultiplied;
  for (int32_t row = 0; row < frame.height; ++row) {
    const uint8_t* in = frame.pixel(0, row);
    uint8_t* out = canvas.pixel(static_cast<int32_t>(x), static_cast<int32_t>(y) + row);
    std::memcpy(out, in, rowBytes);
    for (size_t i = 0; i < rowBytes; i += 4) land(out + i, premultiply);
  }
}

void drawTurnedFrame(RgbaImage& canvas, const RgbaImage& frame, int64_t x, int64_t y, Turn turn,
                     CanvasAlpha alpha) {
  const bool premultiply = alpha == CanvasAlpha::Premultiplied;
  const bool clockwise = turn == Turn::Clockwise;
  // Canvas row r of the turned frame is the frame's column r (clockwise,
  // read bottom to top) or its column width - 1 - r (anticlockwise, read top
  // to bottom).
  for (int32_t r = 0; r < frame.width; ++r) {
    uint8_t* out = canvas.pixel(static_cast<int32_t>(x), static_cast<int32_t>(y) + r);
    const int32_t column = clockwise ? r : frame.width - 1 - r;
    for (int32_t c = 0; c < frame.height; ++c, out += 4) {
      const int32_t row = clockwise ? frame.height - 1 - c : c;
      std::memcpy(out, frame.pixel(column, row), 4);
      land(out, premultiply);
    }
  }
}

}  // namespace oz
