#include "store/settings_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "base/text_lines.h"
#include "store/replace_file.h"

namespace oz {
namespace {

// How the file can be used. Only a file that is not there counts as absent:
// one that exists but cannot be opened for writing is never replaced.
SettingsStore::Access probeAccess(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd >= 0) {
    ::close(fd);
    return SettingsStore::Access::kWritable;
  }
  if (errno == ENOENT) return SettingsStore::Access::kAbsent;
  return SettingsStore::Access::kReadOnly;
}

}  // namespace

SettingsStore::~SettingsStore() { close(); }

bool SettingsStore::create(const std::string& path) { return truncateOrCreate(path); }

void SettingsStore::open(const std::string& path) {
  close();
  path_ = path;
  access_ = probeAccess(path);
  std::string bytes;
  if (access_ != Access::kAbsent && readWholeFile(path, &bytes)) {
    document_ = SettingsDocument(parseSettingsText(bytes));
  }
}

bool SettingsStore::close() {
  bool kept = true;
  if (access_ != Access::kClosed && document_.changed()) {
    const bool writable = access_ == Access::kWritable || access_ == Access::kAbsent;
    kept = writable && replaceFile(path_, formatSettingsText(document_.entries()));
  }
  path_.clear();
  access_ = Access::kClosed;
  document_ = SettingsDocument();
  return kept;
}

}  // namespace oz
