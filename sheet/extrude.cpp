#include "sheet/extrude.h"

#include <cstring>

namespace oz {

void extrudeEdges(RgbaImage& canvas, int32_t x, int32_t y, int32_t width, int32_t height,
                  int32_t amount) {
  if (amount < 1 || width < 1 || height < 1) return;
  for (int32_t row = y; row < y + height; ++row) {
    const uint8_t* left = canvas.pixel(x, row);
    const uint8_t* right = canvas.pixel(x + width - 1, row);
    for (int32_t k = 1; k <= amount; ++k) {
      std::memcpy(canvas.pixel(x - k, row), left, 4);
      std::memcpy(canvas.pixel(x + width - 1 + k, row), right, 4);
    }
  }
  const size_t rowBytes = static_cast<size_t>(width + 2 * amount) * 4;
  const uint8_t* top = canvas.pixel(x - amount, y);
  const uint8_t* bottom = canvas.pixel(x - amount, y + height - 1);
  for (int32_t k = 1; k <= amount; ++k) {
    std::memcpy(canvas.pixel(x - amount, y - k), top, rowBytes);
    std::memcpy(canvas.pixel(x - amount, y + height - 1 + k), bottom, rowBytes);
  }
}

}  // namespace oz
