#include "store/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "store/sprite_settings.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using testing::fileExists;
using testing::readFile;
using testing::ScopedTempDir;
using testing::writeFile;

constexpr char kMark[] = "\xEF\xBB\xBF\n";

// Runs `check` in a child process, which an alarm ends should it hang; true
// when the check held.
bool holdsInChild(const std::function<bool()>& check) {
  const pid_t child = fork();
  if (child == 0) {
    alarm(10);
    _exit(check() ? 0 : 1);
  }
  int status = -1;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class SettingsStoreTest : public ::testing::Test {
 protected:
  ScopedTempDir dir_;
  std::string path_ = dir_.path() + "OrvaneZozivi.prefs";
  SettingsStore store_;
};

// A first run's untouched file staying empty is checked by the program's first
// run; reading and writing another tool's file in place by the document's tests.
TEST_F(SettingsStoreTest, AbsentFileIsCreatedOnlyWhenSomethingWasWritten) {
  store_.open(path_);
  EXPECT_EQ(store_.access(), SettingsStore::Access::Absent);
  EXPECT_TRUE(store_.close());
  EXPECT_FALSE(fileExists(path_));
  store_.open(path_);
  writeSheetChosen(store_);
  // Opening again first closes, which writes the change.
  store_.open(path_);
  EXPECT_EQ(store_.access(), SettingsStore::Access::Writable);
  EXPECT_FALSE(store_.changed());
  EXPECT_EQ(readFile(path_), std::string(kMark) + "[Settings]\nSheet = 1\nStrip = 0\n");
}

TEST_F(SettingsStoreTest, DestroyingAnOpenStoreWritesItsChanges) {
  {
    SettingsStore store;
    store.open(path_);
    writeDithering(store, true);
  }
  EXPECT_EQ(readFile(path_), std::string(kMark) + "[Settings]\nDithering = 1\n");
}

TEST_F(SettingsStoreTest, ReadOnlyFileKeepsItsContent) {
  writeFile(path_, "[Settings]\nStrip=1\n");
  chmod(path_.c_str(), 0444);
  // Root may write any file, so the store runs in a child process that, as
  // root, gives up its privileges, as an ordinary user's program would.
  chmod(dir_.path().c_str(), 0777);
  EXPECT_TRUE(holdsInChild([this] {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return false;
    SettingsStore store;
    store.open(path_);
    const bool readOnly = store.access() == SettingsStore::Access::ReadOnly;
    const bool strip = readSpriteSettings(store).strip;
    writeSheetChosen(store);
    return readOnly && strip && !store.close();
  }));
  EXPECT_EQ(readFile(path_), "[Settings]\nStrip=1\n");
}

TEST_F(SettingsStoreTest, LinkedFileIsWrittenThroughTheLink) {
  const std::string target = dir_.path() + "elsewhere.prefs";
  writeFile(target, "");
  ASSERT_EQ(symlink(target.c_str(), path_.c_str()), 0);
  store_.open(path_);
  writePinkChosen(store_);
  store_.close();
  struct stat info {};
  EXPECT_TRUE(lstat(path_.c_str(), &info) == 0 && S_ISLNK(info.st_mode));
  EXPECT_EQ(readFile(target), std::string(kMark) + "[Settings]\nPink = 1\nBlack = 0\n");
}

// A FIFO, a device or a huge file in place of the settings file: opened
// without waiting, read as no settings, and never replaced. Each runs in a
// child, so a store that waits fails instead of hanging.
TEST_F(SettingsStoreTest, FileThatIsNoPlainFileOrTooLargeIsLeftAlone) {
  const std::string fifo = dir_.path() + "fifo.prefs";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string zero = dir_.path() + "zero.prefs";
  ASSERT_EQ(symlink("/dev/zero", zero.c_str()), 0);
  const std::string large = dir_.path() + "large.prefs";
  writeFile(large, "[Settings]\nStrip=1\n");
  ASSERT_EQ(truncate(large.c_str(), 65 * 1024 * 1024), 0);  // sparse: costs no disk
  for (const std::string& path : {fifo, zero, large}) {
    EXPECT_TRUE(holdsInChild([&path] {
      SettingsStore store;
      store.open(path);
      const bool leftAlone = store.access() == SettingsStore::Access::ReadOnly &&
                             store.entries().empty() && !readSpriteSettings(store).strip;
      writeRetina(store, true);
      return leftAlone && !store.close();
    })) << path;
  }
  struct stat info {};
  EXPECT_TRUE(lstat(fifo.c_str(), &info) == 0 && S_ISFIFO(info.st_mode));
  EXPECT_TRUE(lstat(zero.c_str(), &info) == 0 && S_ISLNK(info.st_mode));
  EXPECT_TRUE(stat(large.c_str(), &info) == 0 && info.st_size == 65 * 1024 * 1024);
}

}  // namespace
}  // namespace oz
