#include "base/folder_watch.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST_F(FolderWatchTest, SubfoldersAreFollowedAsTheyComeAndGo) {
  const std::string walk = frames_ + "walk/";
  mkdir(walk.c_str(), 0700);
  mkdir((walk + "deeper").c_str(), 0700);
  FolderWatch watch;
  // Already watched, and another folder after it: the same watch follows.
  ASSERT_EQ(watch.watch(frames_, "*.png"), 0);
  ASSERT_EQ(watch.watchFile(templates_ + "t.txt"), 0);
  ASSERT_EQ(watch.watchWithSubfolders(frames_, "*.png"), 0);

  testing::writeFile(walk + "w1.png", "frame");
  EXPECT_TRUE(watch.read().changed);
  // One level only, and a file beside the frames is still no change.
  testing::writeFile(walk + "deeper/d1.png", "frame");
  testing::writeFile(walk + "notes.txt", "text");
  EXPECT_EQ(watch.read(), FolderNews{});

  // A subfolder made is a change, and its frames are watched from then on;
  // so are those of one that a symlink brings in.
  const std::string run = frames_ + "run/";
  mkdir(run.c_str(), 0700);
  EXPECT_TRUE(watch.read().changed);
  testing::writeFile(run + "r1.png", "frame");
  EXPECT_TRUE(watch.read().changed);
  const std::string elsewhere = dir_.path() + "jump/";
  mkdir(elsewhere.c_str(), 0700);
  ASSERT_EQ(symlink(elsewhere.c_str(), (frames_ + "jump").c_str()), 0);
  EXPECT_TRUE(watch.read().changed);
  testing::writeFile(elsewhere + "j1.png", "frame");
  EXPECT_TRUE(watch.read().changed);

  // Renamed, and the old name's frames no longer watched; removed: changes,
  // never a gone folder.
  ASSERT_EQ(std::rename(run.c_str(), (dir_.path() + "run-away").c_str()), 0);
  EXPECT_EQ(watch.read(), (FolderNews{true, {}}));
  testing::writeFile(dir_.path() + "run-away/r2.png", "frame");
  EXPECT_EQ(watch.read(), FolderNews{});
  ASSERT_EQ(unlink((frames_ + "jump").c_str()), 0);
  EXPECT_EQ(watch.read(), (FolderNews{true, {}}));
  testing::writeFile(elsewhere + "j2.png", "frame");
  EXPECT_EQ(watch.read(), FolderNews{});
  ASSERT_EQ(unlink((walk + "w1.png").c_str()), 0);
  ASSERT_EQ(unlink((walk + "notes.txt").c_str()), 0);
  ASSERT_EQ(unlink((walk + "deeper/d1.png").c_str()), 0);
  ASSERT_EQ(rmdir((walk + "deeper").c_str()), 0);
  ASSERT_EQ(rmdir(walk.c_str()), 0);
  EXPECT_EQ(watch.read(), (FolderNews{true, {}}));

  // The image folder itself going still ends the watch.
  ASSERT_EQ(std::rename(frames_.c_str(), (dir_.path() + "moved").c_str()), 0);
  EXPECT_EQ(watch.read().gone, std::vector<std::string>{frames_});
}

}  // namespace
}  // namespace oz
