// Read-only views of the pixels a reduction is opened over, rows `stride`
// bytes apart, top row first.
#pragma once

#include <cstddef>
#include <cstdint>

namespace oz {

template <int kBytesPerPixel>
struct ImageView {
  static constexpr int kBytes = kBytesPerPixel;
  const uint8_t* pixels = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  size_t stride = 0;

  const uint8_t* row(int32_t y) const { return pixels + static_cast<size_t>(y) * stride; }
};

// The writer's opaque pixels: red, green, blue.
using OpaqueImage = ImageView<3>;
// Straight-alpha pixels: red, green, blue, alpha, colour not multiplied by alpha.
using AlphaImage = ImageView<4>;

}  // namespace oz
