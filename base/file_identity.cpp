#include "base/file_identity.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace oz {
namespace {

namespace fs = std::filesystem;

// A chain of links longer than this is a loop, as the kernel's limit says.
constexpr int kMostLinks = 40;

// Where a file that does not exist would be made: the existing part of the
// path resolved, the rest taken lexically, a dangling link followed.
std::string pathToCreate(fs::path path) {
  std::error_code error;
  for (int links = 0; links < kMostLinks; ++links) {
    if (path.is_relative()) path = fs::current_path(error) / path;
    if (!fs::is_symlink(fs::symlink_status(path, error))) break;
    const fs::path target = fs::read_symlink(path, error);
    if (error) break;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  const fs::path resolved = fs::weakly_canonical(path, error);
  return (error ? path.lexically_normal() : resolved).string();
}

}  // namespace

FileIdentity identifyFile(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) == 0) return {info.st_dev, info.st_ino, {}};
  return {0, 0, pathToCreate(path)};
}

std::optional<FileIdentity> writtenFileIdentity(const std::string& path) {
  if (path.empty()) return std::nullopt;
  struct stat info {};
  if (stat(path.c_str(), &info) == 0) {
    if (S_ISCHR(info.st_mode)) return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino, {}};
  }
  return FileIdentity{0, 0, pathToCreate(path)};
}

bool namesSameFile(const std::string& written, const std::string& other) {
  const std::optional<FileIdentity> identity = writtenFileIdentity(written);
  return identity && !other.empty() && *identity == identifyFile(other);
}

}  // namespace oz
