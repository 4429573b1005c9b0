#include "sheet/animation_scan.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using Names = std::vector<std::string>;

// The scan lists names only: the frames need no pixels.
class AnimationScanTest : public ::testing::Test {
 protected:
  AnimationScanTest() { mkdir(folder().c_str(), 0755); }

  std::string folder() const { return dir_.path() + "hero/"; }
  void files(const Names& paths) {
    for (const std::string& path : paths) {
      const size_t slash = path.rfind('/');
      if (slash != std::string::npos) mkdir((folder() + path.substr(0, slash)).c_str(), 0755);
      testing::writeFile(folder() + path, "");
    }
  }
  void subfolder(const std::string& name) { mkdir((folder() + name).c_str(), 0755); }
  void link(const std::string& target, const std::string& name) {
    ASSERT_EQ(symlink(target.c_str(), (folder() + name).c_str()), 0);
  }

  testing::ScopedTempDir dir_;
};

TEST_F(AnimationScanTest, SubfoldersInNaturalOrderAfterTheFolderOwnFrames) {
  files({"walk10/b.png", "walk10/a.png", "walk2/f10.png", "walk2/f9.png", "top.png",
         "walk2/notes.txt", "walk2/x.PNG", "readme.txt", "z.png"});
  const FolderFrames scanned = scanFolderFrames(folder(), AnimationSource::Folders);
  EXPECT_EQ(scanned.names, (Names{"top.png", "z.png", "walk2/f9.png", "walk2/f10.png",
                                  "walk10/a.png", "walk10/b.png"}));
  EXPECT_EQ(scanned.animations, (AnimationList{{"hero", 0, 2}, {"walk2", 2, 2}, {"walk10", 4, 2}}));
  EXPECT_TRUE(scanned.notes.empty());
}

// Nothing is left out without a note: subfolders without frames, folders
// below a subfolder that hold frames, and links that lead nowhere.
TEST_F(AnimationScanTest, WhatGivesNoAnimationIsNoted) {
  files({"walk/w1.png", "walk/left/l1.png", "walk/empty/readme.txt", "run/r1.png",
         "idle/readme.txt", "idle/deeper/d1.png"});
  subfolder("blank");
  link("nowhere", "gone");
  link("circle", "circle");
  const FolderFrames scanned = scanFolderFrames(folder(), AnimationSource::Folders);
  EXPECT_EQ(scanned.names, (Names{"run/r1.png", "walk/w1.png"}));
  EXPECT_EQ(scanned.animations, (AnimationList{{"run", 0, 1}, {"walk", 1, 1}}));
  EXPECT_EQ(scanned.notes, (std::vector<BuildNote>{
                               {BuildNoteKind::EmptySubfolders, {"blank", "idle"}},
                               {BuildNoteKind::UnreadableSubfolders, {"circle", "gone"}},
                               {BuildNoteKind::DeeperFolders, {"idle/deeper", "walk/left"}},
                           }));
  // Without frames anywhere the build has none, and refuses as it always did.
  const FolderFrames none = scanFolderFrames(dir_.path() + "hero/blank/", AnimationSource::Folders);
  EXPECT_TRUE(none.names.empty());
  EXPECT_TRUE(none.animations.empty());
}

// A symlinked subfolder is read as any other; one that leads back up is read
// one level and no further, so a loop ends.
TEST_F(AnimationScanTest, SymlinkedSubfoldersAreReadOneLevelDeep) {
  files({"own.png", "walk/w1.png"});
  mkdir((dir_.path() + "elsewhere").c_str(), 0755);
  testing::writeFile(dir_.path() + "elsewhere/e1.png", "");
  link("../elsewhere", "linked");
  link(".", "self");
  const FolderFrames scanned = scanFolderFrames(folder(), AnimationSource::Folders);
  EXPECT_EQ(scanned.names, (Names{"own.png", "linked/e1.png", "self/own.png", "walk/w1.png"}));
  EXPECT_EQ(scanned.animations.size(), 4U);
  EXPECT_EQ(scanned.notes, (std::vector<BuildNote>{{BuildNoteKind::DeeperFolders,
                                                    {"self/linked", "self/self", "self/walk"}}}));
}

TEST_F(AnimationScanTest, PrefixesGroupFramesInTheOrderOfTheirFirstFrames) {
  files({"walk_01.png", "walk-2.png", "walk3.png", "idle.png", "run_9.png", "run_10.png", "07.png",
         "08.png", "a.png.png", "jump.png", "jump_1.png"});
  const FolderFrames scanned = scanFolderFrames(folder(), AnimationSource::Prefixes);
  // Natural order first: 07 08 a.png idle jump jump_1 run_9 run_10 walk-2 walk3 walk_01.
  EXPECT_EQ(scanned.names,
            (Names{"07.png", "08.png", "a.png.png", "idle.png", "jump.png", "jump_1.png",
                   "run_9.png", "run_10.png", "walk-2.png", "walk3.png", "walk_01.png"}));
  EXPECT_EQ(scanned.animations, (AnimationList{{"hero", 0, 2},
                                               {"a.png", 2, 1},
                                               {"idle", 3, 1},
                                               {"jump", 4, 2},
                                               {"run", 6, 2},
                                               {"walk", 8, 3}}));
  // A prefix shared by frames apart in natural order still makes one run.
  files({"b1.png", "b5x.png", "b_2.png"});
  const FolderFrames apart = scanFolderFrames(folder(), AnimationSource::Prefixes);
  const auto b = std::find_if(apart.animations.begin(), apart.animations.end(),
                              [](const Animation& a) { return a.name == "b"; });
  ASSERT_NE(b, apart.animations.end());
  EXPECT_EQ(Names(apart.names.begin() + b->first, apart.names.begin() + b->first + b->count),
            (Names{"b1.png", "b_2.png"}));
}

TEST(NamePrefix, TakesOffANumberAndTheSeparatorsBeforeIt) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"walk_01.png", "walk"}, {"walk-2.png", "walk"},     {"walk3.png", "walk"},
      {"walk 04.png", "walk"}, {"walk.05.png", "walk"},    {"walk__-6.png", "walk"},
      {"idle.png", "idle"},    {"v2_idle.png", "v2_idle"}, {"07.png", ""},
      {"_07.png", ""},         {"a.png.png", "a.png"},     {"walk_01a.png", "walk_01a"},
  };
  for (const auto& [name, prefix] : cases) EXPECT_EQ(namePrefix(name), prefix) << name;
}

TEST_F(AnimationScanTest, TheFolderOwnAnimationIsNamedAfterTheFolder) {
  EXPECT_EQ(folderAnimationName(folder()), "hero");
  EXPECT_EQ(folderAnimationName(dir_.path() + "hero//"), "hero");
  EXPECT_EQ(folderAnimationName(folder() + "./"), "hero");
  EXPECT_EQ(folderAnimationName(folder() + "../hero/.."), folderAnimationName(dir_.path()));
}

}  // namespace
}  // namespace oz
