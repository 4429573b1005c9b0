// The create-sprite build: scans an image folder for "*.png" frames, checks
// their sizes, lays them out as a strip or a grid, composes the sheet, prepares
// its pixels for the chosen colour depth and writes the PNG. The desktop
// program and the command line both call buildSheet, so a sheet made either way
// is byte-identical.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <variant>

#include "sheet/color_depth.h"
#include "sheet/frame.h"

namespace oz {

struct BuildOptions {
  std::string savePath;           // the sheet file, used exactly as given; must not be empty
  std::string imageFolder;        // must not be empty; frame paths are this text + the file name,
                                  // so it normally ends in "/"
  bool strip = false;             // one row; otherwise a grid of `columns` frames per row
  std::string columns = "4";      // as typed: leading blanks, optional sign, digits (0 if none)
  int32_t colorDepth = kDepth32;  // a ColorDepth; any other value counts as 32-bit
  bool dithering = false;         // palette depths only
  bool removeAlpha = false;       // 24-bit only: nearly transparent pixels become the background
  bool pink = false;              // background RGB 255 0 255 instead of black
  bool powerOf2 = false;          // pad each sheet dimension up to a power of two
  bool smallest = false;          // filter rows and compress hardest, for a sheet that ships:
                                  // the smallest file, at many times the time
};

enum class BuildPhase {
  kLoadingFrames,    // reading the frames' headers: `done` of `total` frames
  kComposing,        // decoding frames onto the sheet: `done` of `total` frames
  kReducingColours,  // training the palette (8 and 4 bits): no count
  kWriting,          // `done` of `total` rows written
};

struct BuildProgress {
  BuildPhase phase = BuildPhase::kLoadingFrames;
  int64_t done = 0;
  int64_t total = 0;
};

using BuildProgressCallback = std::function<void(const BuildProgress&)>;

// A written sheet: the frames in scan order with their places, and the sheet
// size after Power-of-2 padding.
struct BuiltSheet {
  FrameList frames;
  int64_t width = 0;
  int64_t height = 0;
};

// Why nothing (or nothing new) was written: the message box's title and text.
struct BuildRefusal {
  std::string title;
  std::string text;
  bool writeFailed = false;  // the sheet could not be written ("Save Error!")

  bool operator==(const BuildRefusal&) const = default;
};

using BuildOutcome = std::variant<BuiltSheet, BuildRefusal>;

// The refusal of a build that ran out of memory: not a failed write, since the
// sheet could be written with more memory.
BuildRefusal outOfMemoryRefusal();

// Runs one build. `progress` may be empty. Memory stays bounded: frame headers
// are checked before any pixel is decoded, frames are decoded one at a time
// onto the sheet, a frame wider or higher than the 8,192-pixel limit is never
// decoded, and a file too short for the pixels its header claims costs no more
// than its header. Memory that cannot be had ends the build with the refusal
// "Out of Memory!", and nothing is written.
BuildOutcome buildSheet(const BuildOptions& options,
                        const BuildProgressCallback& progress = nullptr);

}  // namespace oz
