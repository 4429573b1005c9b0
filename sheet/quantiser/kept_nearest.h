// The nearest palette entries of every colour of a fixed list, kept from one
// palette to the next. The refinement's rounds move only a few entries once
// they near their end, and a colour whose entries stayed can only go to a
// moved one: those few are compared instead of searching the palette again.
// The answers are always exactly NearestEntry's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "sheet/quantiser/colour_histogram.h"
#include "sheet/quantiser/nearest_entry.h"
#include "sheet/quantiser/reduction.h"

namespace oz {

// Past this many moved entries an update searches every colour afresh.
inline constexpr size_t kMovedToCompare = 24;
// An update shares the colours between threads this many at a time: enough
// that starting a thread costs little beside their searches. Each colour's
// answer is its own, so the answers are the same on any number of threads.
inline constexpr size_t kColoursPerTask = 2048;

// NearestEntry::find for each colour.
class KeptNearest {
 public:
  explicit KeptNearest(size_t threads = 1) : threads_(threads) {}

  // The answers for `palette`, where `moved` lists the entries that changed
  // since the last update (the first update searches every colour).
  void update(std::span<const PaletteColour> palette, int fixed,
              std::span<const CountedColour> colours, std::span<const int> moved);

  int entry(size_t colour) const { return entry_[colour]; }
  int distance(size_t colour) const { return distance_[colour]; }

 private:
  std::vector<uint8_t> entry_;
  std::vector<int> distance_;
  std::vector<uint8_t> alone_;  // no other entry the colour may take is as near
  size_t threads_;
  bool hasOpaque_ = false;
  bool known_ = false;
};

// NearestEntry::twoNearest for each colour.
class KeptTwoNearest {
 public:
  explicit KeptTwoNearest(size_t threads = 1) : threads_(threads) {}

  // As KeptNearest::update.
  void update(std::span<const PaletteColour> palette, int fixed,
              std::span<const CountedColour> colours, std::span<const int> moved);

  const NearestEntry::TwoNearest& operator[](size_t colour) const { return two_[colour]; }

 private:
  std::vector<NearestEntry::TwoNearest> two_;
  size_t threads_;
  bool hasOpaque_ = false;
  bool known_ = false;
};

}  // namespace oz
