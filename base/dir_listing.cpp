#include "base/dir_listing.h"

#include <dirent.h>
#include <fnmatch.h>

#include <cstdlib>
#include <cstring>

namespace oz {

std::optional<std::vector<std::string>> listDirectory(const std::string& dir) {
  dirent** entries = nullptr;
  const int count = scandir(dir.c_str(), &entries, nullptr, versionsort);
  if (count < 0) return std::nullopt;
  std::vector<std::string> names;
  names.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const char* name = entries[i]->d_name;
    if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0) names.emplace_back(name);
    std::free(entries[i]);
  }
  std::free(entries);
  return names;
}

std::vector<std::string> listMatching(const std::string& dir, const char* pattern) {
  std::vector<std::string> matching;
  if (auto names = listDirectory(dir)) {
    for (auto& name : *names) {
      if (fnmatch(pattern, name.c_str(), FNM_PATHNAME) == 0) matching.push_back(std::move(name));
    }
  }
  return matching;
}

}  // namespace oz
