#include "sheet/quantiser/palette_search.h"

#include <algorithm>

namespace oz {
namespace {

constexpr double kFar = 1 << 30;  // larger than any distance

// Visits entries up from i and down from j alternately; visit(k, upward) is
// false when entry k is too far in green alone, which ends the search or that
// side, as `stop` says.
template <class Visit>
void walk(int netsize, int i, int j, SearchStop stop, Visit visit) {
  const bool together = stop == SearchStop::Together;
  while (i < netsize || j >= 0) {
    if (i < netsize && !visit(i++, true)) {
      if (together) return;
      i = netsize;
    }
    if (j >= 0 && !visit(j--, false)) {
      if (together) return;
      j = -1;
    }
  }
}

// The search for an opaque pixel: w is exactly 1, so every term is a whole
// number far below 2^53 and the sums in double are exact. Integers give the
// same comparisons, faster.
int searchOpaque(const Colormap& map, int r, int g, int b, SearchStop stop) {
  int i = map.netindex[g];
  int j = i - 1;
  int best = 0;
  int bestd = 1 << 30;
  const auto visit = [&](int k, bool) {
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
  walk(map.netsize, i, j, stop, visit);
  return best;
}

}  // namespace

int searchColormap(const Colormap& map, const GammaTable& gt, int red, int green, int blue,
                   int alpha, SearchStop stop) {
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
  walk(map.netsize, i, j, stop, visit);
  return best;
}

int CachedSearch::search(int red, int green, int blue, int alpha) const {
  if (alpha == 255) {
    return searchOpaque(map_, static_cast<int>(gt_[red]), static_cast<int>(gt_[green]),
                        static_cast<int>(gt_[blue]), stop_);
  }
  return searchColormap(map_, gt_, red, green, blue, alpha, stop_);
}

CachedSearch::CachedSearch(const Colormap& map, const GammaTable& gt, SearchStop stop)
    : map_(map), gt_(gt), stop_(stop), slots_(size_t{1} << kSlotBits) {}

}  // namespace oz
