// Dealing cells out onto sheets of the largest size, for when one sheet is
// not enough.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "sheet/layout/pack_attempt.h"
#include "sheet/layout/sheet_bounds.h"

namespace oz {

struct SheetFill {
  struct Sheet {
    std::vector<uint32_t> cells;  // indices into the cells dealt out
    Packing packing;              // where they lie in a bin of the largest size
  };
  std::vector<Sheet> sheets;
};

// Fills one largest bin after another, each fit and order taking the cells
// in turn and passing those that no longer fit on to the next bin, and keeps
// the fewest bins; of as many, the one that leaves the least cell area to
// the last bin. Shares the work between `threads` threads; the result does
// not depend on how many.
// REQUIRES: each cell fits the largest bin.
SheetFill fillSheets(std::span<const Cell> cells, bool mayTurn, const SheetBounds& bounds,
                     size_t threads);

}  // namespace oz
