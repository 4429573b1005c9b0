// A sheet's animations: named runs of its frame list. A build without an
// animations option gives each sheet one, of all its frames; with one, the
// frames of each animation are consecutive in the build's frame list, and
// each sheet holds the part of every animation that landed on it.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace oz {

struct Animation {
  std::string name;
  size_t first = 0;  // its first frame's position in the sheet's frame list
  size_t count = 0;  // its frames, consecutive from `first`

  bool operator==(const Animation&) const = default;
};

using AnimationList = std::vector<Animation>;

// One way a script writes a name, such as its JSON string, and the text that
// gives.
struct NameForm {
  std::string_view form;  // what a message calls the form: "JSON"
  std::string text;
};

// The forms a script writes an animation's name in.
using NameForms = std::function<std::vector<NameForm>(std::string_view name)>;

// The animations of a sheet that holds the build's frames at `onSheet`
// (increasing positions in the build's frame list), from the build's
// `animations`: each keeps those of its frames that are on the sheet, as a
// run of the sheet's list, and one with none there is left out. Without
// animations (no option), the sheet's one animation: all its frames, named
// after `sheetPath`'s file less its extension, as ov.SheetBase names it.
AnimationList animationsOnSheet(const AnimationList& animations, std::span<const size_t> onSheet,
                                const std::string& sheetPath);

// The same for a sheet that holds the build's first `frameCount` frames.
AnimationList animationsOnSheet(const AnimationList& animations, size_t frameCount,
                                const std::string& sheetPath);

}  // namespace oz
