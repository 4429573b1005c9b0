// The nearest entry, where two or more are equally near, taken as the pixel
// to the left took it. The distance, and so the error, is the same either way;
// a row that keeps its index longer gives deflate longer repeats. Distances
// are whole numbers, so ties are common between entries on either side of a
// colour.
#pragma once

#include <cstdint>
#include <span>

#include "sheet/quantiser/nearest_entry.h"
#include "sheet/quantiser/reduction.h"

namespace oz {

class LeftTieSearch {
 public:
  LeftTieSearch(std::span<const PaletteColour> entries, int transparent)
      : entries_(entries), search_(entries, transparent), measure_(entries, transparent) {}

  // The next pixel starts a row: it has no left neighbour.
  void startRow() { left_ = -1; }

  // Called for the pixels of a row from left to right.
  int operator()(int red, int green, int blue, int alpha) {
    int best = search_(red, green, blue, alpha);
    // A clear pixel keeps the clear entry, an opaque one an opaque entry.
    if (left_ >= 0 && left_ != best && alpha != 0 &&
        (alpha != 255 || entries_[left_].alpha == 255) &&
        measure_.distance(left_, red, green, blue, alpha) ==
            measure_.distance(best, red, green, blue, alpha)) {
      best = left_;
    }
    left_ = best;
    return best;
  }

 private:
  std::span<const PaletteColour> entries_;
  CachedNearestEntry search_;
  NearestEntry measure_;
  int left_ = -1;
};

}  // namespace oz
