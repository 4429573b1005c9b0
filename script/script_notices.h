// What an export has to tell beside the script it wrote: the parts of the
// script that the program reading it will get wrong, though the script is
// written as the template asks.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "script/expansion_context.h"

namespace oz {

// Two frames whose class names (ov.ImageClass) are the same, so a style
// sheet's rule for one selects the other too.
struct ClassNameClash {
  std::string first;   // the earlier frame's file name
  std::string second;  // the later one's
  std::string className;

  bool operator==(const ClassNameClash&) const = default;
};

// The options that set frames apart from one another and from the sheet's
// corner, as far as a template that gives the frames' size but not their
// positions does not name them either: there, whatever steps through the
// sheet by the frame size misses the frames. Each is the build's value, or 0.
// Packed frames lie where the packer put them, whatever the template names.
struct FramesApart {
  int64_t spacing = 0;
  int64_t border = 0;
  int64_t extrude = 0;
  bool packed = false;

  bool operator==(const FramesApart&) const = default;
};

struct ScriptNotices {
  std::optional<ClassNameClash> classNameClash;  // the first, in frame order
  std::optional<FramesApart> framesApart;
  // The first frame stored turned, or trimmed, where the template does not
  // say so (names no rotation word, or no offset word): what reads the script
  // draws it on its side, or at the trimmed part's place.
  std::optional<std::string> turnedUntold = {};
  std::optional<std::string> trimmedUntold = {};

  bool operator==(const ScriptNotices&) const = default;
};

// What the template `lines`, expanded against `context`, has to tell. Only
// the words of lines that are written count: a marker or extension line's
// are never output.
ScriptNotices scriptNotices(std::span<const std::string> lines, const ExpansionContext& context);

}  // namespace oz
