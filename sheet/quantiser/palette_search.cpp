#include "sheet/quantiser/palette_search.h"

#include <algorithm>
#include <climits>

#include "sheet/quantiser/colour_weight.h"

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

// The distance of whole-number colours: the sum of the four squared
// differences, in integers (far below 2^31). For an opaque pixel in gamma
// space this is the weighted search's distance exactly (w is exactly 1, and
// every term a whole number far below 2^53, so the sums in double are exact),
// and integers give the same comparisons, faster.
int searchSquaresFrom(const Colormap& map, int r, int g, int b, int a, SearchStop stop) {
  int i = map.netindex[g];
  int j = i - 1;
  int best = 0;
  int bestd = 1 << 30;
  const auto visit = [&](int k, bool) {
    const GammaColour& e = map.colours[k];
    const int dg = (e.green - g) * (e.green - g);
    if (dg > bestd) return false;
    const int d = dg + (e.red - r) * (e.red - r) + (e.blue - b) * (e.blue - b) +
                  (e.alpha - a) * (e.alpha - a);
    // New records fall at no predictable step: select rather than branch.
    const int closer = -static_cast<int>(d < bestd);
    best ^= (best ^ k) & closer;
    bestd = std::min(d, bestd);
    return true;
  };
  walk(map.netsize, i, j, stop, visit);
  return best;
}

// A query as the weighted search compares it: colour in gamma space (0 for a
// clear query, which shows none) and the weight of colour, 1 - (1 - A / 255)^2.
struct WeightedQuery {
  int r;
  int g;
  int b;
  double w;
};

WeightedQuery weightedQuery(const GammaTable& gt, int red, int green, int blue, int alpha) {
  WeightedQuery q{0, 0, 0, 0};
  if (alpha != 0) {
    q.r = static_cast<int>(gt[red]);
    q.g = static_cast<int>(gt[green]);
    q.b = static_cast<int>(gt[blue]);
  }
  q.w = colourWeight(alpha);
  return q;
}

}  // namespace

int searchColormap(const Colormap& map, const GammaTable& gt, int red, int green, int blue,
                   int alpha, SearchStop stop) {
  // Named one by one: lambdas below use them, and not every compiler lets a
  // lambda capture a structured binding.
  const WeightedQuery query = weightedQuery(gt, red, green, blue, alpha);
  const int r = query.r;
  const int g = query.g;
  const int b = query.b;
  const double w = query.w;

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

int searchSquares(const Colormap& map, int red, int green, int blue, int alpha) {
  return searchSquaresFrom(map, red, green, blue, alpha, SearchStop::EachSide);
}

EachSideSearch::EachSideSearch(const Colormap& map, const GammaTable& gt)
    : map_(map), gt_(gt), cells_(map) {
  for (int v = 0; v < 256; ++v) {
    weights_[v] = colourWeight(v);
    levels_[v] = static_cast<uint8_t>(gt[v]);
  }
  std::array<int, 256> count{};
  for (int k = 0; k < map.netsize; ++k) ++count[map.colours[k].alpha];
  for (int a = 0; a < 256; ++a) alphaStart_[a + 1] = alphaStart_[a] + count[a];
  std::array<int, 257> next = alphaStart_;
  for (int k = 0; k < map.netsize; ++k)
    byAlpha_[next[map.colours[k].alpha]++] = static_cast<uint8_t>(k);
}

int EachSideSearch::operator()(int red, int green, int blue, int alpha) {
  if (map_.netsize == 0) return 0;
  const bool clear = alpha == 0;
  const int r = clear ? 0 : levels_[red];
  const int g = clear ? 0 : levels_[green];
  const int b = clear ? 0 : levels_[blue];
  const std::span<const uint8_t> candidates = cells_.candidates(r, g, b, alpha);
  if (candidates.empty()) return walk(red, green, blue, alpha);
  if (candidates.size() == 1) return candidates[0];
  const double w = weights_[alpha];
  // Where the walk by green starts: entries from here on it meets going up,
  // the others going down, alternately, nearest first.
  const int start = map_.netindex[g];
  // Two passes, neither with a branch on the data: the least distance, then
  // the entry the walk by green meets first among those at that distance.
  const auto sq = [](int v) { return v * v; };
  std::array<double, 256> distances;
  double least = kFar;
  for (size_t n = 0; n < candidates.size(); ++n) {
    const int k = candidates[n];
    const GammaColour& e = map_.colours[k];
    const double dg = sq(e.green - g) * w;
    const double dr = sq(e.red - r) * w;
    const double db = sq(e.blue - b) * w;
    const bool upward = k >= start;
    const double d = ((dg + (upward ? dr : db)) + (upward ? db : dr)) + sq(e.alpha - alpha);
    distances[n] = d;
    least = std::min(least, d);
  }
  int best = 0;
  int bestRank = INT_MAX;
  for (size_t n = 0; n < candidates.size(); ++n) {
    const int k = candidates[n];
    const int rank = k >= start ? 2 * (k - start) : 2 * (start - 1 - k) + 1;
    const bool first = (distances[n] == least) & (rank < bestRank);
    best = first ? k : best;
    bestRank = first ? rank : bestRank;
  }
  return best;
}

int EachSideSearch::walk(int red, int green, int blue, int alpha) const {
  if (alpha >= kWalkByAlphaBelow) {
    return searchColormap(map_, gt_, red, green, blue, alpha, SearchStop::EachSide);
  }
  // Named one by one: lambdas below use them, and not every compiler lets a
  // lambda capture a structured binding.
  const WeightedQuery query = weightedQuery(gt_, red, green, blue, alpha);
  const int r = query.r;
  const int g = query.g;
  const int b = query.b;
  const double w = query.w;
  // Where the walk by green starts: entries from here on it meets going up,
  // the others going down, alternately, nearest first.
  const int start = map_.netindex[g];
  int best = 0;
  double bestd = kFar;
  int bestRank = 0;
  const auto sq = [](int v) { return v * v; };
  // False when the entry's alpha difference alone exceeds the best: every
  // entry further out on its side differs more.
  const auto visit = [&](int k) {
    const GammaColour& e = map_.colours[k];
    const int da = sq(e.alpha - alpha);
    if (da > bestd) return false;
    const double dg = sq(e.green - g) * w;
    if (dg > bestd) return true;
    const double dr = sq(e.red - r) * w;
    const double db = sq(e.blue - b) * w;
    const bool upward = k >= start;
    const double d = (upward ? (dg + dr) + db : (dg + db) + dr) + da;
    const int rank = upward ? 2 * (k - start) : 2 * (start - 1 - k) + 1;
    if (d < bestd || (d == bestd && rank < bestRank)) {
      bestd = d;
      best = k;
      bestRank = rank;
    }
    return true;
  };
  int up = alphaStart_[alpha];
  int down = up - 1;
  while (up < map_.netsize || down >= 0) {
    if (up < map_.netsize && !visit(byAlpha_[up++])) up = map_.netsize;
    if (down >= 0 && !visit(byAlpha_[down--])) down = -1;
  }
  return best;
}

int CachedSearch::search(int red, int green, int blue, int alpha) const {
  if (alpha == 255) {
    return searchSquaresFrom(map_, static_cast<int>(gt_[red]), static_cast<int>(gt_[green]),
                             static_cast<int>(gt_[blue]), 255, stop_);
  }
  return searchColormap(map_, gt_, red, green, blue, alpha, stop_);
}

CachedSearch::CachedSearch(const Colormap& map, const GammaTable& gt, SearchStop stop)
    : map_(map), gt_(gt), stop_(stop), slots_(size_t{1} << kSlotBits) {}

}  // namespace oz
