// The layout of a build worked out from the frames' headers alone: what the
// build starts from before it decodes a pixel, and what the Script Editor's
// live preview expands a template against.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sheet/build_sheet.h"
#include "sheet/layout/grid_layout.h"

namespace oz {

// A frame's size as its header declares it. A file that can be seen not to
// decode (no readable header, or too short for its pixels) counts as 0 x 0,
// as decoding it would give; one beyond the size limit keeps its header's
// size, since it is never decoded. `settled`: decoding cannot change it.
struct HeaderSize {
  int64_t width = 0;
  int64_t height = 0;
  bool settled = true;
};

HeaderSize frameHeaderSize(const std::string& path);

struct HeaderLayout {
  LayoutProblem problem = LayoutProblem::None;
  // Frames placed in scan order on each sheet, numbered from 1 on it, with
  // their animations, each sheet's size after padding and its file (numbered
  // when there are several). One sheet unless the packed layout needed more.
  std::vector<BuiltSheet> sheets;
};

// The frames of `options.imageFolder` sized by their headers and laid out as a
// build with `options` lays them out, spacing, border and extrusion included:
// the strip or grid, or packed (turned and onto several sheets as the build
// would). A build places them the same unless a frame's pixels disagree with
// its header, identical frames share a cell (`dedupe`, which only the pixels
// can tell; here every frame has a cell of its own), or the packed layout
// trims the frames (`trim`: here every frame is stored whole). Packed frames
// too large for a sheet, or too many for one without `multipack`, are the
// problem TooLarge, and stay unplaced on one sheet of no size.
HeaderLayout layOutFromHeaders(const BuildOptions& options);

}  // namespace oz
