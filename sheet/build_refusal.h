// Why a build wrote nothing: the problem, and what the build found that
// caused it, so that a message can say what to change.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "base/folder_fault.h"
#include "sheet/layout/frame.h"
#include "sheet/layout/grid_layout.h"

namespace oz {

enum class BuildProblem {
  NoSavePath,           // no sheet file was chosen
  NoImageFolder,        // no image folder was chosen
  NoImages,             // the folder holds no frame, or none that decodes
  SizeMismatch,         // the frames do not all share one size
  SizeLimit,            // the sheet would pass kSheetSizeLimit on a side
  WriteFailed,          // the sheet at `path` could not be written
  OutOfMemory,          // memory ran out; the sheet could be written with more
  SameFile,             // two of the run's files are one (RunFilesClash)
  FrameTooLarge,        // packed: a frame does not fit a sheet of the largest size (OversizedFrame)
  FrameUnreadable,      // packed: a frame does not decode; `path` is its name
  AnimationNamesClash,  // two animations the script could not tell apart (AnimationNameClash)
};

// The image folder could not be listed; `error` is the errno of opening it.
struct FolderUnlistable {
  int error = 0;
  bool operator==(const FolderUnlistable&) const = default;
};

// The folder holds no name ending in ".png"; `otherCaseNames` end in it in
// other letters (".PNG"), which are not frames.
struct NoFrameFiles {
  int64_t otherCaseNames = 0;
  bool operator==(const NoFrameFiles&) const = default;
};

// Not one of the `count` frames decodes.
struct NoDecodableFrame {
  int64_t count = 0;
  std::string first;
  bool operator==(const NoDecodableFrame&) const = default;
};

// The first frame whose size differs from the one before it; every frame
// before it has the first frame's size.
struct DifferingFrame {
  FrameEntry first;
  FrameEntry differing;
  bool operator==(const DifferingFrame&) const = default;
};

// The unpadded size the sheet would have had, and what would fit.
struct OversizedSheet {
  int64_t width = 0;
  int64_t height = 0;
  int64_t frames = 0;  // of frameWidth x frameHeight each; the cells, when identical ones share
  int64_t frameWidth = 0;
  int64_t frameHeight = 0;
  bool strip = false;
  int64_t perRow = 0;  // frames in the first row
  ColumnRange fitting;
  bool shared = false;  // identical frames share a cell: `frames` counts the distinct ones
  bool operator==(const OversizedSheet&) const = default;
};

// A frame that no sheet of the largest size holds: its size (trimmed, when
// trimming is on) and the cell it needs with the extrusion and the border.
struct OversizedFrame {
  FrameEntry frame;
  int64_t cellWidth = 0;
  int64_t cellHeight = 0;
  int64_t maxSize = 0;
  bool operator==(const OversizedFrame&) const = default;
};

// Packed frames that do not fit one sheet of the largest size: how many such
// sheets they would take.
struct PackedOverflow {
  int64_t maxSize = 0;
  int64_t sheetsNeeded = 0;
  int64_t frames = 0;   // the cells packed
  bool shared = false;  // identical frames share a cell: `frames` counts the distinct ones
  bool operator==(const PackedOverflow&) const = default;
};

// The sheet could not be written; what its folder tells of why.
struct SheetNotWritten {
  FolderFault folder = FolderFault::None;
  bool operator==(const SheetNotWritten&) const = default;
};

// Two animations whose names are the same, or come out the same in one of
// the forms the script writes them in.
struct AnimationNameClash {
  std::string first;
  std::string second;
  std::string form;  // "JSON", "XML", ...; empty when the names themselves are equal
  std::string text;  // what both names give in that form

  bool operator==(const AnimationNameClash&) const = default;
};

// The files of one run, as a clash names them.
enum class RunFile { Sheet, Script, Template, Frame };

// Two paths of a run name one file: `path` is written, `otherPath` is
// written too or read.
struct RunFilesClash {
  RunFile file = RunFile::Sheet;
  std::string path;
  RunFile other = RunFile::Sheet;
  std::string otherPath;
  bool operator==(const RunFilesClash&) const = default;
};

using RefusalCause = std::variant<std::monostate, FolderUnlistable, NoFrameFiles, NoDecodableFrame,
                                  DifferingFrame, OversizedSheet, RunFilesClash, SheetNotWritten,
                                  OversizedFrame, PackedOverflow, AnimationNameClash>;

struct BuildRefusal {
  BuildProblem problem = BuildProblem::NoImages;
  // The sheet file for WriteFailed, the image folder for NoImages, the
  // frame's file name for FrameUnreadable; empty otherwise.
  std::string path;
  RefusalCause cause = {};

  bool operator==(const BuildRefusal&) const = default;
};

}  // namespace oz
