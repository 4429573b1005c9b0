#include "sheet/layout/rect_packer.h"

#include <algorithm>
#include <numeric>

namespace oz {
namespace {

int64_t largestSide(const PackRules& rules) {
  return largestSheetSide(rules.maxSize, rules.powerOf2);
}

PackedSheet padded(int64_t width, int64_t height, const PackRules& rules) {
  if (rules.powerOf2) {
    width = padToPowerOf2(width);
    height = padToPowerOf2(height);
  }
  if (rules.square) width = height = std::max(width, height);
  return {width, height};
}

struct Shelves {
  std::vector<PackedPlace> places;
  std::vector<size_t> placed;  // indexes of the rectangles placed, in order
  int64_t width = 0;           // used, border included
  int64_t height = 0;
};

// Places rectangles from `order` in shelves within `width` x `limit`, as many
// as fit, in order.
Shelves shelve(std::span<const RectSize> rects, const std::vector<size_t>& order,
               const std::vector<uint8_t>& turned, int64_t width, int64_t limit,
               const PackRules& rules) {
  Shelves result;
  int64_t x = rules.border;
  int64_t y = rules.border;
  int64_t shelfHeight = 0;
  for (size_t i : order) {
    const int64_t w = turned[i] ? rects[i].height : rects[i].width;
    const int64_t h = turned[i] ? rects[i].width : rects[i].height;
    if (x + w + rules.border > width && x > rules.border) {
      x = rules.border;
      y += shelfHeight + rules.spacing;
      shelfHeight = 0;
    }
    if (x + w + rules.border > width || y + h + rules.border > limit) break;
    result.places.push_back({x, y, static_cast<bool>(turned[i]), 0});
    result.placed.push_back(i);
    result.width = std::max(result.width, x + w + rules.border);
    result.height = std::max(result.height, y + h + rules.border);
    x += w + rules.spacing;
    shelfHeight = std::max(shelfHeight, h);
  }
  return result;
}

}  // namespace

bool fitsOnSheet(RectSize rect, const PackRules& rules) {
  // Sheets are at most square, so turning never makes a rectangle fit.
  const int64_t room = largestSide(rules) - 2 * rules.border;
  return rect.width <= room && rect.height <= room;
}

PackResult packRectangles(std::span<const RectSize> rects, const PackRules& rules) {
  const int64_t side = largestSide(rules);
  std::vector<uint8_t> turned(rects.size());
  for (size_t i = 0; i < rects.size(); ++i) {
    turned[i] = rules.rotation && rects[i].height > rects[i].width;
  }
  std::vector<size_t> order(rects.size());
  std::iota(order.begin(), order.end(), 0);
  const auto heightOf = [&](size_t i) { return turned[i] ? rects[i].width : rects[i].height; };
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return heightOf(a) > heightOf(b); });

  PackResult result;
  std::vector<PackedPlace> places(rects.size());
  std::vector<size_t> left = order;
  while (!left.empty()) {
    // The narrowest width, from the full side down, that still takes as many.
    Shelves best = shelve(rects, left, turned, side, side, rules);
    if (best.placed.empty()) return {};
    for (int64_t width = side - 1; width >= 1; width -= std::max<int64_t>(1, width / 64)) {
      Shelves tried = shelve(rects, left, turned, width, side, rules);
      if (tried.placed.size() < best.placed.size()) break;
      const PackedSheet a = padded(tried.width, tried.height, rules);
      const PackedSheet b = padded(best.width, best.height, rules);
      if (a.width * a.height <= b.width * b.height) best = std::move(tried);
    }
    const auto sheet = static_cast<int32_t>(result.sheets.size());
    for (size_t k = 0; k < best.placed.size(); ++k) {
      places[best.placed[k]] = best.places[k];
      places[best.placed[k]].sheet = sheet;
    }
    result.sheets.push_back(padded(best.width, best.height, rules));
    left.erase(left.begin(), left.begin() + static_cast<std::ptrdiff_t>(best.placed.size()));
  }
  if (result.sheets.size() > 1 && !rules.multipack) {
    PackResult refused;
    refused.sheetsNeeded = static_cast<int64_t>(result.sheets.size());
    return refused;
  }
  result.fits = true;
  result.places = std::move(places);
  return result;
}

}  // namespace oz
