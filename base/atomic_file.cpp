#include "base/atomic_file.h"

#include <fcntl.h>
#include <stdio_ext.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <optional>
#include <random>
#include <vector>

#include "base/live_temp_files.h"

namespace oz {
namespace {

// As many links as the system itself follows before it reports a loop.
constexpr int kMaxLinks = 40;

constexpr std::string_view kTempSuffix = ".tmp.XXXXXX";

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

const char* folderArgument(const std::string& folder) {
  return folder.empty() ? "." : folder.c_str();
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

// The temporary name beside `target`: its name and kTempSuffix, the name cut
// short where the two would pass the longest name the folder takes. A cut
// never splits a UTF-8 sequence.
std::string tempPattern(const std::string& folder, const std::string& target) {
  const std::string name = target.substr(folder.size());
  long longest = pathconf(folderArgument(folder), _PC_NAME_MAX);
  if (longest <= 0) longest = NAME_MAX;
  const size_t room = static_cast<size_t>(longest) > kTempSuffix.size()
                          ? static_cast<size_t>(longest) - kTempSuffix.size()
                          : 0;
  size_t keep = name.size();
  if (keep > room) {
    keep = room;
    while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
  }
  return folder + name.substr(0, keep) + std::string(kTempSuffix);
}

// Whether open() refused O_TMPFILE itself rather than the folder: the file
// system does not support it, or the kernel predates it.
bool tmpFileUnsupported(int error) {
  return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

// Links the open file `fd` at `path`, which must not exist. Through /proc
// first, which any user may do; by the descriptor itself where /proc is
// missing, which some kernels allow only to privileged users.
bool linkDescriptor(int fd, const std::string& path) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
  if (errno == EEXIST) return false;
  return linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0;
}

// Links `fd` under a new name made from `pattern` (its "XXXXXX" filled in) and
// returns that name, or nothing.
std::optional<std::string> linkUnderFreshName(int fd, std::string pattern) {
  static constexpr std::string_view kLetters =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device seed;
  std::mt19937 random(seed());
  std::uniform_int_distribution<size_t> letter(0, kLetters.size() - 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    for (size_t i = pattern.size() - 6; i < pattern.size(); ++i)
      pattern[i] = kLetters[letter(random)];
    if (linkDescriptor(fd, pattern)) return pattern;
    if (errno != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

// Makes the new name durable: without it a power loss can forget the rename.
// Best effort, since the file has already been replaced when it runs.
void syncFolder(const std::string& folder) {
  const int fd = ::open(folderArgument(folder), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  ::close(fd);
}

// Reads up to `size` bytes at `offset`, fewer only at the end of the file.
ssize_t readAt(int fd, char* bytes, size_t size, off_t offset) {
  size_t got = 0;
  while (got < size) {
    const ssize_t n = pread(fd, bytes + got, size - got, offset + static_cast<off_t>(got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  return static_cast<ssize_t>(got);
}

// Whether the plain file at `path` holds exactly the bytes of `fd`. Sizes are
// compared first, so a file that changed length costs no reading.
bool holdsSameBytes(const std::string& path, int fd) {
  struct stat ours {};
  struct stat theirs {};
  if (fstat(fd, &ours) != 0 || stat(path.c_str(), &theirs) != 0 || !S_ISREG(theirs.st_mode) ||
      ours.st_size != theirs.st_size) {
    return false;
  }
  const int other = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (other < 0) return false;
  constexpr size_t kChunk = 1 << 16;
  std::vector<char> a(kChunk);
  std::vector<char> b(kChunk);
  bool same = true;
  for (off_t offset = 0; same && offset < ours.st_size; offset += kChunk) {
    const ssize_t n = readAt(fd, a.data(), kChunk, offset);
    same = n > 0 && readAt(other, b.data(), kChunk, offset) == n &&
           std::memcmp(a.data(), b.data(), static_cast<size_t>(n)) == 0;
  }
  ::close(other);
  return same;
}

bool writeAll(int fd, const char* bytes, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

}  // namespace

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::open(const std::string& path, Temp temp) {
  discard();
  if (path.empty()) return false;
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    if (S_ISDIR(info.st_mode)) return false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    stream_ = fdopen(fd, "wb");
    if (stream_ == nullptr) ::close(fd);
    return stream_ != nullptr;
  }
  std::optional<std::string> target = followLinks(path);
  if (!target) return false;
  std::string folder = directoryOf(*target);
  if (temp == Temp::UnnamedWherePossible) {
    // Readable too, so that commit can compare it with the file in place.
    fd_ = ::open(folderArgument(folder), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd_ < 0 && !tmpFileUnsupported(errno)) return false;
  }
  unnamed_ = fd_ >= 0;
  // The named file comes with the first bytes; whether it could be made in
  // the folder is asked now, before the caller's work.
  if (!unnamed_ && access(folderArgument(folder), W_OK | X_OK) != 0) return false;
  target_ = std::move(*target);
  folder_ = std::move(folder);
  stream_ = fopencookie(this, "wb",
                        {.read = nullptr, .write = writeCookie, .seek = nullptr, .close = nullptr});
  if (stream_ == nullptr) {
    discard();
    return false;
  }
  return true;
}

ssize_t AtomicFile::writeCookie(void* file, const char* bytes, size_t size) {
  auto* self = static_cast<AtomicFile*>(file);
  if (!self->createNamed() || !writeAll(self->fd_, bytes, size)) return 0;  // 0 reports an error
  return static_cast<ssize_t>(size);
}

bool AtomicFile::createNamed() {
  if (fd_ >= 0) return true;
  std::string name = tempPattern(folder_, target_);
  fd_ = createTrackedTempFile(&name);
  if (fd_ < 0) return false;
  tempPath_ = std::move(name);
  return true;
}

bool AtomicFile::linkUnnamed() {
  // Where there is no file yet the link itself is the whole replacement.
  if (linkDescriptor(fd_, target_)) return true;
  if (errno != EEXIST) return false;
  // Otherwise a name to rename over it, given and renamed with the
  // interrupting signals held, so that only a kill -9 between the two calls
  // could leave it.
  const HeldSignals held;
  const std::optional<std::string> name = linkUnderFreshName(fd_, tempPattern(folder_, target_));
  if (!name) return false;
  if (std::rename(name->c_str(), target_.c_str()) == 0) return true;
  unlink(name->c_str());
  return false;
}

CommitResult AtomicFile::commit() {
  if (stream_ == nullptr) return CommitResult::Failed;
  if (target_.empty()) {  // written straight through
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    return closed ? CommitResult::Written : CommitResult::Failed;
  }
  bool ok = std::fflush(stream_) == 0 && createNamed();
  if (ok && holdsSameBytes(target_, fd_)) {
    close();
    return CommitResult::Unchanged;
  }
  ok = ok && fchmod(fd_, modeForNewFile(target_)) == 0;
  // The bytes reach the disk before a name points at them, so a power loss
  // cannot leave the name on an empty or partial file.
  ok = ok && fsync(fd_) == 0;
  if (ok) ok = unnamed_ ? linkUnnamed() : std::rename(tempPath_.c_str(), target_.c_str()) == 0;
  if (ok && !tempPath_.empty()) {
    untrackTempFile(tempPath_);
    tempPath_.clear();  // renamed: there is nothing left to remove
  }
  close();
  if (ok) syncFolder(folder_);
  return ok ? CommitResult::Written : CommitResult::Failed;
}

void AtomicFile::discard() {
  close();
  target_.clear();
  folder_.clear();
  unnamed_ = false;
}

void AtomicFile::close() {
  if (stream_ != nullptr) {
    // Bytes still buffered are dropped rather than written on closing, which
    // would make the named file only to remove it. A commit has flushed them.
    if (!target_.empty()) __fpurge(stream_);
    std::fclose(stream_);
    stream_ = nullptr;
  }
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
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
  return file.commit() != CommitResult::Failed;
}

}  // namespace oz
