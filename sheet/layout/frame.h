// The data a sheet build produces and the script export reads: the frames in
// scan order, each with its place on the sheet. A layout, grid or packed,
// produces this list; composition, the scripts and the Sheet Preview read it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace oz {

// Which way a frame stored turned is turned: engines read one or the other
// (Phaser reads neither: it draws a turned frame mirrored).
enum class Turn {
  Clockwise,      // TexturePacker's convention: PixiJS, cocos2d-x, Starling
  Anticlockwise,  // libGDX's and Spine's
};

// One frame of a sheet and where it is stored. Sizes and places are in
// full-size pixels. The stored rectangle is the whole frame, or with trimming
// the part of it that holds visible pixels; `offsetX`, `offsetY` and the
// source size say where that part lies in the frame as it is drawn.
struct FrameEntry {
  int64_t number = 0;  // 1-based position in scan order, on its sheet
  std::string name;    // file name as listed, extension included, no folder
  int64_t x = 0;       // left edge of the stored rectangle on the sheet
  int64_t y = 0;       // top edge of the stored rectangle on the sheet
  int64_t width = 0;   // the stored rectangle, upright; 0 when the file did not decode
  int64_t height = 0;
  int64_t offsetX = 0;      // the stored rectangle's left edge in the frame: what trimming cut off
  int64_t offsetY = 0;      // the stored rectangle's top edge in the frame
  int64_t sourceWidth = 0;  // the whole frame, before trimming
  int64_t sourceHeight = 0;
  // Stored turned by 90 degrees (which way, BuildOptions::turn says): on the
  // sheet it then covers `height` x `width` from (x, y).
  bool rotated = false;

  // Trimming took something off: the stored rectangle is not the whole frame.
  bool trimmed() const {
    return offsetX != 0 || offsetY != 0 || width != sourceWidth || height != sourceHeight;
  }

  bool operator==(const FrameEntry&) const = default;
};

using FrameList = std::vector<FrameEntry>;

}  // namespace oz
