// packRectangles on a given number of threads, for the tests that hold its
// result to be the same on any number.
#pragma once

#include <cstddef>
#include <span>

#include "sheet/layout/rect_packer.h"

namespace oz {

PackResult packRectanglesOn(std::span<const RectSize> rects, const PackRules& rules,
                            size_t threads);

}  // namespace oz
