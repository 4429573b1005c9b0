// The arithmetic of the Sheet Preview, apart from any window: which frame
// the animation shows at a time, the zoom steps, where the sheet lies in its
// canvas, which frame a point falls on, and the pictures the canvases show.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sheet/layout/frame.h"
#include "sheet/sprite_options.h"
#include "toolkit/toolkit.h"

namespace oz {

// The preview offers the rates --fps takes, up to kMaxFrameRate; it starts
// at the script's (WrittenSheets::frameRate).
inline constexpr int kMinFrameRate = 1;

// The index of the frame shown `elapsed` after the animation started at
// `framesPerSecond`, looping over `count` frames; 0 when there are none.
size_t frameAt(std::chrono::milliseconds elapsed, int framesPerSecond, size_t count);

// The wheel's zoom steps, smallest first; 1 is 100 %.
inline constexpr double kZoomSteps[] = {0.125, 0.25, 0.5, 1, 2, 3, 4, 6, 8, 12, 16};

// The largest scale at which an image of `width` x `height` fits the area,
// within the wheel's steps; 1 for an empty image or area.
double fitScale(int64_t width, int64_t height, int areaWidth, int areaHeight);

// The scale `steps` wheel notches away from `scale`: the next steps up
// (positive) or down, stopping at the ends. A scale between two steps moves
// to the neighbour in the direction turned.
double wheelZoom(double scale, int steps);

// Where the sheet lies in its canvas: its top-left corner and its scale.
struct SheetView {
  double scale = 1;
  double left = 0;
  double top = 0;
  bool operator==(const SheetView&) const = default;
};

// The sheet's width or height at `scale`, in canvas pixels, as drawn.
int scaledLength(int64_t length, double scale);

// The view moved to where the sheet may lie in a canvas of `canvasWidth` x
// `canvasHeight`: along an axis where it fits, centred; where it is longer,
// covering the canvas with no gap at either end, at a whole pixel, so that
// the scroll bars' positions (-left, -top) say exactly where it is.
SheetView placedView(const SheetView& view, int64_t width, int64_t height, int canvasWidth,
                     int canvasHeight);

// How the sheet's area is shared by its canvas and the scroll bars: a bar
// along each axis where the sheet at `scale` is longer than the canvas (a bar
// across the other axis shortening the canvas may call for the second).
struct PreviewLayout {
  Rect canvas;
  bool horizontal = false;  // a bar under the canvas
  bool vertical = false;    // a bar right of the canvas
  bool operator==(const PreviewLayout&) const = default;
};
PreviewLayout previewLayout(Rect area, int64_t width, int64_t height, double scale,
                            int barThickness);

// The view at `scale` that keeps the sheet's pixel under canvas point
// (`x`, `y`) where it is, as a wheel zoom at the pointer does.
SheetView zoomAround(const SheetView& view, double scale, int x, int y);

// The index of the frame whose rectangle holds canvas point (`x`, `y`), or
// -1. Frames that did not decode have no rectangle.
int frameAtPoint(const FrameList& frames, const SheetView& view, int x, int y);

// What a frame covers of the sheet, in canvas coordinates: its stored
// rectangle, height x width when it is stored turned.
Rect canvasRect(const FrameEntry& frame, const SheetView& view);

// The decoded sheet the pictures draw from.
struct SheetImage {
  int width = 0;
  int height = 0;
  std::shared_ptr<const std::vector<std::uint8_t>> rgba;
};

// The sheet canvas: the whole sheet in `view` over a checkerboard, every
// frame outlined, the one at `hovered` (or -1) stronger and named.
CanvasPicture sheetPicture(const SheetImage& sheet, const FrameList& frames, const SheetView& view,
                           int hovered);

// The play strip's scale for frames of at most `width` x `height` pixels
// (the largest source size among them) in an area of `areaWidth` x
// `areaHeight`: the largest that fits, in whole multiples when enlarged, so
// that pixels stay square. One scale for all, so no frame jumps.
double stripScale(int64_t width, int64_t height, int areaWidth, int areaHeight);

// The frame as it is drawn: an image of its source size, clear but for its
// stored rectangle at its offset, turned back upright the way `turn` says
// it was turned.
SheetImage uprightFrame(const SheetImage& sheet, const FrameEntry& frame, Turn turn);

// The play strip: `frame` of `sheet` alone at its source size times `scale`,
// centred in an area of `areaWidth` x `areaHeight`. A frame stored whole
// and upright is drawn from the sheet itself; any other from its upright
// image. Nothing for a frame that did not decode.
CanvasPicture stripPicture(const SheetImage& sheet, const FrameEntry& frame, Turn turn,
                           double scale, int areaWidth, int areaHeight);

// What the hover names: "walk_03.png  (64, 0, 32 x 32)", the stored
// rectangle upright, then ", turned" for a frame stored turned and
// ", of 40 x 48" with its source size for a trimmed one.
std::string frameCaption(const FrameEntry& frame);

}  // namespace oz
