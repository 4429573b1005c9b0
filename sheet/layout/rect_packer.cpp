#include "sheet/layout/rect_packer.h"

#include <algorithm>
#include <optional>

#include "base/parallel.h"
#include "sheet/layout/pack_threads.h"
#include "sheet/layout/sheet_bounds.h"
#include "sheet/layout/sheet_fill.h"
#include "sheet/layout/sheet_search.h"

namespace oz {

namespace {

// Adds the sheet of `packing` to `result`, with the places of its cells
// (`indices` says which rectangle each cell is; empty for all in order).
void addSheet(const Packing& packing, const std::vector<uint32_t>& indices,
              const SheetBounds& bounds, PackResult& result) {
  const auto sheet = static_cast<int32_t>(result.sheets.size());
  result.sheets.push_back(bounds.sheetFor(packing.width, packing.height));
  for (size_t i = 0; i < packing.spots.size(); ++i) {
    const Spot spot = packing.spots[i];
    result.places[indices.empty() ? i : indices[i]] = {
        bounds.border() + spot.x, bounds.border() + spot.y, spot.turned, sheet};
  }
}

}  // namespace

bool fitsOnSheet(RectSize rect, const PackRules& rules) {
  const int64_t side = longestSheetSide(rules);
  if (side == 0 || rules.spacing < 0 || rules.border < 0 || rules.border > side) return false;
  // Either way round, as the room is the same across and down.
  const int64_t room = side - 2 * rules.border;
  return rect.width >= 1 && rect.height >= 1 && std::max(rect.width, rect.height) <= room;
}

PackResult packRectanglesOn(std::span<const RectSize> rects, const PackRules& rules,
                            size_t threads) {
  PackResult result;
  if (std::any_of(rects.begin(), rects.end(), [&](RectSize r) { return !fitsOnSheet(r, rules); })) {
    return result;  // no number of sheets holds it
  }
  if (rects.empty()) {
    result.fits = true;
    return result;
  }
  const SheetBounds bounds(rules);
  std::vector<Cell> cells;
  cells.reserve(rects.size());
  for (RectSize rect : rects) cells.push_back(bounds.cellOf(rect));
  std::optional<Packing> one = smallestSheet(cells, rules.rotation, bounds, std::nullopt, threads);
  SheetFill fill;
  if (!one) {
    fill = fillSheets(cells, rules.rotation, bounds, threads);
    if (fill.sheets.size() == 1) one = std::move(fill.sheets[0].packing);
  }
  if (!one && !rules.multipack) {
    result.sheetsNeeded = static_cast<int64_t>(fill.sheets.size());
    return result;
  }
  result.fits = true;
  result.places.resize(rects.size());
  if (one) {
    addSheet(*one, {}, bounds, result);
    return result;
  }
  for (SheetFill::Sheet& sheet : fill.sheets) {
    std::vector<Cell> own;
    Packing known;
    for (uint32_t i : sheet.cells) {
      own.push_back(cells[i]);
      known.spots.push_back(sheet.packing.spots[i]);
    }
    known.width = sheet.packing.width;
    known.height = sheet.packing.height;
    const std::optional<Packing> packing =
        smallestSheet(own, rules.rotation, bounds, std::move(known), threads);
    addSheet(*packing, sheet.cells, bounds, result);
  }
  return result;
}

PackResult packRectangles(std::span<const RectSize> rects, const PackRules& rules) {
  return packRectanglesOn(rects, rules, machineThreads());
}

}  // namespace oz
