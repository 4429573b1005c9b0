// What a template is expanded against: the frames of the sheet just built and
// the options it was built with, so that the window and the command line
// export the same script from the same build.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "sheet/animation.h"
#include "sheet/color_depth.h"
#include "sheet/layout/frame.h"
#include "sheet/sprite_options.h"

namespace oz {

struct ExpansionContext {
  std::span<const FrameEntry> frames;  // scan order, `number` 1..N; must outlive the expansion
  int64_t sheetWidth = 0;              // after Power-of-2 padding, never halved
  int64_t sheetHeight = 0;             // after Power-of-2 padding, never halved
  std::string sheetPath;               // the sheet file as the build was given it
  std::string sheetNumber;             // the sprite number as text
  int64_t divisor = 1;                 // 2 with "Retina", else 1
  int64_t columns = 0;                 // the grid as laid out, before Power-of-2 padding
  int64_t rows = 0;
  int32_t colorDepth = kDepth32;  // a ColorDepth: the sheet's pixel form
  bool premultipliedAlpha = false;
  bool transparent = false;  // the palette depths keep alpha
  int64_t spacing = 0;       // pixels between cells, full size
  int64_t border = 0;        // pixels around the sheet, full size
  int64_t extrude = 0;       // each frame's edge repeated this often outward, full size
  int64_t sheetIndex = 0;    // which of the build's sheets this is, from 0
  int64_t sheetCount = 1;    // how many sheets the build wrote
  bool packed = false;       // laid out packed: a template's ov.IfPacked lines are expanded
  // Runs of `frames`, in order (BuiltSheet::animations); must outlive the
  // expansion. With none, an animation loop writes nothing.
  std::span<const Animation> animations = {};
  int64_t frameRate = kSheetAnimationFrameRate;  // frames per second, from 1 (frameRateOf)
};

}  // namespace oz
