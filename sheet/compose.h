// Drawing frames onto the sheet canvas.
#pragma once

#include <cstdint>

#include "sheet/frame.h"

namespace oz {

// Draws `frame` with its top-left corner at (x, y) source-over a canvas that is
// still transparent there (frames never overlap). The canvas keeps colour
// premultiplied by alpha, rounded to nearest: (c x a + 127) / 255, so a fully
// transparent pixel lands as (0, 0, 0, 0).
// REQUIRES: the frame lies wholly inside the canvas.
void drawFrame(RgbaImage& canvas, const RgbaImage& frame, int64_t x, int64_t y);

}  // namespace oz
