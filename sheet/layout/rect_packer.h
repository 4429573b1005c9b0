// Packing rectangles onto as few and as small sheets as will hold them:
// rectangles in, places out, no pixels. The packed layout's engine.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "sheet/layout/sheet_size.h"

namespace oz {

// One rectangle to pack: a frame's cell, already grown by any extrusion.
struct RectSize {
  int64_t width = 0;
  int64_t height = 0;
  bool operator==(const RectSize&) const = default;
};

// fitsOnSheet refuses rules outside these ranges: a maximum size from 1 to
// kSheetSizeLimit (from 2 with powerOf2), no negative spacing or border.
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

// A sheet is the smallest that holds its rectangles with the border on all
// four sides (the border, not the spacing, after the last rectangle on the
// right and at the bottom), then padded on the right and at the bottom to
// powers of two and to a square where the rules ask.
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
  // how many such sheets they would take, at least 2. 0 otherwise, and when
  // a rectangle fits on no sheet at all (see fitsOnSheet).
  int64_t sheetsNeeded = 0;
};

// Whether `rect` fits on a sheet of the rules' largest size at all, turned if
// rotation allows it. False for every rectangle under rules that allow no
// sheet (see PackRules).
bool fitsOnSheet(RectSize rect, const PackRules& rules);

// Packs `rects` into the smallest sheet that holds them all and keeps within
// the rules; with `multipack`, onto as few such sheets as it finds, each
// again the smallest for its rectangles (the sheets are filled one after the
// other, so the last holds what is left). No two rectangles, grown by the
// spacing, overlap, and every one lies at least `border` pixels inside its
// sheet's edges; with rotation off, none is turned.
//
// Smallest means the least area after padding. Of sheets as large, the one
// with the shorter longest side wins, then the narrower, then the one whose
// rectangles reach over the least area, then over the least width. The
// search tries many packings, fewer for many rectangles, and keeps the best
// by that order; it finds a small sheet, not always the smallest there is.
//
// The same rectangles and rules give the same result on any number of cores,
// every run. No rectangles at all fit, on no sheet.
PackResult packRectangles(std::span<const RectSize> rects, const PackRules& rules);

}  // namespace oz
