#include "store/script_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "base/dir_listing.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using testing::fileExists;
using testing::readFile;
using testing::writeFile;
using Lines = std::vector<std::string>;

class ScriptStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { mkdir(dir_.path.c_str(), 0700); }

  testing::ScopedTempDir home_;
  SupportDir dir_{home_.path() + "support/"};
};

TEST_F(ScriptStoreTest, ListsTxtEntriesLessTheirSuffixInDirectoryOrder) {
  for (const char* name : {"plist.txt", "HTML5.txt", "readme.TXT", "old.txt.bak", ".notes.txt",
                           "a.txt.txt", "..txt", ".txt", "walk10.txt", "walk2.txt"}) {
    writeFile(dir_.file(name), "");
  }
  mkdir(dir_.file("folder.txt").c_str(), 0700);
  EXPECT_EQ(listScripts(dir_),
            (Lines{".notes", "HTML5", "a.txt", "folder", "plist", "walk2", "walk10"}));
  EXPECT_EQ(scriptPath(dir_, "a.txt"), dir_.file("a.txt.txt"));
  EXPECT_TRUE(listScripts(SupportDir{home_.path() + "missing/"}).empty());
}

// Reading and writing lines are checked through the script editor, which shows
// a file's bytes and saves them back.
TEST_F(ScriptStoreTest, CreateCutsDeleteRemovesAndFailuresAreReported) {
  writeFile(dir_.file(" spaced .txt"), "old");
  EXPECT_EQ(createEmptyScript(dir_, " spaced "), ScriptResult::Ok);
  EXPECT_EQ(readFile(dir_.file(" spaced .txt")), "");
  EXPECT_EQ(deleteScriptFile(dir_, " spaced "), ScriptResult::Ok);
  EXPECT_FALSE(scriptExists(dir_, " spaced "));
  EXPECT_EQ(deleteScriptFile(dir_, " spaced "), ScriptResult::Failed);
  Lines lines;
  EXPECT_EQ(readScriptLines(dir_, "gone", &lines), ScriptResult::Failed);

  const SupportDir missing{home_.path() + "missing/"};
  EXPECT_EQ(writeScriptLines(missing, "s", {"a"}), ScriptResult::Failed);
  EXPECT_EQ(createEmptyScript(missing, "s"), ScriptResult::Failed);
  EXPECT_FALSE(fileExists(missing.path));
}

TEST_F(ScriptStoreTest, RefusedNamesNeverReachTheFileSystem) {
  writeFile(home_.path() + "outside.txt", "keep");
  for (std::string_view name :
       {std::string_view(""), std::string_view("."), std::string_view(".."),
        std::string_view("../outside"), std::string_view("a/b"), std::string_view("nul\0.x", 6)}) {
    Lines lines;
    EXPECT_FALSE(isValidScriptName(name));
    EXPECT_EQ(scriptPath(dir_, name), std::nullopt);
    EXPECT_FALSE(scriptExists(dir_, name));
    EXPECT_EQ(readScriptLines(dir_, name, &lines), ScriptResult::BadName);
    EXPECT_EQ(writeScriptLines(dir_, name, {"x"}), ScriptResult::BadName);
    EXPECT_EQ(createEmptyScript(dir_, name), ScriptResult::BadName);
    EXPECT_EQ(deleteScriptFile(dir_, name), ScriptResult::BadName);
  }
  EXPECT_EQ(readFile(home_.path() + "outside.txt"), "keep");
  EXPECT_EQ(listDirectory(dir_.path), Lines{});
}

}  // namespace
}  // namespace oz
