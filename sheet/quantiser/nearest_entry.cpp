#include "sheet/quantiser/nearest_entry.h"

#include <climits>
#include <vector>

#include "sheet/quantiser/palette_search.h"

namespace oz {
namespace {

// An error of alpha shows on every channel of what lies behind, so it weighs
// as much as all three colour errors would: the colormaps hold alpha doubled,
// which makes its squared difference count four times.
constexpr int kAlphaScale = 2;

GammaColour wholeNumbers(const PaletteColour& c) {
  return GammaColour{c.red, c.green, c.blue, kAlphaScale * c.alpha};
}

// Visits the entries of `map` outward from the green level's start, up and
// down alternately, each side until visit(k) is false.
template <class Visit>
void walkFromGreen(const Colormap& map, int green, const Visit& visit) {
  int i = map.netindex[green];
  int j = i - 1;
  while (i < map.netsize || j >= 0) {
    if (i < map.netsize && !visit(i++)) i = map.netsize;
    if (j >= 0 && !visit(j--)) j = -1;
  }
}

}  // namespace

NearestEntry::NearestEntry(std::span<const PaletteColour> entries, int transparent)
    : entries_(entries), transparent_(transparent) {
  std::vector<GammaColour> all;
  std::vector<GammaColour> opaque;
  std::array<uint8_t, 256> opaqueIndex{};
  for (size_t i = 0; i < entries.size(); ++i) {
    all.push_back(wholeNumbers(entries[i]));
    if (entries[i].alpha == 255) {
      opaqueIndex[opaque.size()] = static_cast<uint8_t>(i);
      opaque.push_back(all.back());
    }
  }
  all_ = sortedColormap(all, allOrder_);
  opaque_ = sortedColormap(opaque, opaqueOrder_);
  for (int k = 0; k < opaque_.netsize; ++k) opaqueOrder_[k] = opaqueIndex[opaqueOrder_[k]];
}

int NearestEntry::operator()(int red, int green, int blue, int alpha) const {
  if (alpha == 0) {
    if (transparent_ >= 0) return transparent_;
    red = green = blue = 0;
  }
  if (alpha == 255 && opaque_.netsize > 0) {
    return opaqueOrder_[searchSquares(opaque_, red, green, blue, kAlphaScale * 255)];
  }
  return allOrder_[searchSquares(all_, red, green, blue, kAlphaScale * alpha)];
}

int NearestEntry::distance(int index, int red, int green, int blue, int alpha) const {
  const PaletteColour& e = entries_[index];
  if (alpha == 0) red = green = blue = 0;
  const auto sq = [](int v) { return v * v; };
  return sq(e.red - red) + sq(e.green - green) + sq(e.blue - blue) +
         sq(kAlphaScale * (e.alpha - alpha));
}

NearestEntry::TwoNearest NearestEntry::twoNearest(int red, int green, int blue, int alpha) const {
  if (alpha == 0) {
    if (transparent_ >= 0) {
      // Every clear colour takes that entry, whatever the others.
      return {transparent_, distance(transparent_, red, green, blue, alpha), INT_MAX, -1};
    }
    red = green = blue = 0;
  }
  const bool opaque = alpha == 255 && opaque_.netsize > 0;
  const Colormap& map = opaque ? opaque_ : all_;
  const std::array<uint8_t, 256>& order = opaque ? opaqueOrder_ : allOrder_;
  const int a = kAlphaScale * alpha;
  TwoNearest found{-1, INT_MAX, INT_MAX, -1};
  // Outward from the colour's green level, each side until the green
  // difference alone exceeds the second distance: no entry further out can
  // come nearer than either.
  const auto visit = [&](int k) {
    const GammaColour& e = map.colours[k];
    const int dg = (e.green - green) * (e.green - green);
    if (dg > found.second) return false;
    const int d = dg + (e.red - red) * (e.red - red) + (e.blue - blue) * (e.blue - blue) +
                  (e.alpha - a) * (e.alpha - a);
    found.offer(order[k], d);
    return true;
  };
  walkFromGreen(map, green, visit);
  return found;
}

NearestEntry::Found NearestEntry::find(int red, int green, int blue, int alpha) const {
  if (alpha == 0) {
    if (transparent_ >= 0) return {transparent_, distance(transparent_, red, green, blue, 0), true};
    red = green = blue = 0;
  }
  const bool opaque = alpha == 255 && opaque_.netsize > 0;
  const Colormap& map = opaque ? opaque_ : all_;
  const int a = kAlphaScale * alpha;
  // The walk and the choice among equals of searchSquares, counting the
  // entries at the least distance. Every one of them is met: an entry at that
  // distance is never further in green alone than the best so far.
  int best = 0;
  int bestd = 1 << 30;
  int equals = 0;
  const auto visit = [&](int k) {
    const GammaColour& e = map.colours[k];
    const int dg = (e.green - green) * (e.green - green);
    if (dg > bestd) return false;
    const int d = dg + (e.red - red) * (e.red - red) + (e.blue - blue) * (e.blue - blue) +
                  (e.alpha - a) * (e.alpha - a);
    if (d < bestd) {
      best = k;
      bestd = d;
      equals = 1;
    } else if (d == bestd) {
      ++equals;
    }
    return true;
  };
  walkFromGreen(map, green, visit);
  const std::array<uint8_t, 256>& order = opaque ? opaqueOrder_ : allOrder_;
  return {order[best], bestd, equals == 1};
}

}  // namespace oz
