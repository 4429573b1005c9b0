#include "sheet/layout/pack_order.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace oz {

namespace {

// The two measures of `order`, first and second.
std::pair<int64_t, int64_t> measures(Cell cell, PackOrder order) {
  const int64_t longer = std::max(cell.width, cell.height);
  const int64_t shorter = std::min(cell.width, cell.height);
  switch (order) {
    case PackOrder::Area:
      return {longer * shorter, longer};
    case PackOrder::LongerSide:
      return {longer, shorter};
    case PackOrder::ShorterSide:
      return {shorter, longer};
    case PackOrder::Height:
      return {cell.height, cell.width};
  }
  return {};
}

}  // namespace

std::vector<uint32_t> orderCells(std::span<const Cell> cells, PackOrder order) {
  std::vector<uint32_t> indices(cells.size());
  std::iota(indices.begin(), indices.end(), 0u);
  std::stable_sort(indices.begin(), indices.end(), [&](uint32_t a, uint32_t b) {
    return measures(cells[a], order) > measures(cells[b], order);
  });
  return indices;
}

}  // namespace oz
