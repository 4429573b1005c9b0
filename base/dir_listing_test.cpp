#include "base/dir_listing.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using Names = std::vector<std::string>;

TEST(DirListing, SortsByVersionSoNumberedFramesKeepTheirOrder) {
  testing::ScopedTempDir dir;
  for (const char* name : {"walk10.png", "walk2.png", "walk1.png", "a.png"}) {
    testing::writeFile(dir.path() + name, "");
  }
  EXPECT_EQ(*listDirectory(dir.path()), (Names{"a.png", "walk1.png", "walk2.png", "walk10.png"}));
}

TEST(DirListing, MatchesCaseSensitivelyAndTakesLeadingPeriods) {
  testing::ScopedTempDir dir;
  for (const char* name : {"a.png", "b.PNG", "._a.png", "c.png.bak"}) {
    testing::writeFile(dir.path() + name, "");
  }
  mkdir((dir.path() + "d.png").c_str(), 0700);
  EXPECT_EQ(listMatching(dir.path(), "*.png"), (Names{"._a.png", "a.png", "d.png"}));
}

TEST(DirListing, MissingDirectoryIsNulloptAndMatchesNothing) {
  EXPECT_FALSE(listDirectory("/nonexistent-oz-dir/").has_value());
  EXPECT_TRUE(listMatching("/nonexistent-oz-dir/", "*").empty());
}

}  // namespace
}  // namespace oz
