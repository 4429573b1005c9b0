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
#include <vector>

#include "sheet/animation.h"
#include "sheet/build_note.h"
#include "sheet/build_refusal.h"
#include "sheet/color_depth.h"
#include "sheet/layout/frame.h"
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
  // The run's other files, so that none is written over another named twice:
  // the script file written after the sheet and the template read for it
  // (empty when there is none).
  std::string scriptPath;
  std::string templatePath;
  // Which way a frame stored turned (`rotate`) is turned: the way the
  // template's engine reads it (see templateTurn).
  Turn turn = Turn::Clockwise;
  // The forms the script writes animation names in (scriptNameForms): two
  // animations whose names give the same text in one are refused before
  // anything is written. Empty: only equal names are.
  NameForms animationNameForms;
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

// Told each step of the build; returns whether to go on. False stops the
// build at its next step (the next frame or row), and nothing is written.
using BuildProgressCallback = std::function<bool(const BuildProgress&)>;

// A written sheet: its file, its frames in scan order with their places
// (numbered from 1 on this sheet), its size after padding, and the
// animations of its frames.
struct BuiltSheet {
  FrameList frames;
  int64_t width = 0;
  int64_t height = 0;
  std::string path;        // the save path; with several sheets, numbered (sheetFilePath)
  bool unchanged = false;  // the file already held these bytes and was left as it was
  // Runs of `frames`, in order: without an animations option one, of every
  // frame, named after the sheet (animationsOnSheet).
  AnimationList animations = {};
};

// What a build wrote: one sheet, or with `multipack` as many as it took, in
// order, and what it has to tell of the image folder.
struct BuiltSheets {
  std::vector<BuiltSheet> sheets;
  std::vector<BuildNote> notes;
};

// A build that its progress callback stopped: nothing was written.
struct BuildStopped {
  bool operator==(const BuildStopped&) const = default;
};

using BuildOutcome = std::variant<BuiltSheets, BuildRefusal, BuildStopped>;

// The refusal of a build that ran out of memory.
BuildRefusal outOfMemoryRefusal();

// Runs one build. `progress` may be empty; when it asks to stop, the build
// ends with BuildStopped, the old sheet untouched. Memory stays bounded: frame headers
// are checked before any pixel is decoded, frames are decoded one at a time
// onto the sheet, a frame wider or higher than the 8,192-pixel limit is never
// decoded, and a file too short for the pixels its header claims costs no more
// than its header. Memory that cannot be had ends the build with the refusal
// BuildProblem::OutOfMemory, and nothing is written. Nothing is written either
// when the sheet or the script file would be the other one, the template or a
// frame (BuildProblem::SameFile).
BuildOutcome buildSheet(const BuildOptions& options,
                        const BuildProgressCallback& progress = nullptr);

}  // namespace oz
