#include "store/empty_file.h"

#include <fcntl.h>
#include <unistd.h>

namespace oz {

bool truncateOrCreate(const std::string& path) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  return close(fd) == 0;
}

}  // namespace oz
