#include "sheet/layout/grid_layout.h"

#include <algorithm>
#include <limits>

namespace oz {

int64_t parseColumns(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Accumulate towards the sign so that the most negative value is reachable.
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const int digit = text[i] - '0';
    if (negative) {
      value = value < (kMin + digit) / 10 ? kMin : value * 10 - digit;
    } else {
      value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
  }
  return value;
}

namespace {

// The sheet's length along one side holding `cells` cells of `cell` pixels.
int64_t sideLength(int64_t cells, int64_t cell, const LayoutRules& rules) {
  return 2 * rules.border + cells * cell + (cells - 1) * rules.spacing;
}

// The most cells of `cell` pixels one side holds within the limit: the largest
// n whose sideLength is at most kSheetSizeLimit (0 when not even one fits).
int64_t cellsThatFit(int64_t cell, const LayoutRules& rules) {
  // sideLength(n) = 2 x border - spacing + n x (cell + spacing).
  const int64_t room = kSheetSizeLimit - 2 * rules.border + rules.spacing;
  return room < 0 ? 0 : room / (cell + rules.spacing);
}

}  // namespace

CellPlace cellPlace(int64_t cell, int64_t width, int64_t height, const LayoutRules& rules) {
  // A strip, or a column count below 1, never ends a row.
  const bool oneRow = rules.strip || rules.columns < 1;
  const int64_t column = oneRow ? cell : cell % rules.columns;
  const int64_t row = oneRow ? 0 : cell / rules.columns;
  return {rules.border + column * (width + 2 * rules.extrude + rules.spacing) + rules.extrude,
          rules.border + row * (height + 2 * rules.extrude + rules.spacing) + rules.extrude};
}

SheetLayout layOutFrames(FrameList& frames, const LayoutRules& rules,
                         const std::vector<size_t>& cellOwners) {
  SheetLayout layout;
  // Numbered first, so that a refusal names its frames by number.
  for (size_t i = 0; i < frames.size(); ++i) {
    FrameEntry& frame = frames[i];
    frame.number = static_cast<int64_t>(i) + 1;
    frame.offsetX = frame.offsetY = 0;
    frame.sourceWidth = frame.width;
    frame.sourceHeight = frame.height;
    frame.rotated = false;
  }
  for (size_t i = 1; i < frames.size(); ++i) {
    if (frames[i].width != frames[i - 1].width || frames[i].height != frames[i - 1].height) {
      layout.problem = LayoutProblem::SizeMismatch;
      layout.decidingFrames = i + 1;
      return layout;
    }
  }
  layout.decidingFrames = frames.size();
  if (frames.empty() || frames[0].width < 1 || frames[0].height < 1) {
    layout.problem = LayoutProblem::Empty;
    return layout;
  }
  const int64_t cellWidth = frames[0].width + 2 * rules.extrude;
  const int64_t cellHeight = frames[0].height + 2 * rules.extrude;
  // A strip, or a column count below 1, never ends a row.
  const bool oneRow = rules.strip || rules.columns < 1;
  int64_t cells = 0;
  for (size_t i = 0; i < frames.size(); ++i) {
    FrameEntry& frame = frames[i];
    const size_t owner = cellOwners.empty() ? i : cellOwners[i];
    if (owner != i) {
      frame.x = frames[owner].x;
      frame.y = frames[owner].y;
      continue;
    }
    const CellPlace place = cellPlace(cells++, frames[0].width, frames[0].height, rules);
    frame.x = place.x;
    frame.y = place.y;
  }
  const int64_t across = oneRow ? cells : std::min(cells, rules.columns);
  // Rounded up without adding to `columns`, which may be the largest count.
  const int64_t down = oneRow ? 1 : cells / rules.columns + (cells % rules.columns != 0);
  layout.width = sideLength(across, cellWidth, rules);
  layout.height = sideLength(down, cellHeight, rules);
  if (layout.width > kSheetSizeLimit || layout.height > kSheetSizeLimit) {
    layout.problem = LayoutProblem::TooLarge;
  }
  return layout;
}

ColumnRange columnsThatFit(int64_t count, int64_t width, int64_t height, const LayoutRules& rules) {
  if (count < 1 || width < 1 || height < 1) return {};
  const int64_t most = std::min(count, cellsThatFit(width + 2 * rules.extrude, rules));
  const int64_t rows = cellsThatFit(height + 2 * rules.extrude, rules);  // on top of each other
  if (most < 1 || rows < 1) return {};
  const int64_t fewest = (count + rows - 1) / rows;
  if (fewest > most) return {};
  return {fewest, most};
}

}  // namespace oz
