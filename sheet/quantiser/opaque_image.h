// A read-only view of the writer's opaque pixels: 3 bytes (red, green, blue)
// per pixel, rows `stride` bytes apart, top row first.
#pragma once

#include <cstddef>
#include <cstdint>

namespace oz {

struct OpaqueImage {
  const uint8_t* pixels = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  size_t stride = 0;

  const uint8_t* row(int32_t y) const { return pixels + static_cast<size_t>(y) * stride; }
};

}  // namespace oz
