// Where the program keeps what it remembers between runs: the per-user
// support directory, chosen by the operating-system version code and the
// user's home directory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace oz {

// The settings file's name inside the support directory.
inline constexpr std::string_view kSettingsFileName = "OrvaneZozivi.prefs";

// Version codes: 10000 + 100 × minor for 10.0 … 10.8, and 60000 for anything later.
inline constexpr int kVersionCodeFallback = 10000;
inline constexpr int kVersionCodeLatest = 60000;

// Maps the platform's packed version 0x10MN (M minor, N patch) to a version
// code: 0x1090 and above → 60000, 0x10M0–0x10MF → 10000 + 100 × M for M 1..8,
// anything lower and a failed query (nullopt) → 10000.
int versionCodeFromPacked(std::optional<std::uint32_t> packed);

// The version code of the platform this program was built for.
int thisPlatformVersionCode();

// True when `versionCode` selects the short path (10.7 and later).
bool usesShortPath(int versionCode);

// The home directory as stored in `homeVariable` (the value of $HOME, or
// nullptr when unset), ending in "/"; empty when unknown, so that paths built
// from it become relative to the working directory.
std::string homeDirectoryFrom(const char* homeVariable);
// The current user's home directory, from $HOME.
std::string homeDirectory();

struct SupportDir {
  std::string path;  // home + relative path, always ending in "/"

  // `path` followed by the bare file name.
  std::string file(std::string_view name) const { return path + std::string(name); }
  std::string settingsPath() const { return file(kSettingsFileName); }
};

// "Library/Application Support/Orvane Zozivi/" under `home` for the short
// path, "Library/Application Support/Halvick/Orvane Zozivi/" for the long one.
SupportDir supportDirFor(int versionCode, std::string_view home);

}  // namespace oz
