#include "base/folder_watch.h"

#include <poll.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include <gtest/gtest.h>

#include "testsupport/temp_dir.h"

namespace oz {
namespace {

bool readable(const FolderWatch& watch) {
  pollfd ready{watch.descriptor(), POLLIN, 0};
  return poll(&ready, 1, 0) == 1;
}

// inotify queues an event as the change is made, so each check reads at once.
class FolderWatchTest : public ::testing::Test {
 protected:
  FolderWatchTest() {
    mkdir(frames_.c_str(), 0700);
    mkdir(templates_.c_str(), 0700);
  }

  testing::ScopedTempDir dir_;
  const std::string frames_ = dir_.path() + "frames/";
  const std::string templates_ = dir_.path() + "templates/";
};

TEST_F(FolderWatchTest, OnlyTheEntriesWatchedForCount) {
  FolderWatch watch;
  ASSERT_EQ(watch.watch(frames_, "*.png"), 0);
  ASSERT_EQ(watch.watchFile(templates_ + "[draft] *.txt"), 0);
  EXPECT_FALSE(readable(watch));

  // What is written beside the frames, and a template's look-alike, are no change.
  testing::writeFile(frames_ + "walk.plist", "script");
  testing::writeFile(frames_ + "walk.png.tmp", "half");
  testing::writeFile(templates_ + "[draft] x.txt", "other");
  EXPECT_TRUE(readable(watch));
  EXPECT_EQ(watch.read(), FolderNews{});
  EXPECT_FALSE(readable(watch));

  // A frame renamed into place, one rewritten in place, one removed.
  ASSERT_EQ(std::rename((frames_ + "walk.png.tmp").c_str(), (frames_ + "walk.png").c_str()), 0);
  EXPECT_TRUE(watch.read().changed);
  testing::writeFile(frames_ + "walk.png", "new");
  EXPECT_TRUE(watch.read().changed);
  ASSERT_EQ(unlink((frames_ + "walk.png").c_str()), 0);
  EXPECT_TRUE(watch.read().changed);
  EXPECT_EQ(watch.read(), FolderNews{});

  // The template saved by rename over it.
  testing::writeFile(templates_ + "new", "t");
  ASSERT_EQ(std::rename((templates_ + "new").c_str(), (templates_ + "[draft] *.txt").c_str()), 0);
  EXPECT_TRUE(watch.read().changed);
}

TEST_F(FolderWatchTest, AFolderRemovedOrRenamedIsGoneAndOneMissingCannotBeWatched) {
  FolderWatch watch;
  ASSERT_EQ(watch.watch(frames_, "*.png"), 0);
  ASSERT_EQ(watch.watch(templates_, "a.txt"), 0);
  ASSERT_EQ(watch.watch(templates_, "b.txt"), 0);  // the same folder once more
  ASSERT_EQ(std::rename(frames_.c_str(), (dir_.path() + "moved").c_str()), 0);
  ASSERT_EQ(rmdir(templates_.c_str()), 0);
  const FolderNews news = watch.read();
  EXPECT_EQ(news.gone, (std::vector<std::string>{frames_, templates_}));

  EXPECT_EQ(watch.watch(dir_.path() + "missing/", "*.png"), ENOENT);
  testing::writeFile(dir_.path() + "file", "");
  EXPECT_EQ(watch.watch(dir_.path() + "file", "*.png"), ENOTDIR);
}

}  // namespace
}  // namespace oz
