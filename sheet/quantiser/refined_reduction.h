// 4 and 8 bits with the network's palette refined by k-means on the image's
// colours, each pixel mapped to the nearest entry (of equals, the one its left
// neighbour took).
#pragma once

#include <cstdint>
#include <memory>

#include "sheet/quantiser/image_view.h"
#include "sheet/quantiser/reduction.h"

namespace oz {

// `bits` is 4 or 8. Over opaque pixels every entry is opaque; over
// straight-alpha pixels the ends of alpha stay exact as openWithAlpha keeps
// them, and the entries keep its order. Up to `threads` threads share the
// work; the result does not depend on how many.
std::unique_ptr<Reduction> openRefined(const OpaqueImage& image, int32_t bits, bool dither,
                                       size_t threads = 1);
std::unique_ptr<Reduction> openRefined(const AlphaImage& image, int32_t bits, bool dither,
                                       size_t threads = 1);

}  // namespace oz
