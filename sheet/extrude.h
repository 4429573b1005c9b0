// Repeating a frame's outermost pixels outward, so that a filter sampling just
// past the frame's edge on the sheet finds the frame's own edge there.
#pragma once

#include <cstdint>

#include "sheet/png/rgba_image.h"

namespace oz {

// The frame drawn on `canvas` at (x, y), `width` x `height`: its left and right
// columns are copied `amount` times outward, then its top and bottom rows,
// widened by those copies, `amount` times up and down, so each corner of the
// ring takes the frame's corner pixel. Every channel is copied as it is.
// REQUIRES: the frame and its ring lie wholly inside the canvas.
void extrudeEdges(RgbaImage& canvas, int32_t x, int32_t y, int32_t width, int32_t height,
                  int32_t amount);

}  // namespace oz
