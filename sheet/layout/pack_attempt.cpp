#include "sheet/layout/pack_attempt.h"

#include <algorithm>

namespace oz {

namespace {

// For each position of `order`, the least sides of the cells after it: the
// least width and height, or with turning the least shorter and longer side.
std::vector<Cell> leastAfter(std::span<const Cell> cells, std::span<const uint32_t> order,
                             bool mayTurn) {
  std::vector<Cell> least(order.size());
  Cell running{INT32_MAX, INT32_MAX};
  for (size_t k = order.size(); k-- > 0;) {
    least[k] = running;
    const Cell cell = cells[order[k]];
    const int32_t first = mayTurn ? std::min(cell.width, cell.height) : cell.width;
    const int32_t second = mayTurn ? std::max(cell.width, cell.height) : cell.height;
    running = {std::min(running.width, first), std::min(running.height, second)};
  }
  return least;
}

// Places the cells of `order` in turn. A cell that fits nowhere goes into
// `missed` when there is one; otherwise it ends the packing, which fails.
bool place(std::span<const Cell> cells, std::span<const uint32_t> order, Fit fit, bool mayTurn,
           Cell bin, Packing& packing, std::vector<uint32_t>* missed) {
  packing.spots.assign(cells.size(), Spot{});
  const std::vector<Cell> least = leastAfter(cells, order, mayTurn);
  MaxRectsBin rects(bin.width, bin.height);
  for (size_t k = 0; k < order.size(); ++k) {
    const Cell cell = cells[order[k]];
    const std::optional<Spot> spot = rects.find(cell, fit, mayTurn);
    if (!spot) {
      if (!missed) return false;
      missed->push_back(order[k]);
      continue;
    }
    rects.occupy(cell, *spot, least[k], mayTurn);
    packing.spots[order[k]] = *spot;
    packing.width = std::max(packing.width, spot->x + (spot->turned ? cell.height : cell.width));
    packing.height = std::max(packing.height, spot->y + (spot->turned ? cell.width : cell.height));
  }
  return true;
}

}  // namespace

std::optional<Packing> packAll(std::span<const Cell> cells, std::span<const uint32_t> order,
                               Fit fit, bool mayTurn, Cell bin) {
  Packing packing;
  if (!place(cells, order, fit, mayTurn, bin, packing, nullptr)) return std::nullopt;
  return packing;
}

Packing packSome(std::span<const Cell> cells, std::span<const uint32_t> order, Fit fit,
                 bool mayTurn, Cell bin, std::vector<uint32_t>& missed) {
  Packing packing;
  place(cells, order, fit, mayTurn, bin, packing, &missed);
  return packing;
}

}  // namespace oz
