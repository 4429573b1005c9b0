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

}  // namespace oz::testing
