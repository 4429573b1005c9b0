#include "testsupport/temp_dir.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace oz::testing {

ScopedTempDir::ScopedTempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern =
      std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/oz-test-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = std::string(name.data()) + "/";
}

ScopedTempDir::~ScopedTempDir() {
  std::error_code ignored;
  // Restore permissions that a test may have taken away, so removal succeeds.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    }
  }
  std::filesystem::remove_all(path_, ignored);
}

void writeFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool fileExists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

FileStamp fileStamp(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return {};
  return {info.st_ino, info.st_ctim.tv_sec, info.st_ctim.tv_nsec};
}

std::string deviceNode(const ScopedTempDir& dir, std::string_view name) {
  // The minor numbers of the memory devices, whose major number is 1.
  const unsigned minor = name == "null" ? 3 : name == "zero" ? 5 : 7;
  const std::string own = dir.path() + std::string(name);
  if (mknod(own.c_str(), S_IFCHR | 0666, makedev(1, minor)) == 0) return own;
  return "/dev/" + std::string(name);
}

}  // namespace oz::testing
