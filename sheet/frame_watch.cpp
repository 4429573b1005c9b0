#include "sheet/frame_watch.h"

namespace oz {

int watchFrames(FolderWatch& watch, const BuildOptions& options) {
  if (options.animations == AnimationSource::Folders) {
    return watch.watchWithSubfolders(options.imageFolder, "*.png");
  }
  return watch.watch(options.imageFolder, "*.png");
}

}  // namespace oz
