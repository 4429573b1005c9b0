#include "app/recent_folders_menu.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "app/window_fixture.h"
#include "store/recent_folders.h"

namespace oz {
namespace {

class RecentFoldersTest : public WindowFixture {
 protected:
  RecentFoldersTest() {
    for (const std::string& folder : {a_, b_}) mkdir(folder.c_str(), 0700);
  }

  // The texts of "Open Recent", a separator as "-".
  std::vector<std::string> recentMenu() const {
    std::vector<std::string> texts;
    for (const FakeMenu& menu : toolkit_.menus()) {
      if (menu.title != "Open Recent") continue;
      for (int item : menu.items) {
        texts.push_back(item == FakeMenu::kSeparator ? "-" : toolkit_.menuItem(item).text);
      }
    }
    return texts;
  }

  void chooseScriptFile(int index, const std::string& path) {
    choose(Control::ScriptList, index);
    toolkit_.answerSaveFile(path);
    click(Control::ScriptPathButton);
  }

  std::string a_ = temp_.path() + "a/";
  std::string b_ = temp_.path() + "b/";
};

TEST_F(RecentFoldersTest, ChoosingARecentFolderRestoresItsLastExportAndMovesItFirst) {
  addScript("plist", "ov.Extension = \".plist\"\n");
  addScript("xml", "ov.Extension = \".xml\"\n");
  start();
  EXPECT_EQ(recentMenu(), std::vector<std::string>{"Clear Menu"});
  EXPECT_FALSE(toolkit_.isMenuItemEnabled(MenuItem::ClearRecentFolders));

  chooseFolderAndSheet(a_, "/out/a.png");
  chooseScriptFile(2, "/out/a.xml");
  click(Control::Create);  // no frames: refused, yet what was used is remembered
  toolkit_.answerFolder(b_);
  click(Control::ImageFolderButton);
  EXPECT_EQ(recentMenu(), (std::vector<std::string>{b_, a_, "-", "Clear Menu"}));

  menu(MenuItem::New);
  menu(MenuItem::FirstRecentFolder + 1);
  EXPECT_EQ(toolkit_.text(Control::ImageFolderField), a_);
  EXPECT_EQ(toolkit_.text(Control::SheetPathField), "/out/a.png");
  EXPECT_EQ(toolkit_.text(Control::ScriptList), "xml");
  EXPECT_EQ(toolkit_.text(Control::ScriptPathField), "/out/a.xml");
  EXPECT_TRUE(toolkit_.isEnabled(Control::Create));
  EXPECT_TRUE(toolkit_.isEnabled(Control::ScriptPathButton));
  EXPECT_EQ(recentMenu(), (std::vector<std::string>{a_, b_, "-", "Clear Menu"}));

  // b was never exported: only its folder comes back, the rest stays as "New" left it.
  menu(MenuItem::New);
  menu(MenuItem::FirstRecentFolder + 1);
  EXPECT_EQ(toolkit_.text(Control::ImageFolderField), b_);
  EXPECT_EQ(toolkit_.text(Control::SheetPathField), "");
  EXPECT_FALSE(toolkit_.isEnabled(Control::Create));

  // Kept in a group of its own, and read again at the next start.
  toolkit_.requestClose(Window::Main);
  EXPECT_FALSE(runQueued());
  settings_.open(support_.settingsPath());
  EXPECT_EQ(readRecentFolders(settings_),
            (RecentFolders{{b_, "", "", ""}, {a_, "/out/a.png", "xml", "/out/a.xml"}}));
}

TEST_F(RecentFoldersTest, RequestersStartInTheFolderOfTheirFieldOrOfTheLastValue) {
  addScript("plist", "ov.Extension = \".plist\"\n");
  testing::writeFile(support_.settingsPath(), "[Recent Folders]\nFolder 1 = " + a_ +
                                                  "\nSheet 1 = /sheets/walk.png\nScript 1 = plist\n"
                                                  "Script Path 1 = /scripts/walk.plist\n");
  start();
  chooseFolderAndSheet(b_, "/elsewhere/run.png");
  chooseScriptFile(1, "/mine/run.plist");
  std::vector<std::string> starts;
  for (const ShownRequester& requester : toolkit_.requesters()) {
    starts.push_back(requester.startFolder);
  }
  EXPECT_EQ(starts, (std::vector<std::string>{a_, "/sheets/", "/scripts/"}));

  toolkit_.answerFolder("");
  click(Control::ImageFolderButton);
  toolkit_.answerSaveFile("");
  click(Control::SheetPathButton);
  toolkit_.answerSaveFile("");
  click(Control::ScriptPathButton);
  starts.clear();
  for (size_t i = 3; i < toolkit_.requesters().size(); ++i) {
    starts.push_back(toolkit_.requesters()[i].startFolder);
  }
  EXPECT_EQ(starts, (std::vector<std::string>{b_, "/elsewhere/", "/mine/"}));
  // A folder typed into the field, not the last one chosen.
  toolkit_.type(Control::ImageFolderField, "/typed/");
  toolkit_.answerFolder("");
  click(Control::ImageFolderButton);
  EXPECT_EQ(toolkit_.requesters().back().startFolder, "/typed/");
}

TEST_F(RecentFoldersTest, FoldersThatAreGoneAreLeftOutOrDroppedWhenChosenAndClearEmptiesTheMenu) {
  const std::string stored = "[Recent Folders]\nFolder 1 = " + temp_.path() +
                             "gone/\nFolder 2 = " + a_ + "\nFolder 3 = " + b_ + "\n";
  testing::writeFile(support_.settingsPath(), stored);
  start();
  EXPECT_EQ(recentMenu(), (std::vector<std::string>{a_, b_, "-", "Clear Menu"}));
  settings_.close();  // left out of the menu, but not a change of the file
  EXPECT_EQ(settingsBytes(), stored);
  settings_.open(support_.settingsPath());

  rmdir(a_.c_str());
  menu(MenuItem::FirstRecentFolder);
  ASSERT_EQ(toolkit_.messages().size(), 1u);
  EXPECT_EQ(toolkit_.messages()[0].title, "Wait!");
  EXPECT_EQ(toolkit_.messages()[0].text, "The folder \"" + a_ + "\" no longer exists.");
  EXPECT_EQ(toolkit_.text(Control::ImageFolderField), "");
  EXPECT_EQ(recentMenu(), (std::vector<std::string>{b_, "-", "Clear Menu"}));

  menu(MenuItem::ClearRecentFolders);
  EXPECT_EQ(recentMenu(), std::vector<std::string>{"Clear Menu"});
  EXPECT_FALSE(toolkit_.isMenuItemEnabled(MenuItem::ClearRecentFolders));
  EXPECT_TRUE(readRecentFolders(settings_).empty());
}

TEST_F(RecentFoldersTest, ADroppedFolderOrFrameChoosesItsFolder) {
  start();
  // The desktop gives a folder without its final "/".
  toolkit_.dropFiles(Window::Main, {temp_.path() + "notes.txt", a_.substr(0, a_.size() - 1)});
  runQueued();
  EXPECT_EQ(toolkit_.text(Control::ImageFolderField), a_);
  EXPECT_TRUE(toolkit_.isEnabled(Control::SheetPathButton));

  toolkit_.dropFiles(Window::Main, {b_ + "walk1.png", b_ + "walk2.png"});
  runQueued();
  EXPECT_EQ(toolkit_.text(Control::ImageFolderField), b_);
  EXPECT_EQ(recentMenu(), (std::vector<std::string>{b_, a_, "-", "Clear Menu"}));

  toolkit_.dropFiles(Window::Main, {temp_.path() + "notes.txt"});
  runQueued();
  EXPECT_EQ(toolkit_.text(Control::ImageFolderField), b_);
}

}  // namespace
}  // namespace oz
