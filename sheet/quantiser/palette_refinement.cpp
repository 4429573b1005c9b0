#include "sheet/quantiser/palette_refinement.h"

#include <array>
#include <cstdint>

#include "sheet/quantiser/nearest_entry.h"

namespace oz {
namespace {

struct Cluster {
  std::array<int64_t, 4> sum{};  // red, green, blue, alpha, each x count
  int64_t count = 0;
  bool servesOpaque = false;
};

uint8_t roundedMean(int64_t sum, int64_t count) {
  return static_cast<uint8_t>((sum + count / 2) / count);
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

}  // namespace

void refinePalette(std::span<PaletteColour> palette, int fixed,
                   std::span<const CountedColour> colours) {
  std::vector<int64_t> errors(colours.size());
  for (int round = 0; round < kRefinementRounds; ++round) {
    std::vector<Cluster> clusters(palette.size());
    {
      const NearestEntry nearest(palette, fixed);
      for (size_t i = 0; i < colours.size(); ++i) {
        const CountedColour& c = colours[i];
        const int k = nearest(c.red, c.green, c.blue, c.alpha);
        Cluster& cluster = clusters[k];
        cluster.sum[0] += int64_t{c.red} * c.count;
        cluster.sum[1] += int64_t{c.green} * c.count;
        cluster.sum[2] += int64_t{c.blue} * c.count;
        cluster.sum[3] += int64_t{c.alpha} * c.count;
        cluster.count += c.count;
        cluster.servesOpaque = cluster.servesOpaque || c.alpha == 255;
        errors[i] = int64_t{nearest.distance(k, c.red, c.green, c.blue, c.alpha)} * c.count;
      }
    }
    bool moved = false;
    WorstServed worst(colours, errors);
    for (size_t k = 0; k < palette.size(); ++k) {
      if (static_cast<int>(k) == fixed) continue;
      PaletteColour& entry = palette[k];
      PaletteColour next = entry;
      const Cluster& cluster = clusters[k];
      if (cluster.count > 0) {
        next = PaletteColour{
            roundedMean(cluster.sum[0], cluster.count), roundedMean(cluster.sum[1], cluster.count),
            roundedMean(cluster.sum[2], cluster.count), roundedMean(cluster.sum[3], cluster.count)};
        // Opaque colours must keep an opaque entry; a mean of translucent
        // alphas never rounds up to 255.
        if (cluster.servesOpaque) next.alpha = 255;
      } else if (const CountedColour* c = worst.take()) {
        next = PaletteColour{c->red, c->green, c->blue, c->alpha};
      }
      moved = moved || !(next == entry);
      entry = next;
    }
    if (!moved) return;
  }
}

}  // namespace oz
