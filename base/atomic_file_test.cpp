#include "base/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/dir_listing.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

TEST(AtomicFile, ReplacesContentKeepsPermissionsAndLeavesNoTemporaryFile) {
  testing::ScopedTempDir dir;
  const std::string path = dir.path() + "out.txt";
  testing::writeFile(path, "old content that is longer");
  chmod(path.c_str(), 0640);
  ASSERT_TRUE(writeFileAtomically(path, "new"));
  EXPECT_EQ(testing::readFile(path), "new");
  EXPECT_EQ(listDirectory(dir.path())->size(), 1u);
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
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

TEST(AtomicFile, FailsInAMissingFolderOrOnADirectoryAndLeavesNothing) {
  testing::ScopedTempDir dir;
  EXPECT_FALSE(writeFileAtomically(dir.path() + "missing/out.txt", "x"));
  EXPECT_FALSE(writeFileAtomically("", "x"));
  mkdir((dir.path() + "taken").c_str(), 0700);
  EXPECT_FALSE(writeFileAtomically(dir.path() + "taken", "x"));
  EXPECT_EQ(*listDirectory(dir.path()), std::vector<std::string>{"taken"});
}

TEST(AtomicFile, LinksAreFollowedToTheFileTheyNameAndStay) {
  testing::ScopedTempDir dir;
  mkdir((dir.path() + "real").c_str(), 0700);
  mkdir((dir.path() + "links").c_str(), 0700);
  const std::string target = dir.path() + "real/out.txt";
  testing::writeFile(target, "old");
  // A relative link to an absolute one to the file.
  ASSERT_EQ(symlink(target.c_str(), (dir.path() + "links/absolute").c_str()), 0);
  ASSERT_EQ(symlink("absolute", (dir.path() + "links/relative").c_str()), 0);
  ASSERT_TRUE(writeFileAtomically(dir.path() + "links/relative", "new"));
  EXPECT_EQ(testing::readFile(target), "new");
  EXPECT_EQ(*listDirectory(dir.path() + "real"), std::vector<std::string>{"out.txt"});
  EXPECT_EQ(listDirectory(dir.path() + "links")->size(), 2u);
  struct stat info {};
  ASSERT_EQ(lstat((dir.path() + "links/relative").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));

  // A dangling link makes the file it names; a loop of links is refused.
  ASSERT_EQ(symlink("real/made.txt", (dir.path() + "dangling").c_str()), 0);
  ASSERT_TRUE(writeFileAtomically(dir.path() + "dangling", "made"));
  EXPECT_EQ(testing::readFile(dir.path() + "real/made.txt"), "made");
  ASSERT_EQ(symlink("loop", (dir.path() + "loop").c_str()), 0);
  EXPECT_FALSE(writeFileAtomically(dir.path() + "loop", "x"));
}

TEST(AtomicFile, AFifoIsWrittenStraightThroughAndStaysAFifo) {
  testing::ScopedTempDir dir;
  const std::string fifo = dir.path() + "pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  ASSERT_TRUE(writeFileAtomically(fifo, "through"));
  char got[16] = {};
  EXPECT_EQ(read(reader, got, sizeof got), 7);
  EXPECT_STREQ(got, "through");
  close(reader);
  struct stat info {};
  ASSERT_EQ(lstat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  EXPECT_EQ(listDirectory(dir.path())->size(), 1u);
}

TEST(AtomicFile, DevicesAreWrittenStraightThroughAndTheirFailuresReported) {
  testing::ScopedTempDir dir;
  const std::string null = testing::deviceNode(dir, "null");
  const std::string full = testing::deviceNode(dir, "full");
  EXPECT_TRUE(writeFileAtomically(null, "gone"));
  EXPECT_FALSE(writeFileAtomically(full, "no room"));
  for (const std::string& path : {null, full}) {
    struct stat info {};
    ASSERT_EQ(lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode)) << path;
  }
  EXPECT_LE(listDirectory(dir.path())->size(), 2u);
}

}  // namespace
}  // namespace oz
