// The nearest palette entry by plain squared differences of red, green, blue
// and alpha, the measure the refined palettes are made for. Opaque colours
// take opaque entries only, clear colours one chosen entry.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "sheet/quantiser/colormap.h"
#include "sheet/quantiser/reduction.h"

namespace oz {

class NearestEntry {
 public:
  // `transparent` is the entry every colour of alpha 0 takes, or -1: then such
  // a colour counts as (0, 0, 0, 0), since a clear pixel shows no colour.
  NearestEntry(std::span<const PaletteColour> entries, int transparent);

  // The entry nearest to the colour: one of alpha 255 for an opaque colour
  // (when there is any), any entry for the others.
  int operator()(int red, int green, int blue, int alpha) const;

  // How far entry `index` is from the colour, in the same measure.
  int distance(int index, int red, int green, int blue, int alpha) const;

 private:
  std::span<const PaletteColour> entries_;
  int transparent_;
  Colormap all_;
  std::array<uint8_t, 256> allOrder_{};
  Colormap opaque_;
  std::array<uint8_t, 256> opaqueOrder_{};
};

// NearestEntry with a memory of recent answers, keyed by the colour: sprites
// repeat their colours, dithered or not.
class CachedNearestEntry {
 public:
  CachedNearestEntry(std::span<const PaletteColour> entries, int transparent);

  int operator()(int red, int green, int blue, int alpha) {
    const uint32_t key = static_cast<uint32_t>(red) | static_cast<uint32_t>(green) << 8 |
                         static_cast<uint32_t>(blue) << 16 | static_cast<uint32_t>(alpha) << 24;
    Slot& slot = slots_[(key * kSpread) >> (32 - kSlotBits)];
    if (slot.index == kEmpty || slot.key != key) {
      slot.key = key;
      slot.index = static_cast<uint16_t>(nearest_(red, green, blue, alpha));
    }
    return slot.index;
  }

 private:
  static constexpr int kSlotBits = 18;
  static constexpr uint32_t kSpread = 2654435761u;  // Knuth's multiplier
  static constexpr uint16_t kEmpty = 0xffff;
  struct Slot {
    uint32_t key = 0;
    uint16_t index = kEmpty;
  };

  NearestEntry nearest_;
  std::vector<Slot> slots_;
};

}  // namespace oz
