#include "sheet/quantiser/palette_search.h"

namespace oz {
namespace {

constexpr double kFar = 1 << 30;  // larger than any distance

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
  // Squares of whole-number differences; the sums in double, in two different
  // orders for the two directions.
  const auto sq = [](int v) { return v * v; };
  while (i < map.netsize || j >= 0) {
    if (i < map.netsize) {
      const GammaColour& e = map.colours[i];
      const double dg = sq(e.green - g) * w;
      if (dg > bestd) break;
      const double d = ((dg + sq(e.red - r) * w) + sq(e.blue - b) * w) + sq(e.alpha - alpha);
      if (d < bestd) {
        bestd = d;
        best = i;
      }
      ++i;
    }
    if (j >= 0) {
      const GammaColour& e = map.colours[j];
      const double dg = sq(e.green - g) * w;
      if (dg > bestd) break;
      const double d = ((dg + sq(e.blue - b) * w) + sq(e.red - r) * w) + sq(e.alpha - alpha);
      if (d < bestd) {
        bestd = d;
        best = j;
      }
      --j;
    }
  }
  return best;
}

CachedSearch::CachedSearch(const Colormap& map, const GammaTable& gt)
    : map_(map), gt_(gt), slots_(size_t{1} << kSlotBits) {}

}  // namespace oz
