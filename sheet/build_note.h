// What a build tells beside the sheets it wrote: folders of the image folder
// it took no frames from, and why.
#pragma once

#include <string>
#include <vector>

namespace oz {

enum class BuildNoteKind {
  EmptySubfolders,       // subfolders that hold no PNG frame: no animation comes of them
  UnreadableSubfolders,  // subfolders that could not be listed
  DeeperFolders,         // folders below a subfolder that hold PNG frames, which are not read
};

struct BuildNote {
  BuildNoteKind kind = BuildNoteKind::EmptySubfolders;
  std::vector<std::string> folders;  // under the image folder, in natural order: "walk/left"

  bool operator==(const BuildNote&) const = default;
};

}  // namespace oz
