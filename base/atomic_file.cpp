#include "base/atomic_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace oz {
namespace {

mode_t modeForNewFile(const std::string& path) {
  struct stat existing {};
  if (stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::open(const std::string& path) {
  discard();
  if (path.empty()) return false;
  std::vector<char> name(path.begin(), path.end());
  for (char c : std::string_view(".tmp.XXXXXX")) name.push_back(c);
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) return false;
  stream_ = fdopen(fd, "wb");
  if (stream_ == nullptr) {
    close(fd);
    unlink(name.data());
    return false;
  }
  path_ = path;
  tempPath_ = name.data();
  return true;
}

bool AtomicFile::commit() {
  if (stream_ == nullptr) return false;
  bool ok = std::fflush(stream_) == 0;
  ok = fchmod(fileno(stream_), modeForNewFile(path_)) == 0 && ok;
  ok = std::fclose(stream_) == 0 && ok;
  stream_ = nullptr;
  ok = ok && std::rename(tempPath_.c_str(), path_.c_str()) == 0;
  if (!ok) unlink(tempPath_.c_str());
  tempPath_.clear();
  return ok;
}

void AtomicFile::discard() {
  if (stream_ != nullptr) {
    std::fclose(stream_);
    stream_ = nullptr;
  }
  if (!tempPath_.empty()) {
    unlink(tempPath_.c_str());
    tempPath_.clear();
  }
}

bool writeFileAtomically(const std::string& path, std::string_view bytes) {
  AtomicFile file;
  if (!file.open(path)) return false;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.stream()) != bytes.size()) {
    return false;
  }
  return file.commit();
}

}  // namespace oz
