#include "base/atomic_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "base/dir_listing.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

TEST(AtomicFile, ReplacesContentAndLeavesNoTemporaryFile) {
  testing::ScopedTempDir dir;
  const std::string path = dir.path() + "out.txt";
  testing::writeFile(path, "old content that is longer");
  ASSERT_TRUE(writeFileAtomically(path, "new"));
  EXPECT_EQ(testing::readFile(path), "new");
  EXPECT_EQ(listDirectory(dir.path())->size(), 1u);
}

TEST(AtomicFile, DiscardKeepsTheOldFileWhole) {
  testing::ScopedTempDir dir;
  const std::string path = dir.path() + "out.txt";
  testing::writeFile(path, "old");
  {
    AtomicFile file;
    ASSERT_TRUE(file.open(path));
    std::fputs("partial", file.stream());
  }  // destroyed without commit
  EXPECT_EQ(testing::readFile(path), "old");
  EXPECT_EQ(listDirectory(dir.path())->size(), 1u);
}

TEST(AtomicFile, KeepsThePermissionsOfTheReplacedFile) {
  testing::ScopedTempDir dir;
  const std::string path = dir.path() + "out.txt";
  testing::writeFile(path, "old");
  chmod(path.c_str(), 0640);
  ASSERT_TRUE(writeFileAtomically(path, "new"));
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(AtomicFile, FailsInAMissingFolderOrOnADirectoryAndLeavesNothing) {
  testing::ScopedTempDir dir;
  EXPECT_FALSE(writeFileAtomically(dir.path() + "missing/out.txt", "x"));
  EXPECT_FALSE(writeFileAtomically("", "x"));
  mkdir((dir.path() + "taken").c_str(), 0700);
  EXPECT_FALSE(writeFileAtomically(dir.path() + "taken", "x"));
  EXPECT_EQ(*listDirectory(dir.path()), std::vector<std::string>{"taken"});
}

}  // namespace
}  // namespace oz
