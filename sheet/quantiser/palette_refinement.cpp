#include "sheet/quantiser/palette_refinement.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

#include "sheet/quantiser/kept_nearest.h"

namespace oz {
namespace {

uint8_t roundedMean(int64_t sum, int64_t count) {
  return static_cast<uint8_t>((sum + count / 2) / count);
}

struct Cluster {
  std::array<int64_t, 4> sum{};  // red, green, blue, alpha, each x count
  int64_t count = 0;
  bool servesOpaque = false;

  void add(const CountedColour& c) {
    sum[0] += int64_t{c.red} * c.count;
    sum[1] += int64_t{c.green} * c.count;
    sum[2] += int64_t{c.blue} * c.count;
    sum[3] += int64_t{c.alpha} * c.count;
    count += c.count;
    servesOpaque = servesOpaque || c.alpha == 255;
  }

  // REQUIRES: count > 0.
  PaletteColour mean() const {
    return PaletteColour{roundedMean(sum[0], count), roundedMean(sum[1], count),
                         roundedMean(sum[2], count), roundedMean(sum[3], count)};
  }
};

PaletteColour withAlpha(PaletteColour c, uint8_t alpha) {
  c.alpha = alpha;
  return c;
}

// Where an entry that served nothing goes: the worst-served colours, each
// used once, worst first (the first seen of equals).
class WorstServed {
 public:
  WorstServed(std::span<const CountedColour> colours, const std::vector<int64_t>& errors)
      : colours_(colours), errors_(errors), taken_(colours.size(), false) {}

  // The worst-served colour, or nullptr when every colour is served exactly.
  const CountedColour* take() {
    size_t worst = colours_.size();
    for (size_t i = 0; i < colours_.size(); ++i) {
      if (taken_[i] || errors_[i] == 0) continue;
      if (worst == colours_.size() || errors_[i] > errors_[worst]) worst = i;
    }
    if (worst == colours_.size()) return nullptr;
    taken_[worst] = true;
    return &colours_[worst];
  }

 private:
  std::span<const CountedColour> colours_;
  const std::vector<int64_t>& errors_;
  std::vector<bool> taken_;
};

// The entries moved since the nearest ones were last found, each once.
class Moves {
 public:
  void add(int entry) {
    if (!marked_[entry]) list_.push_back(entry);
    marked_[entry] = true;
  }
  std::span<const int> list() const { return list_; }
  bool empty() const { return list_.empty(); }
  void clear() {
    for (int k : list_) marked_[k] = false;
    list_.clear();
  }

