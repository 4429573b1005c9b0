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

// What the folder holds while a write is under way, for either kind of
// temporary file.
class AtomicFileTempTest : public AtomicFileTest,
                           public ::testing::WithParamInterface<AtomicFile::Temp> {
 protected:
  std::vector<std::string> entries() const { return *listDirectory(dir_.path()); }
};

INSTANTIATE_TEST_SUITE_P(Kinds, AtomicFileTempTest,
                         ::testing::Values(AtomicFile::Temp::UnnamedWherePossible,
                                           AtomicFile::Temp::Named),
                         [](const auto& kind) {
                           return kind.param == AtomicFile::Temp::Named ? "Named" : "Unnamed";
                         });

TEST_P(AtomicFileTempTest, NoNameAppearsBeforeTheFirstBytesAndNoneStaysAfterTheCommit) {
  const std::string path = dir_.path() + "out.txt";
  testing::writeFile(path, "old");
  AtomicFile file;
  ASSERT_TRUE(file.open(path, GetParam()));
  EXPECT_EQ(entries(), std::vector<std::string>{"out.txt"});
  const std::string bytes(100000, 'n');
  ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file.stream()), bytes.size());
  ASSERT_EQ(std::fflush(file.stream()), 0);
  // Only a named temporary file shows, and only once bytes have reached it.
  EXPECT_EQ(entries().size(), GetParam() == AtomicFile::Temp::Named ? 2u : 1u);
  EXPECT_EQ(testing::readFile(path), "old");
  ASSERT_EQ(file.commit(), CommitResult::Written);
  EXPECT_EQ(entries(), std::vector<std::string>{"out.txt"});
  EXPECT_EQ(testing::readFile(path), bytes);

  // A discarded write leaves the old file and nothing beside it.
  ASSERT_TRUE(file.open(path, GetParam()));
  std::fputs("gone", file.stream());
  std::fflush(file.stream());
  file.discard();
  EXPECT_EQ(entries(), std::vector<std::string>{"out.txt"});
  EXPECT_EQ(testing::readFile(path), bytes);
}

// A file that already holds the bytes keeps its inode and its times, so that
// what watches it sees nothing; a difference anywhere, even in the last byte
// of a file several reads long, replaces it.
TEST_P(AtomicFileTempTest, TheSameBytesLeaveTheFileAsItWasAndAnyDifferenceReplacesIt) {
  const std::string path = dir_.path() + "out.png";
  std::string bytes(200001, 'a');
  bytes[1234] = 'b';
  testing::writeFile(path, bytes);
  const timespec past[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), past, 0), 0);
  const auto statOf = [&] {
    struct stat info {};
    stat(path.c_str(), &info);
    return info;
  };
  const struct stat before = statOf();
  const auto commitBytes = [&](const std::string& content) {
    AtomicFile file;
    EXPECT_TRUE(file.open(path, GetParam()));
    std::fwrite(content.data(), 1, content.size(), file.stream());
    return file.commit();
  };

  EXPECT_EQ(commitBytes(bytes), CommitResult::Unchanged);
  const struct stat kept = statOf();
  EXPECT_EQ(kept.st_ino, before.st_ino);
  EXPECT_EQ(kept.st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_EQ(kept.st_ctim.tv_nsec, before.st_ctim.tv_nsec);
  EXPECT_EQ(entries(), std::vector<std::string>{"out.png"});

  std::string lastByteDiffers = bytes;
  lastByteDiffers.back() = 'z';
  EXPECT_EQ(commitBytes(lastByteDiffers), CommitResult::Written);
  EXPECT_EQ(testing::readFile(path), lastByteDiffers);
  EXPECT_NE(statOf().st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_EQ(commitBytes(lastByteDiffers.substr(1)), CommitResult::Written);
  EXPECT_EQ(testing::readFile(path), lastByteDiffers.substr(1));
  EXPECT_EQ(commitBytes(""), CommitResult::Written);
  EXPECT_EQ(commitBytes(""), CommitResult::Unchanged);
  EXPECT_EQ(entries(), std::vector<std::string>{"out.png"});
}

// The temporary name must fit the folder however long the name is: a name of
// 255 bytes, the most the file system takes, is written new and replaced.
TEST_P(AtomicFileTempTest, NamesOfTheLongestLengthAreWrittenAndReplaced) {
  std::string accented;
  while (accented.size() < 254) accented += "\xc3\xa9";  // é, so a cut could split it
  for (const std::string& name :
       {std::string(245, 'a'), std::string(251, 'b') + ".png", accented + "x"}) {
    ASSERT_LE(name.size(), 255u);
    const std::string path = dir_.path() + name;
    for (const char* content : {"first", "second"}) {
      AtomicFile file;
      ASSERT_TRUE(file.open(path, GetParam())) << name.size();
      std::fputs(content, file.stream());
      ASSERT_EQ(file.commit(), CommitResult::Written) << name.size();
      EXPECT_EQ(testing::readFile(path), content);
    }
    EXPECT_EQ(entries(), std::vector<std::string>{name});
    unlink(path.c_str());
  }
}

TEST_F(AtomicFileTest, FailsInAMissingFolderOrOnADirectoryAndLeavesNothing) {
  EXPECT_FALSE(writeFileAtomically(dir_.path() + "missing/out.txt", "x"));
  AtomicFile named;
  EXPECT_FALSE(named.open(dir_.path() + "missing/out.txt", AtomicFile::Temp::Named));
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
