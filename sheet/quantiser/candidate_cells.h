// For each cell of query space, the colormap entries that can be nearest to
// some query in it by the weighted distance, so that a search need compare
// only those.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "sheet/quantiser/colormap.h"
#include "sheet/quantiser/colour_weight.h"

namespace oz {

class CandidateCells {
 public:
  explicit CandidateCells(const Colormap& map);

  // Every entry of the map whose distance to a query (colour differences in
  // gamma space squared, times colourWeight(alpha), plus the alpha difference
  // squared) can be the smallest, or equal to the smallest, for some query of
  // the cell of (r, g, b, alpha): colour in gamma space, each 0..255. Positions
  // in ascending order; none while the cell's region is cold (see
  // kWarmQueries). A cell is worked out when first asked for and kept until
  // the table reaches its bound, when it starts afresh.
  std::span<const uint8_t> candidates(int r, int g, int b, int alpha) {
    const uint32_t region = regionOf(r, g, b, alpha);
    const uint32_t cell = cellOf(r, g, b, alpha);
    const uint32_t slot = directory_[region];
    if (slot == kNoRegion || regions_[slot].cells[cell].count == 0) {
      if (!fill(region, cell)) return {};
    }
    const List list = regions_[directory_[region]].cells[cell];
    return {pool_.data() + list.begin, list.count};
  }

 private:
  // Regions of 16 levels a side; their candidates narrow the search for
  // those of their cells, 8 levels of colour and 4 of alpha a side. Alpha
  // counts in full, colour only by its weight, so cells are thinner in alpha.
  static constexpr int kRegionShift = 4;
  static constexpr int kColourShift = 3;
  static constexpr int kAlphaShift = 2;
  static constexpr int kColourCells = 1 << (kRegionShift - kColourShift);  // a side
  static constexpr int kAlphaCells = 1 << (kRegionShift - kAlphaShift);
  static constexpr int kCellsPerRegion = kColourCells * kColourCells * kColourCells * kAlphaCells;
  static constexpr uint32_t kNoRegion = UINT32_MAX;
  // The bound: about 2 MB of regions and 4 MB of candidate lists.
  static constexpr size_t kMaxRegions = 8192;
  static constexpr size_t kMaxPool = size_t{1} << 22;
  // Working out a region compares every entry with several others, the cost
  // of some dozens of plain searches: a region is worked out only once this
  // many queries have fallen into it, so that queries spread thinly over
  // colour space cost what plain searches cost.
  static constexpr uint8_t kWarmQueries = 64;

  static uint32_t regionOf(int r, int g, int b, int alpha) {
    constexpr int kBits = 8 - kRegionShift;
    return static_cast<uint32_t>(r >> kRegionShift) |
           static_cast<uint32_t>(g >> kRegionShift) << kBits |
           static_cast<uint32_t>(b >> kRegionShift) << (2 * kBits) |
           static_cast<uint32_t>(alpha >> kRegionShift) << (3 * kBits);
  }

  static uint32_t cellOf(int r, int g, int b, int alpha) {
    constexpr uint32_t kColourMask = kColourCells - 1;
    constexpr int kBits = kRegionShift - kColourShift;
    return (static_cast<uint32_t>(r >> kColourShift) & kColourMask) |
           (static_cast<uint32_t>(g >> kColourShift) & kColourMask) << kBits |
           (static_cast<uint32_t>(b >> kColourShift) & kColourMask) << (2 * kBits) |
           (static_cast<uint32_t>(alpha >> kAlphaShift) & (kAlphaCells - 1)) << (3 * kBits);
  }

  struct List {
    uint32_t begin = 0;  // in pool_
    uint32_t count = 0;  // 0: not worked out yet (every cell has a candidate)
  };
  struct Region {
    List all;  // the candidates of the whole region
    std::array<List, kCellsPerRegion> cells;
  };

  // Works out the cell's list, and its region's when that is new.
  // False, doing nothing but count the query, while the region is cold.
  bool fill(uint32_t region, uint32_t cell);

  const Colormap& map_;
  std::vector<uint8_t> everyEntry_;  // 0, 1, ..., netsize - 1
  std::vector<uint32_t> directory_;  // by region: its place in regions_, or kNoRegion
  std::vector<Region> regions_;      // the regions worked out
  std::vector<uint8_t> warmth_;      // by region: queries while it was not worked out
  std::vector<uint8_t> pool_;        // candidate lists, one after another
};

}  // namespace oz
