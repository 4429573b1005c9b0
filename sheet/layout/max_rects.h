// One bin of the maximal-rectangles packer: it keeps every largest empty
// rectangle of the bin (they overlap) and places each new cell in one of them,
// chosen by a fit rule. Cells only, in whole pixels; spacing is already part
// of each cell.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace oz {

// How the empty rectangle for a cell is chosen; ties go to the earlier one.
enum class Fit {
  ShortSide,   // least room left on the tighter side, then on the other
  Area,        // least area left, then least room on the tighter side
  BottomLeft,  // lowest bottom edge, then leftmost
};

struct Cell {
  int32_t width = 0;
  int32_t height = 0;
};

struct Spot {
  int32_t x = 0;
  int32_t y = 0;
  bool turned = false;  // the cell covers height x width
};

class MaxRectsBin {
 public:
  MaxRectsBin(int32_t width, int32_t height);

  // Where `cell` goes by `fit`, turned too when `mayTurn`; nothing when it
  // fits nowhere.
  std::optional<Spot> find(Cell cell, Fit fit, bool mayTurn) const;

  // Takes the cell's area out of the empty rectangles. Those into which no
  // cell still to come fits are dropped, as they would never be chosen:
  // `least` is the least width and the least height of those cells, or with
  // turning, the least shorter side and the least longer side.
  void occupy(Cell cell, Spot spot, Cell least, bool mayTurn);

  // How many empty rectangles the bin keeps now.
  size_t emptyCount() const { return empty_.size(); }

 private:
  struct Rect {
    int32_t x, y, right, bottom;  // right and bottom just outside it
  };
  template <Fit fit>
  std::optional<Spot> bestSpot(Cell cell, bool mayTurn) const;

  std::vector<Rect> empty_;  // no one contains another
  Cell least_;               // what the cells to come needed at the last call
  // Kept between calls only for their storage: the pieces of the rectangles
  // a new cell overlaps, and the rectangles that touch the cell.
  std::vector<Rect> cut_;
  std::vector<Rect> beside_;
};

}  // namespace oz
