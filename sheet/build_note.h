// What a build tells beside the sheets it wrote: folders of the image folder
// it took no frames from, and why, and animations that several sheets share.
#pragma once

#include <string>
#include <vector>

namespace oz {

enum class BuildNoteKind {
  EmptySubfolders,       // subfolders that hold no PNG frame: no animation comes of them
  UnreadableSubfolders,  // subfolders that could not be listed
  DeeperFolders,         // folders below a subfolder that hold PNG frames, which are not read
  SplitAnimations,       // animations whose frames lie on more than one sheet
};

struct BuildNote {
  BuildNoteKind kind = BuildNoteKind::EmptySubfolders;
  // The folders, under the image folder in natural order ("walk/left"), or
  // the animations, in their order.
  std::vector<std::string> names;

  bool operator==(const BuildNote&) const = default;
};

}  // namespace oz
