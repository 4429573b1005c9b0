#include "store/first_run.h"

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "script/example_scripts.h"
#include "store/script_store.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using testing::fileExists;
using testing::readFile;
using testing::ScopedTempDir;
using testing::writeFile;

int permissions(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? static_cast<int>(info.st_mode & 0777) : -1;
}

void expectExamplesInstalled(const SupportDir& dir) {
  for (const ExampleScript& example : exampleScripts()) {
    EXPECT_EQ(readFile(dir.file(example.fileName)), example.text) << example.fileName;
  }
}

TEST(FirstRun, EmptyHomeGetsEveryFolderTheSettingsFileAndTheExamples) {
  ScopedTempDir home;
  const PreparedSupportDir prepared = prepareSupportDir(60000, home.path());
  EXPECT_TRUE(prepared.firstRun);
  EXPECT_EQ(permissions(prepared.dir.path), 0700);
  EXPECT_TRUE(fileExists(prepared.dir.settingsPath()));
  EXPECT_EQ(readFile(prepared.dir.settingsPath()), "");
  expectExamplesInstalled(prepared.dir);
  EXPECT_EQ(listScripts(prepared.dir).size(), 5u);

  EXPECT_FALSE(prepareSupportDir(60000, home.path()).firstRun);
}

TEST(FirstRun, MissingSettingsFileReseedsExamplesAndKeepsOtherScripts) {
  ScopedTempDir home;
  const SupportDir dir = prepareSupportDir(60000, home.path()).dir;
  std::remove(dir.settingsPath().c_str());
  writeFile(dir.file("HTML5.txt"), "edited\n");
  writeFile(dir.file("mine.txt"), "my own\n");

  EXPECT_TRUE(prepareSupportDir(60000, home.path()).firstRun);
  EXPECT_EQ(readFile(dir.settingsPath()), "");
  expectExamplesInstalled(dir);
  EXPECT_EQ(readFile(dir.file("mine.txt")), "my own\n");
}

// An existing empty settings file is the first test's second run.
TEST(FirstRun, AFolderInPlaceOfTheSettingsFileIsNoFirstRun) {
  ScopedTempDir home;
  const SupportDir dir = supportDirFor(60000, home.path());
  std::filesystem::create_directories(dir.settingsPath());
  EXPECT_FALSE(prepareSupportDir(60000, home.path()).firstRun);
  EXPECT_EQ(listScripts(dir), std::vector<std::string>{});
}

// Another copy of the program takes an existing settings file to mean that
// seeding is done, so the settings file must be the last name to appear.
TEST(FirstRun, TheSettingsFileAppearsOnlyOnceEveryExampleIsInPlace) {
  ScopedTempDir home;
  const SupportDir dir = supportDirFor(60000, home.path());
  std::filesystem::create_directories(dir.path);
  const int watch = inotify_init1(IN_NONBLOCK);
  ASSERT_GE(watch, 0);
  ASSERT_GE(inotify_add_watch(watch, dir.path.c_str(), IN_CREATE | IN_MOVED_TO), 0);
  ASSERT_TRUE(prepareSupportDir(60000, home.path()).firstRun);

  std::vector<std::string> appeared;
  alignas(inotify_event) char events[16 * 1024];
  for (ssize_t got; (got = read(watch, events, sizeof events)) > 0;) {
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(events + at);
      const std::string name = event->name;
      if (name.find(".tmp.") == std::string::npos) appeared.push_back(name);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  close(watch);
  ASSERT_EQ(appeared.size(), exampleScripts().size() + 1);
  EXPECT_EQ(appeared.back(), "OrvaneZozivi.prefs");
}

TEST(FirstRun, AMissingHomeIsNotCreatedAndFailuresAreSilent) {
  ScopedTempDir parent;
  const std::string home = parent.path() + "gone/";
  const PreparedSupportDir prepared = prepareSupportDir(60000, home);
  EXPECT_TRUE(prepared.firstRun);
  EXPECT_FALSE(fileExists(home));
}

}  // namespace
}  // namespace oz
