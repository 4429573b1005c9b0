#include "sheet/frame_scan.h"

#include <fnmatch.h>
#include <sys/stat.h>

#include "base/dir_listing.h"

namespace oz {

bool isFrameName(const std::string& name) {
  return fnmatch("*.png", name.c_str(), FNM_PATHNAME) == 0;
}

std::vector<std::string> framesAmong(const std::string& folder, std::vector<std::string> names) {
  const std::string prefix = folder.ends_with('/') ? folder : folder + '/';
  std::erase_if(names, [&prefix](const std::string& name) {
    struct stat info {};
    return !isFrameName(name) || lstat((prefix + name).c_str(), &info) != 0;
  });
  return names;
}

std::vector<std::string> scanFrames(const std::string& folder) {
  return framesAmong(folder, listDirectory(folder).value_or(std::vector<std::string>{}));
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
