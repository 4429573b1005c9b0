// The search for the smallest sheet that holds a set of cells: many packings,
// each of all the cells into one bin of a size, and the best of them kept.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "sheet/layout/pack_attempt.h"
#include "sheet/layout/sheet_bounds.h"

namespace oz {

// The packing of `cells` onto the smallest sheet found that `bounds` allow:
// the least area after padding, then the shorter longest side, then the
// narrower sheet, then the least area and the least width the cells reach;
// nothing when no packing tried holds them all within the limit. `known`, a
// packing of the cells found before, is kept when nothing smaller is found.
// Shares the work between `threads` threads; the result does not depend on
// how many.
std::optional<Packing> smallestSheet(std::span<const Cell> cells, bool mayTurn,
                                     const SheetBounds& bounds, std::optional<Packing> known,
                                     size_t threads);

}  // namespace oz
