// The orders in which a packer may take the cells: largest first, by one
// measure or another.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "sheet/layout/max_rects.h"

namespace oz {

enum class PackOrder {
  Area,         // area, then longer side
  LongerSide,   // longer side, then shorter side
  ShorterSide,  // shorter side, then longer side
  Height,       // height, then width
};

// The cells' indices, largest first by `order`; cells equal by both measures
// keep their own order.
std::vector<uint32_t> orderCells(std::span<const Cell> cells, PackOrder order);

}  // namespace oz
