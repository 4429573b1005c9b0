// Alpha bleeding: giving the invisible pixels of a frame the colours of the
// visible pixels nearest to them, so that a filter blending across the edge of
// a shape pulls in the shape's own colour rather than black. Defined on
// straight alpha only.
#pragma once

#include <cstdint>
#include <vector>

#include "sheet/png/rgba_image.h"

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
// REQUIRES: the rectangle lies wholly inside the image, which holds fewer than
// 2^32 bytes (a sheet within the size limit holds 2^28).
struct BleedScratch;
void bleedColours(RgbaImage& image, int32_t x, int32_t y, int32_t width, int32_t height,
                  BleedScratch& scratch);

struct BleedScratch {
  struct Pixel {
    uint32_t at;     // in `distances`
    uint32_t place;  // the byte offset of the pixel on the image
  };
  std::vector<uint32_t> distances;
  std::vector<Pixel> order;
  std::vector<uint32_t> levels;
};

}  // namespace oz
