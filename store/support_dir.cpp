#include "store/support_dir.h"

#include <cstdlib>

namespace oz {
namespace {

constexpr std::string_view kShortPath = "Library/Application Support/Orvane Zozivi/";
constexpr std::string_view kLongPath = "Library/Application Support/Halvick/Orvane Zozivi/";

}  // namespace

int versionCodeFromPacked(std::optional<std::uint32_t> packed) {
  if (!packed || *packed < 0x1010) return kVersionCodeFallback;
  if (*packed >= 0x1090) return kVersionCodeLatest;
  const int minor = static_cast<int>((*packed >> 4) & 0xF);
  return 10000 + 100 * minor;
}

// This platform has no version in the 10.x numbering. It is a current system,
// so it takes the code of "any version after 10.8", which keeps the short path
// that every current system uses.
int thisPlatformVersionCode() { return kVersionCodeLatest; }

bool usesShortPath(int versionCode) {
  return versionCode == 10700 || versionCode == 10800 || versionCode == kVersionCodeLatest;
}

std::string homeDirectoryFrom(const char* homeVariable) {
  if (homeVariable == nullptr || *homeVariable == '\0') return {};
  std::string home(homeVariable);
  if (home.back() != '/') home += '/';
  return home;
}

std::string homeDirectory() { return homeDirectoryFrom(std::getenv("HOME")); }

SupportDir supportDirFor(int versionCode, std::string_view home) {
  return SupportDir{std::string(home) +
                    std::string(usesShortPath(versionCode) ? kShortPath : kLongPath)};
}

}  // namespace oz
