// The nearest palette entry by plain squared differences of red, green, blue
// and alpha, the measure the refined palettes are made for. Opaque colours
// take opaque entries only, clear colours one chosen entry.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "sheet/quantiser/colormap.h"
#include "sheet/quantiser/colour_cache.h"
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

  // Among the entries operator() chooses from: the nearest (the lowest index
  // of equals), its distance and the distance of the next nearest (equal to
  // the first when two entries tie; INT_MAX when there is only one entry).
  struct TwoNearest {
    int best = 0;
    int first = 0;
    int second = 0;
    int next = -1;  // an entry at the second distance, other than best; -1: none

    // Takes entry `index` at distance `d` into account. In any order, the
    // entries offered give the nearest (the lowest index of equals) and the
    // second distance.
    void offer(int index, int d) {
      if (d < first || (d == first && index < best)) {
        second = first;
        next = best;
        first = d;
        best = index;
      } else if (d < second) {
        second = d;
        next = index;
      }
    }
  };
  TwoNearest twoNearest(int red, int green, int blue, int alpha) const;

  // What operator() chooses, its distance, and whether it is the only entry
  // at that distance among those operator() chooses from.
  struct Found {
    int index = 0;
    int distance = 0;
    bool alone = true;
  };
  Found find(int red, int green, int blue, int alpha) const;

  // Whether operator() may choose entry `index` for a colour of `alpha`.
  bool mayServe(int index, int alpha) const {
    return alpha != 255 || opaque_.netsize == 0 || entries_[index].alpha == 255;
  }
  bool hasOpaque() const { return opaque_.netsize > 0; }

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
  CachedNearestEntry(std::span<const PaletteColour> entries, int transparent)
      : nearest_(entries, transparent) {}

  int operator()(int red, int green, int blue, int alpha) {
    return cache_(red, green, blue, alpha, [&] { return nearest_(red, green, blue, alpha); });
  }

 private:
  NearestEntry nearest_;
  ColourCache<18> cache_;
};

}  // namespace oz
