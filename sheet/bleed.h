// Alpha bleeding: giving the invisible pixels of a frame the colours of the
// visible pixels nearest to them, so that a filter blending across the edge of
// a shape pulls in the shape's own colour rather than black. Defined on
// straight alpha only.
#pragma once

#include <cstdint>
#include <vector>

#include "sheet/frame.h"

namespace oz {

// Within the rectangle (x, y, width, height) of `image`, every pixel of alpha 0
// takes the red, green and blue of the nearest pixel of alpha above 0; its
// alpha stays 0 and no other pixel changes. "Nearest" is repeated one-pixel
// growth: pass 1 fills each invisible pixel that touches a visible one, across
// or diagonally; pass n fills those that touch a pixel filled before pass n.
// A pixel filled in a pass copies the first of its neighbours filled before that
// pass, in the order left, right, up, down, up-left, up-right, down-left,
// down-right. Each pass reads only what earlier passes wrote, so the result is
// the same whatever order a pass visits its pixels in. A rectangle with no
// visible pixel is left as it is.
// `scratch` is memory kept from one call to the next, so that bleeding frame
// after frame does not ask for it again each time.
// REQUIRES: the rectangle lies wholly inside the image.
struct BleedScratch;
void bleedColours(RgbaImage& image, int32_t x, int32_t y, int32_t width, int32_t height,
                  BleedScratch& scratch);

struct BleedScratch {
  std::vector<uint8_t> pixels;
  std::vector<uint32_t> frontier;
  std::vector<uint32_t> next;
};

}  // namespace oz
