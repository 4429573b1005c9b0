// The layout of a build worked out from the frames' headers alone: what the
// build starts from before it decodes a pixel, and what the Script Editor's
// live preview expands a template against.
#pragma once

#include <cstdint>
#include <string>

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
  BuiltSheet sheet;  // frames placed in scan order, their animations; size after Power-of-2 padding
};

// The frames of `options.imageFolder` sized by their headers and laid out as a
// build with `options` lays them out, spacing, border and extrusion included.
// A build places them the same unless a frame's pixels disagree with its
// header, or identical frames share a cell (`dedupe`, which only the pixels
// can tell): here every frame has a cell of its own.
HeaderLayout layOutFromHeaders(const BuildOptions& options);

}  // namespace oz
