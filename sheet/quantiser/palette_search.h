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
    if (key == lastKey_ && lastIndex_ >= 0) return lastIndex_;
    // Multiplying by an odd number permutes the 32-bit keys, so the slot (the
    // top bits of the product) and the tag (the rest) together name one key.
    const uint32_t hash = key * kHashMultiplier;
    uint32_t& slot = slots_[hash >> (32 - kSlotBits)];
    const uint32_t tag = (hash & kTagMask) << 9 | kFilled;
    if ((slot & ~kIndexMask) != tag)
      slot = tag | static_cast<uint32_t>(search(red, green, blue, alpha));
    lastKey_ = key;
    lastIndex_ = static_cast<int>(slot & kIndexMask);
    return lastIndex_;
  }

 private:
  // A slot holds tag << 9 | kFilled | index in 4 bytes, so the table covers
  // the colours of a large dithered sheet while staying near the processor.
  static constexpr int kSlotBits = 18;
  static constexpr uint32_t kHashMultiplier = 2654435761u;  // Knuth's: spreads nearby colours
  static constexpr uint32_t kTagMask = (uint32_t{1} << (32 - kSlotBits)) - 1;
  static constexpr uint32_t kFilled = 0x100;  // 0, an empty slot, matches no tag
  static constexpr uint32_t kIndexMask = 0xff;

  int search(int red, int green, int blue, int alpha) const;

  const Colormap& map_;
  const GammaTable& gt_;
  std::vector<uint32_t> slots_;
  uint32_t lastKey_ = 0;  // the previous query: neighbouring pixels repeat it most often
  int lastIndex_ = -1;    // -1: no previous query
};

}  // namespace oz
