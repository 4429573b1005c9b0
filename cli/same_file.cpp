#include "cli/same_file.h"

#include <sys/stat.h>

namespace oz {

bool namesStreamFile(const std::string& path, std::FILE* stream) {
  struct stat named {};
  struct stat open {};
  return stat(path.c_str(), &named) == 0 && fstat(fileno(stream), &open) == 0 &&
         named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

}  // namespace oz
