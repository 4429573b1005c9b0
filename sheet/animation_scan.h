// The frames of an image folder in the order a build takes them, and the
// animations they form: one per subfolder, or one per name less its number.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sheet/animation.h"
#include "sheet/build_note.h"
#include "sheet/sprite_options.h"

namespace oz {

struct FolderFrames {
  std::vector<std::string> names;  // relative to the folder: "walk/walk1.png" in a subfolder
  AnimationList animations;        // runs of `names`; none without an animations option
  std::vector<BuildNote> notes;    // subfolders that gave no animation, and why
};

// The frames of `folder` (ending in "/") for `source`:
// - None: scanFrames's, and no animations.
// - Folders: the folder's own frames, an animation named after the folder,
//   then each subfolder's (symlinked ones too) in natural order, an
//   animation named after the subfolder, its frames named "subfolder/frame".
//   Only one level is read: a folder below a subfolder that holds frames is
//   named in a note, as are subfolders without frames or that cannot be
//   listed.
// - Prefixes: the folder's frames grouped by namePrefix, the animations in
//   the order of their first frames, each one's frames in natural order. A
//   frame whose name is a number alone belongs to the folder's animation.
FolderFrames scanFolderFrames(const std::string& folder, AnimationSource source);

// The animation a frame belongs to by its name: the name less ".png", less a
// trailing number and the separators ("_", "-", ".", blank) before it. So
// "walk_01.png", "walk-2.png" and "walk3.png" give "walk"; "idle.png" gives
// "idle", "07.png" nothing.
std::string_view namePrefix(std::string_view frameName);

// The name of the animation a folder's own frames form: its last part, or
// the real folder's when that is "." or "..".
std::string folderAnimationName(const std::string& folder);

}  // namespace oz
