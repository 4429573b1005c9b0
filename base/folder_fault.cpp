#include "base/folder_fault.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>

namespace oz {

std::string folderOfPath(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

FolderFault folderFaultFor(const std::string& path) {
  const std::string folder = folderOfPath(path);
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0) {
    return errno == ENOTDIR ? FolderFault::NotAFolder : FolderFault::Missing;
  }
  if (!S_ISDIR(info.st_mode)) return FolderFault::NotAFolder;
  if (access(folder.c_str(), W_OK | X_OK) != 0) return FolderFault::NoPermission;
  struct statvfs space {};
  if (statvfs(folder.c_str(), &space) == 0 && space.f_bavail == 0) return FolderFault::Full;
  return FolderFault::None;
}

}  // namespace oz
