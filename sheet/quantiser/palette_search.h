// The nearest palette index for a pixel, searched outward from the colormap
// entry its green level points to.
#pragma once

#include <cstdint>
#include <vector>

#include "sheet/quantiser/colormap.h"

namespace oz {

// Nearest entry of `map` for the pixel (red, green, blue, alpha), each 0..255.
// Walks up from netindex[green] and down from the entry below it, alternately;
// the first entry whose green distance alone exceeds the best distance so far
// ends the whole search, on either side. On equal distances the entry found
// first stays.
int searchColormap(const Colormap& map, const GammaTable& gt, int red, int green, int blue,
                   int alpha);

// searchColormap with a memory: the result depends on the query colour alone,
// and sprites repeat their colours, dithered or not, so most pixels are answered
// from a table keyed by the colour. Opaque queries that miss are searched in
// integers, which give the same answer.
class CachedSearch {
 public:
  CachedSearch(const Colormap& map, const GammaTable& gt);

  int operator()(int red, int green, int blue, int alpha) {
    const uint32_t key = static_cast<uint32_t>(red) | static_cast<uint32_t>(green) << 8 |
                         static_cast<uint32_t>(blue) << 16 | static_cast<uint32_t>(alpha) << 24;
    if (key == last_.key && last_.index >= 0) return last_.index;
    Slot& slot = slots_[(key * kHashMultiplier) >> (32 - kSlotBits)];
    if (slot.index < 0 || slot.key != key) {
      slot.key = key;
      slot.index = search(red, green, blue, alpha);
    }
    last_ = slot;
    return slot.index;
  }

 private:
  static constexpr int kSlotBits = 16;
  static constexpr uint32_t kHashMultiplier = 2654435761u;  // Knuth's: spreads nearby colours

  int search(int red, int green, int blue, int alpha) const;

  struct Slot {
    uint32_t key = 0;
    int32_t index = -1;  // -1: empty
  };

  const Colormap& map_;
  const GammaTable& gt_;
  std::vector<Slot> slots_;
  Slot last_;  // the previous query: neighbouring pixels repeat it most often
};

}  // namespace oz
