// What the Sheet Preview shows of a build: the sheets it wrote, each file
// with its frames' places, the order the frames play in across the sheets,
// the animations it plays, at the script's rate, and which way the frames
// stored turned are turned.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sheet/animation.h"
#include "sheet/build_sheet.h"
#include "sheet/layout/frame.h"

namespace oz {

// A sheet a build has written: its file, its frames' places and the
// animations they make (BuiltSheet::animations).
struct WrittenSheet {
  std::string path;
  FrameList frames;
  AnimationList animations = {};
  bool operator==(const WrittenSheet&) const = default;
};

// One frame of a build: which sheet holds it, and where in that sheet's list.
struct FrameRef {
  size_t sheet = 0;
  size_t frame = 0;
  bool operator==(const FrameRef&) const = default;
};

// An animation as the preview plays it: its frames in order, on whichever
// sheets they lie.
struct PlayedAnimation {
  std::string name;
  std::vector<FrameRef> frames;
  bool operator==(const PlayedAnimation&) const = default;
};

struct WrittenSheets {
  std::vector<WrittenSheet> sheets;  // in the order written; at least one
  // Every frame once, in the order the build took them from the image
  // folder. The packer shares the frames out by size, so a sheet's frames
  // are in that order but need not follow one another.
  std::vector<FrameRef> playOrder;
  // At least one: without an animations option, one of every frame in the
  // play order, named after the sheet; with one, each animation of the
  // build, its parts on several sheets joined in the play order.
  std::vector<PlayedAnimation> animations;
  int32_t frameRate = kSheetAnimationFrameRate;  // what the script gives (frameRateOf)
  Turn turn = Turn::Clockwise;                   // the build's BuildOptions::turn
  bool operator==(const WrittenSheets&) const = default;
};

// The sheets a build with `options` wrote, with their frames' play order:
// as `scanned` (the image folder's frame names as the build took them,
// scanFolderFrames) lists them, then any frame it does not name, in its
// sheet's order.
WrittenSheets writtenSheets(std::vector<WrittenSheet> sheets,
                            const std::vector<std::string>& scanned, const BuildOptions& options);

}  // namespace oz
