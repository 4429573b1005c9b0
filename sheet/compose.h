// Drawing frames onto the sheet canvas.
#pragma once

#include <cstdint>

#include "sheet/layout/frame.h"
#include "sheet/png/rgba_image.h"

namespace oz {

// How the canvas stores colour.
enum class CanvasAlpha {
  // Each frame pixel as it is, (r, g, b, a): what a PNG's samples mean.
  Straight,
  // Colour multiplied by alpha, rounded to nearest: (c x a + 127) / 255.
  Premultiplied,
};

// Draws `frame` with its top-left corner at (x, y) source-over a canvas that is
// still transparent there (frames never overlap). Either way a fully
// transparent pixel lands as (0, 0, 0, 0).
// REQUIRES: the frame lies wholly inside the canvas.
void drawFrame(RgbaImage& canvas, const RgbaImage& frame, int64_t x, int64_t y, CanvasAlpha alpha);

// As drawFrame, but with `frame` turned by 90 degrees `turn`wise: it covers
// frame.height x frame.width from (x, y). Turned clockwise, the frame's
// bottom-left pixel lands at (x, y); anticlockwise, its top-right one does.
void drawTurnedFrame(RgbaImage& canvas, const RgbaImage& frame, int64_t x, int64_t y, Turn turn,
                     CanvasAlpha alpha);

}  // namespace oz
