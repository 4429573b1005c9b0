#include "base/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/dir_listing.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

// The mode of what `path` names itself, links not followed; 0 when it is missing.
mode_t modeOf(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}

class AtomicFileTest : public ::testing::Test {
 protected:
  testing::ScopedTempDir dir_;
};

TEST_F(AtomicFileTest, ReplacesContentKeepsPermissionsAndLeavesNoTemporaryFile) {
  const std::string path = dir_.path() + "out.txt";
  testing::writeFile(path, "old content that is longer");
  chmod(path.c_str(), 0640);
  ASSERT_TRUE(writeFileAtomically(path, "new"));
  EXPECT_EQ(testing::readFile(path), "new");
  EXPECT_EQ(listDirectory(dir_.path())->size(), 1u);
  EXPECT_EQ(modeOf(path) & 0777, 0640u);
}

TEST_F(AtomicFileTest, FailsInAMissingFolderOrOnADirectoryAndLeavesNothing) {
  EXPECT_FALSE(writeFileAtomically(dir_.path() + "missing/out.txt", "x"));
  EXPECT_FALSE(writeFileAtomically("", "x"));
  mkdir((dir_.path() + "taken").c_str(), 0700);
  EXPECT_FALSE(writeFileAtomically(dir_.path() + "taken", "x"));
  EXPECT_EQ(*listDirectory(dir_.path()), std::vector<std::string>{"taken"});
}

TEST_F(AtomicFileTest, LinksAreFollowedToTheFileTheyNameAndStay) {
  mkdir((dir_.path() + "real").c_str(), 0700);
  mkdir((dir_.path() + "links").c_str(), 0700);
  const std::string target = dir_.path() + "real/out.txt";
  testing::writeFile(target, "old");
  // A relative link to an absolute one to the file.
  ASSERT_EQ(symlink(target.c_str(), (dir_.path() + "links/absolute").c_str()), 0);
  ASSERT_EQ(symlink("absolute", (dir_.path() + "links/relative").c_str()), 0);
  ASSERT_TRUE(writeFileAtomically(dir_.path() + "links/relative", "new"));
  EXPECT_EQ(testing::readFile(target), "new");
  EXPECT_EQ(*listDirectory(dir_.path() + "real"), std::vector<std::string>{"out.txt"});
  EXPECT_EQ(listDirectory(dir_.path() + "links")->size(), 2u);
  EXPECT_TRUE(S_ISLNK(modeOf(dir_.path() + "links/relative")));

  // A dangling link makes the file it names; a loop of links is refused.
  ASSERT_EQ(symlink("real/made.txt", (dir_.path() + "dangling").c_str()), 0);
  ASSERT_TRUE(writeFileAtomically(dir_.path() + "dangling", "made"));
  EXPECT_EQ(testing::readFile(dir_.path() + "real/made.txt"), "made");
  ASSERT_EQ(symlink("loop", (dir_.path() + "loop").c_str()), 0);
  EXPECT_FALSE(writeFileAtomically(dir_.path() + "loop", "x"));
}

TEST_F(AtomicFileTest, AFifoIsWrittenStraightThroughAndStaysAFifo) {
  const std::string fifo = dir_.path() + "pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  ASSERT_TRUE(writeFileAtomically(fifo, "through"));
  char got[16] = {};
  EXPECT_EQ(read(reader, got, sizeof got), 7);
  EXPECT_STREQ(got, "through");
  close(reader);
  EXPECT_TRUE(S_ISFIFO(modeOf(fifo)));
  EXPECT_EQ(listDirectory(dir_.path())->size(), 1u);
}

TEST_F(AtomicFileTest, DevicesAreWrittenStraightThroughAndTheirFailuresReported) {
  const std::string null = testing::deviceNode(dir_, "null");
  const std::string full = testing::deviceNode(dir_, "full");
  EXPECT_TRUE(writeFileAtomically(null, "gone"));
  EXPECT_FALSE(writeFileAtomically(full, "no room"));
  EXPECT_TRUE(S_ISCHR(modeOf(null)));
  EXPECT_TRUE(S_ISCHR(modeOf(full)));
  EXPECT_LE(listDirectory(dir_.path())->size(), 2u);
}

}  // namespace
}  // namespace oz
