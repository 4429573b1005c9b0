#include "store/settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/atomic_file.h"
#include "base/text_lines.h"
#include "store/empty_file.h"

namespace oz {
namespace {

// How the file can be used. Only a file that is not there counts as absent:
// one that exists but cannot be opened for writing, or is no plain file (a
// FIFO, a device), is never replaced. The open does not wait, so a FIFO
// cannot hold up the start.
SettingsStore::Access probeAccess(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd >= 0) {
    struct stat info {};
    const bool plain = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    return plain ? SettingsStore::Access::Writable : SettingsStore::Access::ReadOnly;
  }
  if (errno == ENOENT) return SettingsStore::Access::Absent;
  return SettingsStore::Access::ReadOnly;
}

}  // namespace

SettingsStore::~SettingsStore() { close(); }

bool SettingsStore::create(const std::string& path) { return truncateOrCreate(path); }

void SettingsStore::open(const std::string& path) {
  close();
  path_ = path;
  access_ = probeAccess(path);
  if (access_ == Access::Absent) return;
  std::string bytes;
  if (readWholeFile(path, &bytes)) {
    document_ = SettingsDocument(parseSettingsText(bytes));
  } else {
    // Rewriting a file that could not be read (too large, no plain file)
    // would lose what it holds: it is left alone.
    access_ = Access::ReadOnly;
  }
}

bool SettingsStore::close() {
  bool kept = true;
  if (access_ != Access::Closed && document_.changed()) {
    const bool writable = access_ == Access::Writable || access_ == Access::Absent;
    kept = writable && writeFileAtomically(path_, formatSettingsText(document_.entries()));
  }
  path_.clear();
  access_ = Access::Closed;
  document_ = SettingsDocument();
  return kept;
}

}  // namespace oz
