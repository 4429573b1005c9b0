// Trimming: the part of a frame that holds its visible pixels, so that the
// packed layout stores only that and the script says where it lies.
#pragma once

#include <cstdint>

#include "sheet/png/rgba_image.h"

namespace oz {

// A rectangle of a frame's pixels.
struct PixelBox {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const PixelBox&) const = default;
};

// The smallest box holding every pixel of `image` whose alpha is above
// `threshold`; empty (0 x 0 at 0, 0) when there is none.
PixelBox visibleBox(const RgbaImage& image, int32_t threshold);

// The pixels of `box`, which lies within `image`.
RgbaImage cropImage(const RgbaImage& image, const PixelBox& box);

}  // namespace oz
