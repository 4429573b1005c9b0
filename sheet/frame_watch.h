// The watch on the frames a build reads, for rebuilding on change in both
// programs.
#pragma once

#include "base/folder_watch.h"
#include "sheet/build_sheet.h"

namespace oz {

// Watches the "*.png" frames of `options.imageFolder` and, when animations
// come from subfolders, those of each subfolder the build reads, as they come
// and go. 0, or the errno that tells why the image folder cannot be watched.
int watchFrames(FolderWatch& watch, const BuildOptions& options);

}  // namespace oz
