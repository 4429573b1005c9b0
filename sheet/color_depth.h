// The colour depth choices, in the order of the "Color Depth" list: the index
// the settings file stores and the sheet build takes.
#pragma once

#include <cstdint>

namespace oz {

enum ColorDepth : int32_t {
  kDepth32 = 0,
  kDepth24 = 1,
  kDepth8 = 2,
  kDepth4 = 3,
  kDepth1 = 4,
  kDepthAlpha = 5,
};

}  // namespace oz
