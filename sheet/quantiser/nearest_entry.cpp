#include "sheet/quantiser/nearest_entry.h"

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

CachedNearestEntry::CachedNearestEntry(std::span<const PaletteColour> entries, int transparent)
    : nearest_(entries, transparent), slots_(size_t{1} << kSlotBits) {}

}  // namespace oz
