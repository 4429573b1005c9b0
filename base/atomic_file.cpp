#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <optional>

#include "base/live_temp_files.h"

namespace oz {
namespace {

// As many links as the system itself follows before it reports a loop.
constexpr int kMaxLinks = 40;

mode_t modeForNewFile(const std::string& path) {
  struct stat existing {};
  if (stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

std::string directoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The path a chain of symbolic links ends at, followed one link at a time
// (not resolved by the system) so that a dangling link still names the file
// to create. Nothing for a loop or an unreadable link.
std::optional<std::string> followLinks(std::string path) {
  for (int followed = 0; followed <= kMaxLinks; ++followed) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::string target(PATH_MAX, '\0');
    const ssize_t length = readlink(path.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<size_t>(length) >= target.size()) return std::nullopt;
    target.resize(static_cast<size_t>(length));
    path = target.front() == '/' ? target : directoryOf(path) + target;
  }
  return std::nullopt;
}

}  // namespace

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::open(const std::string& path) {
  discard();
  if (path.empty()) return false;
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    if (S_ISDIR(info.st_mode)) return false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    stream_ = fdopen(fd, "wb");
    if (stream_ == nullptr) close(fd);
    return stream_ != nullptr;
  }
  std::optional<std::string> target = followLinks(path);
  if (!target) return false;
  std::string name = *target + ".tmp.XXXXXX";
  const int fd = createTrackedTempFile(&name);
  if (fd < 0) return false;
  tempPath_ = std::move(name);
  target_ = std::move(*target);
  stream_ = fdopen(fd, "wb");
  if (stream_ == nullptr) {
    close(fd);
    discard();
    return false;
  }
  return true;
}

bool AtomicFile::commit() {
  if (stream_ == nullptr) return false;
  bool ok = std::fflush(stream_) == 0;
  if (!tempPath_.empty()) ok = fchmod(fileno(stream_), modeForNewFile(target_)) == 0 && ok;
  ok = std::fclose(stream_) == 0 && ok;
  stream_ = nullptr;
  if (tempPath_.empty()) return ok;
  ok = ok && std::rename(tempPath_.c_str(), target_.c_str()) == 0;
  if (!ok) unlink(tempPath_.c_str());
  untrackTempFile(tempPath_);
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
    untrackTempFile(tempPath_);
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
