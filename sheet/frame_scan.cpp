#include "sheet/frame_scan.h"

#include <sys/stat.h>

#include "base/dir_listing.h"

namespace oz {

std::vector<std::string> scanFrames(const std::string& folder) {
  std::vector<std::string> names = listMatching(folder, "*.png");
  const std::string prefix = folder.ends_with('/') ? folder : folder + '/';
  std::erase_if(names, [&prefix](const std::string& name) {
    struct stat info {};
    return lstat((prefix + name).c_str(), &info) != 0;
  });
  return names;
}

std::string withFolderSlash(std::string folder) {
  struct stat info {};
  if (!folder.empty() && !folder.ends_with('/') && stat(folder.c_str(), &info) == 0 &&
      S_ISDIR(info.st_mode)) {
    folder += '/';
  }
  return folder;
}

}  // namespace oz
