#include "store/support_dir.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

TEST(VersionCode, PackedVersionsMapToTheTable) {
  const struct {
    std::optional<std::uint32_t> packed;
    int code;
  } cases[] = {
      {std::nullopt, 10000}, {0x0FFF, 10000}, {0x1000, 10000}, {0x100F, 10000}, {0x1010, 10100},
      {0x1049, 10400},       {0x1060, 10600}, {0x106F, 10600}, {0x1070, 10700}, {0x1085, 10800},
      {0x108F, 10800},       {0x1090, 60000}, {0x10A3, 60000}, {0xFFFF, 60000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(versionCodeFromPacked(c.packed), c.code) << std::hex << c.packed.value_or(0);
  }
}

TEST(VersionCode, OnlyTenSevenAndLaterUseTheShortPath) {
  for (int code = 10000; code <= 10600; code += 100) EXPECT_FALSE(usesShortPath(code)) << code;
  for (int code : {10700, 10800, 60000}) EXPECT_TRUE(usesShortPath(code)) << code;
}

TEST(SupportDirPath, ShortAndLongPathsUnderHome) {
  EXPECT_EQ(supportDirFor(10700, "/h/").path, "/h/Library/Application Support/Orvane Zozivi/");
  EXPECT_EQ(supportDirFor(10600, "/h/").path,
            "/h/Library/Application Support/Halvick/Orvane Zozivi/");
  // An unknown home leaves the path relative to the working directory.
  EXPECT_EQ(supportDirFor(60000, "").settingsPath(),
            "Library/Application Support/Orvane Zozivi/OrvaneZozivi.prefs");
  // This platform keeps the short path of every current system.
  EXPECT_EQ(supportDirFor(thisPlatformVersionCode(), "/h/").path, supportDirFor(60000, "/h/").path);
}

TEST(SupportDirPath, HomeAlwaysEndsInSlashOrIsEmpty) {
  EXPECT_EQ(homeDirectoryFrom(nullptr), "");
  EXPECT_EQ(homeDirectoryFrom(""), "");
  EXPECT_EQ(homeDirectoryFrom("/home/ann"), "/home/ann/");
  EXPECT_EQ(homeDirectoryFrom("/home/ann/"), "/home/ann/");
  EXPECT_EQ(homeDirectoryFrom("/"), "/");
}

}  // namespace
}  // namespace oz
