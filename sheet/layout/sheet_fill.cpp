#include "sheet/layout/sheet_fill.h"

#include <iterator>

#include "base/parallel.h"

namespace oz {

namespace {

struct Attempt {
  Fit fit;
  PackOrder order;
};

// Each of these fills the fewest bins, or leaves the least to the last, for
// some sets of cells.
constexpr Attempt kFillAttempts[] = {
    {Fit::BottomLeft, PackOrder::Area},   {Fit::ShortSide, PackOrder::Area},
    {Fit::BottomLeft, PackOrder::Height}, {Fit::ShortSide, PackOrder::LongerSide},
    {Fit::Area, PackOrder::Area},         {Fit::BottomLeft, PackOrder::LongerSide},
};

int64_t cellArea(std::span<const Cell> cells, const std::vector<uint32_t>& indices) {
  int64_t area = 0;
  for (uint32_t i : indices) area += int64_t{cells[i].width} * cells[i].height;
  return area;
}

SheetFill fill(std::span<const Cell> cells, bool mayTurn, Cell bin, Attempt attempt) {
  SheetFill result;
  std::vector<uint32_t> left = orderCells(cells, attempt.order);
  while (!left.empty()) {
    std::vector<uint32_t> missed;
    Packing packing = packSome(cells, left, attempt.fit, mayTurn, bin, missed);
    std::vector<uint32_t> placed;
    auto next = missed.begin();
    for (uint32_t i : left) {
      if (next != missed.end() && *next == i) {
        ++next;
      } else {
        placed.push_back(i);
      }
    }
    result.sheets.push_back({std::move(placed), std::move(packing)});
    left = std::move(missed);
  }
  return result;
}

}  // namespace

SheetFill fillSheets(std::span<const Cell> cells, bool mayTurn, const SheetBounds& bounds,
                     size_t threads) {
  const Cell bin{bounds.binLimit(), bounds.binLimit()};
  std::vector<SheetFill> fills(std::size(kFillAttempts));
  forEachTask(fills.size(), threads, [&](size_t i, bool) {
    fills[i] = fill(cells, mayTurn, bin, kFillAttempts[i]);
    return true;
  });
  size_t best = 0;
  for (size_t i = 1; i < fills.size(); ++i) {
    const size_t sheets = fills[i].sheets.size();
    const size_t bestSheets = fills[best].sheets.size();
    if (sheets < bestSheets ||
        (sheets == bestSheets && cellArea(cells, fills[i].sheets.back().cells) <
                                     cellArea(cells, fills[best].sheets.back().cells))) {
      best = i;
    }
  }
  return std::move(fills[best]);
}

}  // namespace oz
