#include "base/text_lines.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace oz {

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c != '\n' && c != '\r') {
      ++i;
      continue;
    }
    lines.emplace_back(text.substr(start, i - start));
    i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
    start = i;
  }
  // A final ending adds no empty line, but an empty text is one empty line.
  if (start < text.size() || lines.empty()) lines.emplace_back(text.substr(start));
  return lines;
}

namespace {

ReadResult failureOf(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return ReadResult::Missing;
    case EACCES:
    case EPERM:
      return ReadResult::NoPermission;
    case EISDIR:
      return ReadResult::NotPlainFile;
    default:
      return ReadResult::Failed;
  }
}

}  // namespace

ReadResult readFile(const std::string& path, std::string* out) {
  // Opened without waiting, so a FIFO with no writer cannot hold the open up;
  // it is then refused for not being a plain file.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return failureOf(errno);
  struct stat info {};
  ReadResult result = ReadResult::Read;
  if (fstat(fd, &info) != 0) {
    result = failureOf(errno);
  } else if (!S_ISREG(info.st_mode)) {
    result = ReadResult::NotPlainFile;
  } else if (static_cast<uint64_t>(info.st_size) > kMaxReadBytes) {
    result = ReadResult::TooLarge;
  } else {
    out->clear();
    out->reserve(static_cast<size_t>(info.st_size));
    // The file may grow while it is read: one byte past the limit refuses it.
    char buffer[65536];
    for (;;) {
      const ssize_t got = read(fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        result = failureOf(errno);
        break;
      }
      if (got == 0) break;
      if (out->size() + static_cast<size_t>(got) > kMaxReadBytes) {
        result = ReadResult::TooLarge;
        break;
      }
      out->append(buffer, static_cast<size_t>(got));
    }
  }
  close(fd);
  return result;
}

bool readWholeFile(const std::string& path, std::string* out) {
  return readFile(path, out) == ReadResult::Read;
}

}  // namespace oz
