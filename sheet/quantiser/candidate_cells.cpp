#include "sheet/quantiser/candidate_cells.h"

#include <algorithm>
#include <utility>

namespace oz {
namespace {

// A box of queries: levels lo .. lo + side - 1 of each colour channel (gamma
// space) and of alpha.
struct Box {
  int red;
  int green;
  int blue;
  int alpha;
  int colourSide;
  int alphaSide;
};

// An entry is dropped when it is further than some other entry, everywhere in
// the box, by more than this. The searches sum in double, each distance below
// 2^19 and rounded a few times by at most 2^-53 of it, so their sums come
// nowhere near undoing a lead this large.
constexpr double kRoundingSlack = 1e-6;

// The entries nearest to the middle of the box that every other entry is
// held against: enough that few entries beaten everywhere in the box survive,
// few enough to cost little.
constexpr int kJudges = 8;

// The least, over the box, of dist(e) - dist(f). Each squared difference
// less the other, (e - q)^2 - (f - q)^2, is linear in the query level q, so
// it is least at one end of the range; the colour part is then scaled by the
// weight, which ranges between the weights of the box's ends of alpha.
double leastLead(const GammaColour& e, const GammaColour& f, const Box& box, double leastWeight,
                 double greatestWeight) {
  const auto lead = [](int ek, int fk, int lo, int side) {
    const auto at = [&](int q) { return (ek - q) * (ek - q) - (fk - q) * (fk - q); };
    return std::min(at(lo), at(lo + side - 1));
  };
  const int colour = lead(e.red, f.red, box.red, box.colourSide) +
                     lead(e.green, f.green, box.green, box.colourSide) +
                     lead(e.blue, f.blue, box.blue, box.colourSide);
  return std::min(colour * leastWeight, colour * greatestWeight) +
         lead(e.alpha, f.alpha, box.alpha, box.alphaSide);
}

// Appends to `pool` the entries of `from` that no judge beats everywhere in
// the box, in the order of `from`; returns how many.
uint32_t keepCandidates(const Colormap& map, std::span<const uint8_t> from, const Box& box,
                        std::vector<uint8_t>& pool) {
  // The weight grows with alpha, so the box's ends of alpha bound it.
  const double leastWeight = colourWeight(box.alpha);
  const double greatestWeight = colourWeight(box.alpha + box.alphaSide - 1);
  const int r = box.red + box.colourSide / 2;
  const int g = box.green + box.colourSide / 2;
  const int b = box.blue + box.colourSide / 2;
  const int a = box.alpha + box.alphaSide / 2;
  const double w = colourWeight(a);
  const auto sq = [](int v) { return v * v; };
  std::array<std::pair<double, uint8_t>, 256> byMiddle{};
  for (size_t n = 0; n < from.size(); ++n) {
    const GammaColour& e = map.colours[from[n]];
    const int colour = sq(e.red - r) + sq(e.green - g) + sq(e.blue - b);
    byMiddle[n] = {colour * w + sq(e.alpha - a), from[n]};
  }
  const size_t judges = std::min(from.size(), static_cast<size_t>(kJudges));
  std::partial_sort(byMiddle.begin(), byMiddle.begin() + judges, byMiddle.begin() + from.size());
  uint32_t kept = 0;
  for (const uint8_t k : from) {
    const GammaColour& e = map.colours[k];
    const auto beats = [&](const std::pair<double, uint8_t>& judge) {
      return leastLead(e, map.colours[judge.second], box, leastWeight, greatestWeight) >
             kRoundingSlack;
    };
    if (std::any_of(byMiddle.begin(), byMiddle.begin() + judges, beats)) continue;
    pool.push_back(k);
    ++kept;
  }
  return kept;
}

}  // namespace

CandidateCells::CandidateCells(const Colormap& map)
    : map_(map),
      directory_(size_t{1} << (4 * (8 - kRegionShift)), kNoRegion),
      warmth_(directory_.size(), 0) {
  for (int k = 0; k < map.netsize; ++k) everyEntry_.push_back(static_cast<uint8_t>(k));
}

bool CandidateCells::fill(uint32_t region, uint32_t cell) {
  if (directory_[region] == kNoRegion && ++warmth_[region] < kWarmQueries) return false;
  const bool full = pool_.size() + 2 * everyEntry_.size() > kMaxPool ||
                    (directory_[region] == kNoRegion && regions_.size() == kMaxRegions);
  if (full) {
    std::fill(directory_.begin(), directory_.end(), kNoRegion);
    std::fill(warmth_.begin(), warmth_.end(), uint8_t{0});
    regions_.clear();
    pool_.clear();
  }
  constexpr uint32_t kMask = (1u << (8 - kRegionShift)) - 1;
  constexpr int kSide = 1 << kRegionShift;
  const Box whole{static_cast<int>(region & kMask) * kSide,
                  static_cast<int>(region >> (8 - kRegionShift) & kMask) * kSide,
                  static_cast<int>(region >> (2 * (8 - kRegionShift)) & kMask) * kSide,
                  static_cast<int>(region >> (3 * (8 - kRegionShift))) * kSide,
                  kSide,
                  kSide};
  if (directory_[region] == kNoRegion) {
    directory_[region] = static_cast<uint32_t>(regions_.size());
    Region added;
    added.all.begin = static_cast<uint32_t>(pool_.size());
    added.all.count = keepCandidates(map_, everyEntry_, whole, pool_);
    regions_.push_back(added);
  }
  Region& found = regions_[directory_[region]];
  constexpr uint32_t kColourMask = kColourCells - 1;
  constexpr int kBits = kRegionShift - kColourShift;
  const Box box{
      whole.red + static_cast<int>(cell & kColourMask) * (1 << kColourShift),
      whole.green + static_cast<int>(cell >> kBits & kColourMask) * (1 << kColourShift),
      whole.blue + static_cast<int>(cell >> (2 * kBits) & kColourMask) * (1 << kColourShift),
      whole.alpha + static_cast<int>(cell >> (3 * kBits)) * (1 << kAlphaShift),
      1 << kColourShift,
      1 << kAlphaShift};
  List& list = found.cells[cell];
  list.begin = static_cast<uint32_t>(pool_.size());
  // The region's candidates as they lie in the pool: the list below grows it.
  std::array<uint8_t, 256> all{};
  std::copy_n(pool_.begin() + found.all.begin, found.all.count, all.begin());
  list.count = keepCandidates(map_, std::span(all.data(), found.all.count), box, pool_);
  if (list.count == found.all.count) {
    // The cell keeps all of them: it shares the region's list.
    pool_.resize(list.begin);
    list = found.all;
  }
  return true;
}

}  // namespace oz
