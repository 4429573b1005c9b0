#include "sheet/quantiser/palette_search.h"

#include <algorithm>

namespace oz {
namespace {

constexpr double kFar = 1 << 30;  // larger than any distance

// The search for an opaque pixel: w is exactly 1, so every term is a whole
// number far below 2^53 and the sums in double are exact. Integers give the
// same comparisons, faster.
int searchOpaque(const Colormap& map, int r, int g, int b) {
  int i = map.netindex[g];
  int j = i - 1;
  int best = 0;
  int bestd = 1 << 30;
  const auto visit = [&](int k) {
    const GammaColour& e = map.colours[k];
    const int dg = (e.green - g) * (e.green - g);
    if (dg > bestd) return false;
    const int d = dg + (e.red - r) * (e.red - r) + (e.blue - b) * (e.blue - b) +
                  (e.alpha - 255) * (e.alpha - 255);
    // New records fall at no predictable step: select rather than branch.
    const int closer = -static_cast<int>(d < bestd);
    best ^= (best ^ k) & closer;
    bestd = std::min(d, bestd);
    return true;
  };
  while (i < map.netsize || j >= 0) {
    if (i < map.netsize && !visit(i++)) break;
    if (j >= 0 && !visit(j--)) break;
  }
  return best;
}

}  // namespace

int searchColormap(const Colormap& map, const GammaTable& gt, int red, int green, int blue,
                   int alpha) {
  int r = 0;
  int g = 0;
  int b = 0;
  if (alpha != 0) {
    r = static_cast<int>(gt[red]);
    g = static_cast<int>(gt[green]);
    b = static_cast<int>(gt[blue]);
  }
  const double t = 1 - alpha / 255.0;
  const double w = 1 - t * t;

  int i = map.netindex[g];
  int j = i - 1;
  int best = 0;
  double bestd = kFar;
  // Squares of whole-number differences, summed in double: upward red before
  // blue, downward blue before red. False when the entry's green distance alone
  // exceeds the best, which ends the whole search.
  const auto sq = [](int v) { return v * v; };
  const auto visit = [&](int k, bool upward) {
    const GammaColour& e = map.colours[k];
    const double dg = sq(e.green - g) * w;
    if (dg > bestd) return false;
    const double dr = sq(e.red - r) * w;
    const double db = sq(e.blue - b) * w;
    const double d = (upward ? (dg + dr) + db : (dg + db) + dr) + sq(e.alpha - alpha);
    if (d < bestd) {
      bestd = d;
      best = k;
    }
    return true;
  };
  while (i < map.netsize || j >= 0) {
    if (i < map.netsize && !visit(i++, true)) break;
    if (j >= 0 && !visit(j--, false)) break;
  }
  return best;
}

int CachedSearch::search(int red, int green, int blue, int alpha) const {
  if (alpha == 255) {
    return searchOpaque(map_, static_cast<int>(gt_[red]), static_cast<int>(gt_[green]),
                        static_cast<int>(gt_[blue]));
  }
  return searchColormap(map_, gt_, red, green, blue, alpha);
}

CachedSearch::CachedSearch(const Colormap& map, const GammaTable& gt)
    : map_(map), gt_(gt), slots_(size_t{1} << kSlotBits) {}

}  // namespace oz
