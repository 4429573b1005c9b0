#include "sheet/layout/max_rects.h"

#include <algorithm>
#include <limits>

namespace oz {

MaxRectsBin::MaxRectsBin(int32_t width, int32_t height) { empty_.push_back({0, 0, width, height}); }

template <Fit fit>
std::optional<Spot> MaxRectsBin::bestSpot(Cell cell, bool mayTurn) const {
  int64_t bestFirst = std::numeric_limits<int64_t>::max();
  int64_t bestSecond = bestFirst;
  std::optional<Spot> best;
  const auto consider = [&](const Rect& rect, int32_t width, int32_t height, bool turned) {
    const int32_t across = rect.right - rect.x - width;
    const int32_t down = rect.bottom - rect.y - height;
    if (across < 0 || down < 0) return;
    int64_t first = 0;
    int64_t second = 0;
    if constexpr (fit == Fit::ShortSide) {
      first = std::min(across, down);
      second = std::max(across, down);
    } else if constexpr (fit == Fit::Area) {
      first = int64_t{rect.right - rect.x} * (rect.bottom - rect.y) - int64_t{width} * height;
      second = std::min(across, down);
    } else {
      first = int64_t{rect.y} + height;
      second = rect.x;
    }
    if (first < bestFirst || (first == bestFirst && second < bestSecond)) {
      bestFirst = first;
      bestSecond = second;
      best = Spot{rect.x, rect.y, turned};
    }
  };
  // A square cell turned is the same cell.
  const bool turn = mayTurn && cell.width != cell.height;
  for (const Rect& rect : empty_) {
    consider(rect, cell.width, cell.height, false);
    if (turn) consider(rect, cell.height, cell.width, true);
  }
  return best;
}

std::optional<Spot> MaxRectsBin::find(Cell cell, Fit fit, bool mayTurn) const {
  switch (fit) {
    case Fit::ShortSide:
      return bestSpot<Fit::ShortSide>(cell, mayTurn);
    case Fit::Area:
      return bestSpot<Fit::Area>(cell, mayTurn);
    case Fit::BottomLeft:
      return bestSpot<Fit::BottomLeft>(cell, mayTurn);
  }
  return std::nullopt;
}

void MaxRectsBin::occupy(Cell cell, Spot spot, Cell least, bool mayTurn) {
  const auto usable = [&](const Rect& rect) {
    const int32_t width = rect.right - rect.x;
    const int32_t height = rect.bottom - rect.y;
    if (!mayTurn) return width >= least.width && height >= least.height;
    return std::min(width, height) >= least.width && std::max(width, height) >= least.height;
  };
  // What the cells to come need only grows, so a rectangle once usable stays
  // so until it grows.
  if (least.width != least_.width || least.height != least_.height) {
    least_ = least;
    std::erase_if(empty_, [&](const Rect& rect) { return !usable(rect); });
  }
  const int32_t left = spot.x;
  const int32_t top = spot.y;
  const int32_t right = left + (spot.turned ? cell.height : cell.width);
  const int32_t bottom = top + (spot.turned ? cell.width : cell.height);
  cut_.clear();
  beside_.clear();
  size_t kept = 0;
  for (const Rect& rect : empty_) {
    if ((rect.x >= right) | (rect.right <= left) | (rect.y >= bottom) | (rect.bottom <= top)) {
      empty_[kept++] = rect;
      if ((rect.right == left) | (rect.x == right) | (rect.bottom == top) | (rect.y == bottom)) {
        beside_.push_back(rect);
      }
      continue;
    }
    // The largest rectangles of `rect` beside the cell on each side it leaves.
    if (left > rect.x) cut_.push_back({rect.x, rect.y, left, rect.bottom});
    if (right < rect.right) cut_.push_back({right, rect.y, rect.right, rect.bottom});
    if (top > rect.y) cut_.push_back({rect.x, rect.y, rect.right, top});
    if (bottom < rect.bottom) cut_.push_back({rect.x, bottom, rect.right, rect.bottom});
  }
  empty_.resize(kept);
  const auto contains = [](const Rect& outer, const Rect& inner) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
  };
  // A piece inside another empty rectangle is not largest (of equal pieces
  // the first stays). Only a rectangle that touches the cell can hold a piece:
  // a piece spans part of the cell's side, so a rectangle holding it spans
  // that part too, and without overlapping the cell it must end at that
  // side. A rectangle left whole never lies inside a piece: it would lie
  // inside the rectangle the piece was cut from, and no empty rectangle
  // contains another.
  for (size_t i = 0; i < cut_.size(); ++i) {
    const Rect& piece = cut_[i];
    if (!usable(piece)) continue;
    bool inside = false;
    for (size_t j = 0; j < beside_.size() && !inside; ++j) inside = contains(beside_[j], piece);
    for (size_t j = 0; j < cut_.size() && !inside; ++j) {
      inside = j != i && contains(cut_[j], piece) && (j < i || !contains(piece, cut_[j]));
    }
    if (!inside) empty_.push_back(piece);
  }
}

}  // namespace oz
