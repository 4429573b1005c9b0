// Shared fixtures for tests: a temporary directory removed with its contents,
// and small file helpers.
#pragma once

#include <string>
#include <string_view>

namespace oz::testing {

class ScopedTempDir {
 public:
  ScopedTempDir();
  ~ScopedTempDir();
  ScopedTempDir(const ScopedTempDir&) = delete;
  ScopedTempDir& operator=(const ScopedTempDir&) = delete;

  // The directory's path, ending in "/".
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

void writeFile(const std::string& path, std::string_view bytes);
// The file's bytes; empty when it cannot be read.
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

// What `stat` tells of a file that changes whenever it is written or
// replaced: its inode and its status-change time (which, unlike the
// modification time, no program can set back). Zero for a missing file.
struct FileStamp {
  unsigned long inode = 0;
  long changedSeconds = 0;
  long changedNanoseconds = 0;
  bool operator==(const FileStamp&) const = default;
};
FileStamp fileStamp(const std::string& path);

// A character device that acts as /dev/NAME ("null", "zero" or "full"): a node
// of its own in `dir` where the process may make one (as root), else the
// system's. A fault that replaced the device then harms only the test's node.
std::string deviceNode(const ScopedTempDir& dir, std::string_view name);

}  // namespace oz::testing
