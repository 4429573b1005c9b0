// Packing rectangles onto as few and as small sheets as will hold them:
// rectangles in, places out, no pixels. The packed layout's engine.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "sheet/layout/sheet_size.h"

namespace oz {

struct RectSize {
  int64_t width = 0;
  int64_t height = 0;
  bool operator==(const RectSize&) const = default;
};

struct PackRules {
  int64_t maxSize = kSheetSizeLimit;  // neither side of a sheet passes it, padding included
  int64_t spacing = 0;                // at least this many pixels between two rectangles
  int64_t border = 0;                 // this many pixels at least between a rectangle and an edge
  bool powerOf2 = false;              // each side of a sheet a power of two
  bool square = false;                // each sheet as wide as it is high
  bool rotation = false;              // a rectangle may be turned by 90 degrees
  bool multipack = false;             // several sheets when one is not enough
};

// Where one rectangle went.
struct PackedPlace {
  int64_t x = 0;  // its top-left corner on its sheet
  int64_t y = 0;
  bool turned = false;  // turned by 90 degrees: it covers height x width there
  int32_t sheet = 0;    // which sheet, from 0
  bool operator==(const PackedPlace&) const = default;
};

struct PackedSheet {
  int64_t width = 0;  // border and any padding the rules ask for included
  int64_t height = 0;
  bool operator==(const PackedSheet&) const = default;
};

struct PackResult {
  // Every rectangle has a place: on one sheet, or with `multipack` on as
  // many as it takes. When false, `places` and `sheets` are empty.
  bool fits = false;
  std::vector<PackedPlace> places;  // one for each rectangle, in the order given
  std::vector<PackedSheet> sheets;
  // When the rectangles do not fit one sheet of `maxSize` without multipack:
  // how many such sheets they would take. 0 otherwise.
  int64_t sheetsNeeded = 0;
};

// Whether `rect` fits on a sheet of the rules' largest size at all, turned if
// rotation allows it.
bool fitsOnSheet(RectSize rect, const PackRules& rules);

// Packs `rects` into the smallest sheet that holds them all and keeps within
// the rules, smallest by area after padding; with `multipack`, onto as few
// such sheets as it can. No two rectangles, grown by the spacing, overlap,
// and every one lies at least `border` pixels inside its sheet's edges. The
// same rectangles and rules give the same result on any number of cores.
// REQUIRES: every rectangle is at least 1 x 1 and fitsOnSheet.
PackResult packRectangles(std::span<const RectSize> rects, const PackRules& rules);

}  // namespace oz
