// The data a sheet build produces and the script export reads: the frames in
// scan order with their places on the sheet.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sheet/png/rgba_image.h"

namespace oz {

// One frame of a sheet. Sizes and places are in full-size pixels.
struct FrameEntry {
  int64_t number = 0;  // 1-based position in scan order
  std::string name;    // file name as listed, extension included, no folder
  int64_t x = 0;       // left edge on the sheet
  int64_t y = 0;       // top edge on the sheet
  int64_t width = 0;   // as decoded; 0 when the file did not decode
  int64_t height = 0;  // as decoded; 0 when the file did not decode

  bool operator==(const FrameEntry&) const = default;
};

using FrameList = std::vector<FrameEntry>;

}  // namespace oz
