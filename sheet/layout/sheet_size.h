// The sizes a sheet may have, whatever its layout.
#pragma once

#include <cstdint>

namespace oz {

// Neither side of a sheet may pass this many pixels (8,192 is allowed).
inline constexpr int64_t kSheetSizeLimit = 8192;

// Pads one side up to the next power of two from 2 (1 and 2 give 2, 3 gives 4,
// 64 stays 64); sides past kSheetSizeLimit stay as they are.
constexpr int64_t padToPowerOf2(int64_t side) {
  for (int64_t power = 2; power <= kSheetSizeLimit; power *= 2) {
    if (power >= side) return power;
  }
  return side;
}

// The longest side a sheet of at most `maxSize` pixels a side may have once
// padded: `maxSize` itself, or with powers of two the largest not above it.
constexpr int64_t largestSheetSide(int64_t maxSize, bool powerOf2) {
  if (!powerOf2) return maxSize;
  int64_t side = 1;
  while (side * 2 <= maxSize) side *= 2;
  return side;
}

}  // namespace oz
