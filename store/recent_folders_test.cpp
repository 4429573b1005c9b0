#include "store/recent_folders.h"

#include <gtest/gtest.h>

#include "testsupport/temp_dir.h"

namespace oz {
namespace {

std::vector<std::string> foldersOf(const RecentFolders& list) {
  std::vector<std::string> folders;
  for (const RecentFolder& entry : list) folders.push_back(entry.folder);
  return folders;
}

TEST(RecentFolders, MostRecentFirstOnceEachAtMostEightKeepingWhatWasUsed) {
  RecentFolders list;
  rememberUse(list, {"/f3/", "/out/3.png", "plist", "/out/3.plist"});
  for (const char* folder : {"/f4/", "/f5/", "/f6/", "/f7/", "/f8/", "/f9/", "/f10/"}) {
    rememberFolder(list, folder);
  }
  rememberFolder(list, "/f3/");
  EXPECT_EQ(foldersOf(list), (std::vector<std::string>{"/f3/", "/f10/", "/f9/", "/f8/", "/f7/",
                                                       "/f6/", "/f5/", "/f4/"}));
  EXPECT_EQ(list.front(), (RecentFolder{"/f3/", "/out/3.png", "plist", "/out/3.plist"}));

  rememberFolder(list, "/f11/");
  EXPECT_EQ(list.size(), kMaxRecentFolders);
  EXPECT_EQ(list.back().folder, "/f5/");

  // The settings file could not give these back as they are.
  rememberFolder(list, "/two\nlines/");
  rememberUse(list, {"/f7/", "/out/walk.png ", "plist", "/out/a\rb"});
  EXPECT_EQ(list.front(), (RecentFolder{"/f7/", "", "plist", ""}));
  forgetFolder(list, "/f7/");
  EXPECT_EQ(foldersOf(list),
            (std::vector<std::string>{"/f11/", "/f3/", "/f10/", "/f9/", "/f8/", "/f6/", "/f5/"}));
}

TEST(RecentFolders, TheGroupHoldsExactlyTheListAndReadsBackAsIt) {
  testing::ScopedTempDir dir;
  const std::string path = dir.path() + "OrvaneZozivi.prefs";
  testing::writeFile(path, "[Settings]\nStrip = 1\n");
  SettingsStore store;
  store.open(path);
  const RecentFolders two = {{"/walk/", "/out/walk.png", "JSON Hash", "/out/walk.json"},
                             {"/run=fast/", "", "", ""}};
  writeRecentFolders(store, two);
  EXPECT_EQ(readRecentFolders(store), two);
  writeRecentFolders(store, {two[1]});
  store.close();
  EXPECT_EQ(testing::readFile(path),
            "\xEF\xBB\xBF\n[Settings]\nStrip = 1\n[Recent Folders]\nFolder 1 = /run=fast/\n"
            "Sheet 1 = \nScript 1 = \nScript Path 1 = \n");

  // Edited by hand: a gap ends the list, a repeated folder is read once.
  testing::writeFile(path,
                     "[recent folders]\nFolder 1 = /a/\nFolder 2 = /b/\nFolder 3 = /a/\n"
                     "Sheet 3 = /x.png\nFolder 4 = /c/\nFolder 6 = /d/\n");
  store.open(path);
  EXPECT_EQ(foldersOf(readRecentFolders(store)), (std::vector<std::string>{"/a/", "/b/", "/c/"}));
}

}  // namespace
}  // namespace oz
