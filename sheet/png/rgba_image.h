// 8-bit RGBA pixels: what a frame decodes to and the sheet's working form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace oz {

// width x height pixels of red, green, blue, alpha; rows top first, stride 4 x width.
struct RgbaImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;

  uint8_t* pixel(int32_t x, int32_t y) {
    return pixels.data() + (static_cast<size_t>(y) * static_cast<size_t>(width) + x) * 4;
  }
  const uint8_t* pixel(int32_t x, int32_t y) const {
    return pixels.data() + (static_cast<size_t>(y) * static_cast<size_t>(width) + x) * 4;
  }
};

}  // namespace oz
