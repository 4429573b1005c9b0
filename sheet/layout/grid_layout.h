// The grid layout: frames of one size in a strip or in rows of a number of
// columns. Where each frame goes on the sheet and how large the sheet is,
// worked out from the frames' sizes alone, with the checks that refuse a build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "sheet/layout/frame.h"
#include "sheet/layout/sheet_size.h"

namespace oz {

// The "Number of Columns:" text read as a signed integer: leading blanks
// skipped, an optional sign, then digits; 0 when there are none. A number past
// the 64-bit range saturates (no sheet has that many frames to a row anyway).
int64_t parseColumns(std::string_view text);

// How the cells are arranged. Each frame has a cell of its size plus
// `extrude` pixels on every side; all zero gives cells that touch.
struct LayoutRules {
  bool strip = false;   // one row; otherwise rows of `columns` cells
  int64_t columns = 0;  // a count below 1 never ends a row
  int64_t spacing = 0;  // transparent pixels between neighbouring cells, across and down
  int64_t border = 0;   // transparent pixels around the whole sheet
  int64_t extrude = 0;  // room for the frame's edges repeated outward
};

enum class LayoutProblem {
  None,
  SizeMismatch,  // a frame's size differs from the one before it
  TooLarge,      // the sheet passes kSheetSizeLimit on a side
  Empty,         // no frame, or the frames are 0 pixels wide or high (none decoded)
};

struct SheetLayout {
  LayoutProblem problem = LayoutProblem::None;
  // How many leading frames decide the outcome: up to the first mismatching
  // frame for SizeMismatch, else all of them.
  size_t decidingFrames = 0;
  int64_t width = 0;  // unpadded, border and spacing included
  int64_t height = 0;
};

// The top-left corner of the frame in cell number `cell` (from 0, in layout
// order) for frames of `width` x `height`: inside its cell, past the border.
// `width` matters only to grids, `height` only below their first row.
struct CellPlace {
  int64_t x = 0;
  int64_t y = 0;
};
CellPlace cellPlace(int64_t cell, int64_t width, int64_t height, const LayoutRules& rules);

// Numbers the frames from 1 and sets their `x` and `y`, in list order: the
// frame's own rectangle inside its cell; each frame is stored whole, upright
// (its source size is its size, no offset, not turned). The frames' `width`
// and `height` must be set. `cellOwners`, when not empty, holds for every frame the index of the
// frame whose cell it takes: itself, or an earlier frame that owns a cell, whose
// place it then shares. Checks, in this order: each frame's size against the one
// before it, the size limit, an empty sheet.
SheetLayout layOutFrames(FrameList& frames, const LayoutRules& rules,
                         const std::vector<size_t>& cellOwners = {});

// The column counts that keep a sheet of `count` frames of `width` x `height`
// within kSheetSizeLimit on both sides, laid out with the spacing, border and
// extrusion of `rules` (its strip and columns are not read): every count from
// `fewest` to `most` (a count above `count` lays out as `count`). None when
// `most` is 0.
struct ColumnRange {
  int64_t fewest = 0;
  int64_t most = 0;
  bool operator==(const ColumnRange&) const = default;
};

ColumnRange columnsThatFit(int64_t count, int64_t width, int64_t height, const LayoutRules& rules);

}  // namespace oz
