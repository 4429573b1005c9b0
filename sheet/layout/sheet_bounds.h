// The sheets a packing may fill: how the extent of its cells becomes a
// sheet's size, and which bins the sizes allowed leave for the cells.
//
// The packer works on cells grown by the spacing on their right and bottom,
// in a bin that leaves out the borders and takes the spacing the last cell
// on a side brings along: cells that do not overlap then keep the spacing
// between them, and cells within the bin keep the border to every edge.
#pragma once

#include <cstdint>
#include <vector>

#include "sheet/layout/max_rects.h"
#include "sheet/layout/rect_packer.h"

namespace oz {

class SheetBounds {
 public:
  // REQUIRES: rules that fitsOnSheet accepts some rectangle under.
  explicit SheetBounds(const PackRules& rules);

  // The cell of a rectangle: the rectangle and the spacing after it.
  Cell cellOf(RectSize rect) const;

  // The side of the largest bin: the longest side a sheet may have, in the
  // bin's terms.
  int32_t binLimit() const { return binFor(limit_); }

  // The sheet whose cells reach `extentWidth` x `extentHeight` into the bin,
  // padded as the rules ask.
  PackedSheet sheetFor(int32_t extentWidth, int32_t extentHeight) const;

  // With powers of two, the bin side of each power the rules allow, from the
  // least; otherwise nothing, as any side is allowed.
  std::vector<int32_t> powerBins() const;

  bool powerOf2() const { return powerOf2_; }
  int32_t border() const { return border_; }

 private:
  int32_t binFor(int64_t side) const;
  int64_t sideFor(int32_t extent) const;

  int32_t spacing_;  // at most the limit: more keeps cells just as far apart
  int32_t border_;
  int32_t limit_;  // the longest side allowed, a power of two with powerOf2
  bool powerOf2_;
  bool square_;
};

// The longest side the rules allow a sheet, 0 when they allow none: the
// maximum size, or with powers of two the largest power within it.
int64_t longestSheetSide(const PackRules& rules);

}  // namespace oz
