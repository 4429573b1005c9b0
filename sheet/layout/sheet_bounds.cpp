#include "sheet/layout/sheet_bounds.h"

#include <algorithm>

namespace oz {

int64_t longestSheetSide(const PackRules& rules) {
  if (rules.maxSize < 1 || rules.maxSize > kSheetSizeLimit) return 0;
  if (!rules.powerOf2) return rules.maxSize;
  int64_t side = 0;
  for (int64_t power = 2; power <= rules.maxSize; power *= 2) side = power;
  return side;
}

SheetBounds::SheetBounds(const PackRules& rules)
    : spacing_(static_cast<int32_t>(std::min(rules.spacing, rules.maxSize))),
      border_(static_cast<int32_t>(rules.border)),
      limit_(static_cast<int32_t>(longestSheetSide(rules))),
      powerOf2_(rules.powerOf2),
      square_(rules.square) {}

Cell SheetBounds::cellOf(RectSize rect) const {
  return {static_cast<int32_t>(rect.width) + spacing_,
          static_cast<int32_t>(rect.height) + spacing_};
}

int32_t SheetBounds::binFor(int64_t side) const {
  return static_cast<int32_t>(side - 2 * int64_t{border_} + spacing_);
}

int64_t SheetBounds::sideFor(int32_t extent) const {
  return int64_t{extent} - spacing_ + 2 * int64_t{border_};
}

PackedSheet SheetBounds::sheetFor(int32_t extentWidth, int32_t extentHeight) const {
  PackedSheet sheet{sideFor(extentWidth), sideFor(extentHeight)};
  if (powerOf2_) sheet = {padToPowerOf2(sheet.width), padToPowerOf2(sheet.height)};
  if (square_) sheet.width = sheet.height = std::max(sheet.width, sheet.height);
  return sheet;
}

std::vector<int32_t> SheetBounds::powerBins() const {
  std::vector<int32_t> bins;
  if (!powerOf2_) return bins;
  for (int64_t power = 2; power <= limit_; power *= 2) bins.push_back(binFor(power));
  return bins;
}

}  // namespace oz
