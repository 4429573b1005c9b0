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
#include "sheet/sprite_options.h"

namespace oz {

// The export options (the build ignores the script's two), the two paths, and
// the command line's choice of the smallest file.
struct BuildOptions : SpriteOptions {
  std::string savePath;     // the sheet file, used exactly as given; must not be empty
  std::string imageFolder;  // must not be empty; frame paths are this text + the file name,
                            // so it normally ends in "/"
  bool smallest = false;    // filter rows and compress hardest, for a sheet that ships:
                            // the smallest file, at many times the time
};

enum class BuildPhase {
  LoadingFrames,    // reading the frames' headers: `done` of `total` frames
  Composing,        // decoding frames onto the sheet: `done` of `total` frames
  ReducingColours,  // training the palette (8 and 4 bits): no count
  Writing,          // `done` of `total` rows written
};

struct BuildProgress {
  BuildPhase phase = BuildPhase::LoadingFrames;
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

// Why nothing (or nothing new) was written.
enum class BuildProblem {
  NoSavePath,     // no sheet file was chosen
  NoImageFolder,  // no image folder was chosen
  NoImages,       // the folder holds no frame, or none that decodes
  SizeMismatch,   // the frames do not all share one size
  SizeLimit,      // the sheet would pass kSheetSizeLimit on a side
  WriteFailed,    // the sheet at `path` could not be written
  OutOfMemory,    // memory ran out; the sheet could be written with more
};

struct BuildRefusal {
  BuildProblem problem = BuildProblem::NoImages;
  std::string path;  // the sheet file, for BuildProblem::WriteFailed; empty otherwise

  bool operator==(const BuildRefusal&) const = default;
};

using BuildOutcome = std::variant<BuiltSheet, BuildRefusal>;

// The refusal of a build that ran out of memory.
BuildRefusal outOfMemoryRefusal();

// Runs one build. `progress` may be empty. Memory stays bounded: frame headers
// are checked before any pixel is decoded, frames are decoded one at a time
// onto the sheet, a frame wider or higher than the 8,192-pixel limit is never
// decoded, and a file too short for the pixels its header claims costs no more
// than its header. Memory that cannot be had ends the build with the refusal
// BuildProblem::OutOfMemory, and nothing is written.
BuildOutcome buildSheet(const BuildOptions& options,
                        const BuildProgressCallback& progress = nullptr);

}  // namespace oz