 private:
  std::vector<int> list_;
  std::array<bool, 256> marked_{};
};

// Lloyd rounds until no entry moves, at most kRefinementRounds. `sinceNearest`
// holds the entries moved since `nearest` was updated, and ends empty;
// `sinceTwo` gathers every entry moved.
void settle(std::span<PaletteColour> palette, int fixed, std::span<const CountedColour> colours,
            KeptNearest& nearest, Moves& sinceNearest, Moves& sinceTwo) {
  std::vector<int64_t> errors(colours.size());
  for (int round = 0; round < kRefinementRounds; ++round) {
    nearest.update(palette, fixed, colours, sinceNearest.list());
    sinceNearest.clear();
    std::vector<Cluster> clusters(palette.size());
    for (size_t i = 0; i < colours.size(); ++i) {
      clusters[nearest.entry(i)].add(colours[i]);
      errors[i] = int64_t{nearest.distance(i)} * colours[i].count;
    }
    WorstServed worst(colours, errors);
    for (size_t k = 0; k < palette.size(); ++k) {
      PaletteColour& entry = palette[k];
      PaletteColour next = entry;
      const Cluster& cluster = clusters[k];
      if (static_cast<int>(k) == fixed) {
        // The clear entry stays clear, but the faint pixels nearest it still
        // show their colour: it takes theirs.
        if (cluster.count > 0) next = withAlpha(cluster.mean(), entry.alpha);
      } else if (cluster.count > 0) {
        next = cluster.mean();
        // Opaque colours must keep an opaque entry; a mean of translucent
        // alphas never rounds up to 255.
        if (cluster.servesOpaque) next.alpha = 255;
      } else if (const CountedColour* c = worst.take()) {
        next = PaletteColour{c->red, c->green, c->blue, c->alpha};
      }
      if (!(next == entry)) {
        sinceNearest.add(static_cast<int>(k));
        sinceTwo.add(static_cast<int>(k));
      }
      entry = next;
    }
    if (sinceNearest.empty()) return;
  }
}

// Moves the entry whose colours would lose least by going to their next
// nearest entry onto the worst-served colour of the cluster with the largest
// error, when the one is below the other; the entry moved, or -1 when none
// qualifies.
// Lloyd rounds stop in the nearest local minimum; this steps out of it.
int relocate(std::span<PaletteColour> palette, int fixed, std::span<const CountedColour> colours,
             KeptTwoNearest& measure, Moves& sinceTwo, int64_t& total) {
  measure.update(palette, fixed, colours, sinceTwo.list());
  sinceTwo.clear();
  std::vector<int64_t> removal(palette.size(), 0);
  std::vector<int64_t> clusterError(palette.size(), 0);
  std::vector<int64_t> worstError(palette.size(), -1);
  std::vector<size_t> worstColour(palette.size(), 0);
  total = 0;
  for (size_t i = 0; i < colours.size(); ++i) {
    const CountedColour& c = colours[i];
    const NearestEntry::TwoNearest& two = measure[i];
    const int best = two.best;
    const int64_t d1 = two.first;
    const int64_t d2 = two.second == INT_MAX ? INT64_MAX : two.second;
    if (best < 0) continue;
    const int64_t error = d1 * c.count;
    total += error;
    clusterError[best] += error;
    removal[best] = d2 == INT64_MAX ? INT64_MAX : removal[best] + (d2 - d1) * c.count;
    if (error > worstError[best]) {
      worstError[best] = error;
      worstColour[best] = i;
    }
  }
  int cheapest = -1;
  int largest = -1;
  for (size_t k = 0; k < palette.size(); ++k) {
    if (static_cast<int>(k) == fixed) continue;
    if (removal[k] != INT64_MAX && (cheapest < 0 || removal[k] < removal[cheapest])) {
      cheapest = static_cast<int>(k);
    }
    if (largest < 0 || clusterError[k] > clusterError[largest]) largest = static_cast<int>(k);
  }
  if (cheapest < 0 || cheapest == largest || removal[cheapest] >= clusterError[largest] / 2) {
    return -1;
  }
  const CountedColour& c = colours[worstColour[largest]];
  palette[cheapest] = PaletteColour{c.red, c.green, c.blue, c.alpha};
  return cheapest;
}

// The clear entry starts in the mean colour of the translucent colours: in
// black, as it comes from the network, it is nearest to none of them, so the
// rounds would never move it. From there the faintest come to it, and it
// follows their colour.
void seedClearColour(PaletteColour& clear, std::span<const CountedColour> colours) {
  Cluster translucent;
  for (const CountedColour& c : colours) {
    if (c.alpha != 255) translucent.add(c);
  }
  if (translucent.count > 0) clear = withAlpha(translucent.mean(), clear.alpha);
}

}  // namespace

void refinePalette(std::span<PaletteColour> palette, int fixed,
                   std::span<const CountedColour> colours, size_t threads) {
  if (fixed >= 0) seedClearColour(palette[fixed], colours);
  KeptNearest nearest(threads);
  KeptTwoNearest two(threads);
  Moves sinceNearest;
  Moves sinceTwo;
  settle(palette, fixed, colours, nearest, sinceNearest, sinceTwo);
  // Each relocation searches two entries for every colour and settles again.
  if (colours.size() * palette.size() > kRelocationWork) return;
  std::vector<PaletteColour> before(palette.begin(), palette.end());
  int64_t error = 0;
  for (int n = 0; n < kRelocations; ++n) {
    before.assign(palette.begin(), palette.end());
    int64_t current = 0;
    const int relocated = relocate(palette, fixed, colours, two, sinceTwo, current);
    if (relocated < 0) return;
    if (n > 0 && current >= error) {
      std::copy(before.begin(), before.end(), palette.begin());
      return;
    }
    error = current;
    sinceNearest.add(relocated);
    sinceTwo.add(relocated);
    settle(palette, fixed, colours, nearest, sinceNearest, sinceTwo);
  }
}

}  // namespace oz
