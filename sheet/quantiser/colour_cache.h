// Answers of a search kept by the whole query colour, for searches whose
// answer depends on the colour alone: sprites repeat their colours, dithered
// or not, so most queries are answered from the table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace oz {

// `kSlotBits`: the table holds 2^kSlotBits colours, 8 bytes each.
template <int kSlotBits>
class ColourCache {
 public:
  ColourCache() : slots_(size_t{1} << kSlotBits) {}

  // The answer for (red, green, blue, alpha), each 0..255: search() when the
  // colour is not in the table, which then keeps it in place of whatever
  // colour had its slot. search() returns 0..255.
  template <class Search>
  int operator()(int red, int green, int blue, int alpha, Search&& search) {
    const uint32_t key = static_cast<uint32_t>(red) | static_cast<uint32_t>(green) << 8 |
                         static_cast<uint32_t>(blue) << 16 | static_cast<uint32_t>(alpha) << 24;
    Slot& slot = slots_[(key * kSpread) >> (32 - kSlotBits)];
    if (slot.index == kEmpty || slot.key != key) {
      slot.key = key;
      slot.index = static_cast<uint16_t>(search());
    }
    return slot.index;
  }

 private:
  static constexpr uint32_t kSpread = 2654435761u;  // Knuth's multiplier
  static constexpr uint16_t kEmpty = 0xffff;
  struct Slot {
    uint32_t key = 0;
    uint16_t index = kEmpty;
  };

  std::vector<Slot> slots_;
};

}  // namespace oz
