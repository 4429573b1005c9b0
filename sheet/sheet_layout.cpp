#include "sheet/sheet_layout.h"

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

SheetLayout layOutFrames(FrameList& frames, bool strip, int64_t columns) {
  SheetLayout layout;
  int64_t cursorX = 0;
  int64_t cursorY = 0;
  int64_t column = 1;
  bool rowCompleted = false;
  for (size_t i = 0; i < frames.size(); ++i) {
    FrameEntry& frame = frames[i];
    frame.number = static_cast<int64_t>(i) + 1;
    frame.x = cursorX;
    frame.y = cursorY;
    if (i > 0 && (frame.width != frames[i - 1].width || frame.height != frames[i - 1].height)) {
      layout.problem = LayoutProblem::SizeMismatch;
      layout.decidingFrames = i + 1;
      return layout;
    }
    ++column;
    // Compared as column - 1 == columns so that the largest count cannot overflow.
    if (!strip && column - 1 == columns) {
      if (!rowCompleted) layout.width = cursorX + frame.width;
      rowCompleted = true;
      cursorX = 0;
      cursorY += frame.height;
      column = 1;
    } else {
      cursorX += frame.width;
      if (strip) layout.width = cursorX;
    }
  }
  if (!strip && !rowCompleted) layout.width = cursorX;
  layout.height = cursorX < 1 ? cursorY : cursorY + frames.back().height;
  layout.decidingFrames = frames.size();
  if (layout.width > kSheetSizeLimit || layout.height > kSheetSizeLimit) {
    layout.problem = LayoutProblem::TooLarge;
  } else if (layout.width < 1 || layout.height < 1) {
    layout.problem = LayoutProblem::Empty;
  }
  return layout;
}

ColumnRange columnsThatFit(int64_t count, int64_t width, int64_t height) {
  if (count < 1 || width < 1 || height < 1) return {};
  const int64_t most = std::min(count, kSheetSizeLimit / width);
  const int64_t rows = kSheetSizeLimit / height;  // that fit on top of each other
  if (most < 1 || rows < 1) return {};
  const int64_t fewest = (count + rows - 1) / rows;
  if (fewest > most) return {};
  return {fewest, most};
}

int64_t padToPowerOf2(int64_t side) {
  for (int64_t power = 2; power <= kSheetSizeLimit; power *= 2) {
    if (power >= side) return power;
  }
  return side;
}

}  // namespace oz
