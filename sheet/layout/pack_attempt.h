// One try at packing cells into one bin: a fit rule, an order, a bin size.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sheet/layout/max_rects.h"
#include "sheet/layout/pack_order.h"

namespace oz {

struct Packing {
  std::vector<Spot> spots;  // for each cell; a cell left out keeps the default
  int32_t width = 0;        // what the placed cells cover from the bin's top-left corner
  int32_t height = 0;
};

// Places every cell of `order` (indices into `cells`), in turn, into a bin of
// `bin` by `fit`; nothing as soon as one fits nowhere.
std::optional<Packing> packAll(std::span<const Cell> cells, std::span<const uint32_t> order,
                               Fit fit, bool mayTurn, Cell bin);

// Places as many cells of `order` as a bin of `bin` holds, each in turn,
// passing over those that fit nowhere; those go into `missed`, in order.
Packing packSome(std::span<const Cell> cells, std::span<const uint32_t> order, Fit fit,
                 bool mayTurn, Cell bin, std::vector<uint32_t>& missed);

}  // namespace oz
