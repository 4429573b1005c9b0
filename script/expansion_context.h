// What a template is expanded against: the frames of the sheet just built and
// the few texts of the main window a template can name.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "sheet/frame.h"

namespace oz {

struct ExpansionContext {
  std::span<const FrameEntry> frames;  // scan order, `number` 1..N; must outlive the expansion
  int64_t sheetWidth = 0;              // after Power-of-2 padding, never halved
  int64_t sheetHeight = 0;             // after Power-of-2 padding, never halved
  std::string sheetPath;               // the sheet "Save As:" text
  std::string sheetNumber;             // the "Sprite #" text, used as shown
  int64_t divisor = 1;                 // 2 with "Retina", else 1
};

}  // namespace oz
