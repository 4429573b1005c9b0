#include "store/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "base/atomic_file.h"

namespace oz {
namespace {

// A rename over a link would replace the link itself and cut the user's file
// loose from where it really lives.
std::string linkTarget(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

}  // namespace

bool replaceFile(const std::string& path, std::string_view bytes) {
  return writeFileAtomically(linkTarget(path), bytes);
}

bool truncateOrCreate(const std::string& path) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  return close(fd) == 0;
}

}  // namespace oz
