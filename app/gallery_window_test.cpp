#include "app/gallery_window.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "app/window_fixture.h"

namespace oz {
namespace {

class GalleryWindowTest : public WindowFixture {
 protected:
  GalleryWindowTest() {
    mkdir(gallery_.c_str(), 0700);
    for (const char* name : {"libGDX Atlas", "CSS Sprites", "JSON Hash"}) {
      testing::writeFile(gallery_ + name + ".txt", std::string("ov.Extension = \".x\"\n") + name);
    }
    testing::writeFile(gallery_ + "descriptions.tsv",
                       "# notes\nJSON Hash\tPhaser 3 and PixiJS, .json\nCSS Sprites\tWeb pages, "
                       ".css\n");
    window_.setGalleryDir(gallery_);
  }

  std::vector<std::string> scriptList() const {
    return toolkit_.control(Control::ScriptList).entries;
  }

  std::string gallery_ = temp_.path() + "gallery/";
};

TEST_F(GalleryWindowTest, ListsTheGalleryInVersionOrderWithEachDescription) {
  start();
  menu(MenuItem::InstallFromGallery);
  ASSERT_TRUE(toolkit_.isWindowOpen(Window::InstallFromGallery));
  EXPECT_EQ(toolkit_.window(Window::InstallFromGallery).title, "Install from Gallery");
  const FakeControl& list = toolkit_.control(Control::GalleryList);
  EXPECT_EQ(list.kind, ControlKind::ListBox);
  // A template without a description is listed by its name alone.
  EXPECT_EQ(list.entries, (std::vector<std::string>{"CSS Sprites \u2014 Web pages, .css",
                                                    "JSON Hash \u2014 Phaser 3 and PixiJS, .json",
                                                    "libGDX Atlas"}));
  EXPECT_EQ(list.state, -1);
  EXPECT_FALSE(toolkit_.isEnabled(Control::GalleryInstall));
  choose(Control::GalleryList, 2);
  EXPECT_TRUE(toolkit_.isEnabled(Control::GalleryInstall));

  // Escape closes it, as does "Close".
  toolkit_.pressEscape(Window::InstallFromGallery);
  runQueued();
  EXPECT_FALSE(toolkit_.isWindowOpen(Window::InstallFromGallery));
  menu(MenuItem::InstallFromGallery);
  click(Control::GalleryClose);
  EXPECT_FALSE(toolkit_.isWindowOpen(Window::InstallFromGallery));
  EXPECT_TRUE(toolkit_.messages().empty());
}

// The installed script is in the "Export Script" list at once, and the script
// the user had chosen, with its destination, stays chosen.
TEST_F(GalleryWindowTest, InstallsTheSelectedTemplateAndTheExportListFollowsKeepingTheChoice) {
  addScript("Mine", "ov.Extension = \".txt\"\nmine\n");
  start();
  chooseFolderAndSheet(temp_.path(), temp_.path() + "walk.png");
  choose(Control::ScriptList, 1);
  toolkit_.type(Control::ScriptPathField, temp_.path() + "walk.txt");

  menu(MenuItem::InstallFromGallery);
  choose(Control::GalleryList, 0);
  click(Control::GalleryInstall);
  const std::string installed = support_.file("CSS Sprites.txt");
  EXPECT_EQ(testing::readFile(installed), testing::readFile(gallery_ + "CSS Sprites.txt"));
  ASSERT_EQ(toolkit_.messages().size(), 1u);
  EXPECT_EQ(toolkit_.messages()[0].title, "Installed!");
  EXPECT_EQ(toolkit_.messages()[0].text,
            "Installed the script \"CSS Sprites\" as " + installed + ".");
  EXPECT_FALSE(toolkit_.isWindowOpen(Window::InstallFromGallery));
  EXPECT_EQ(scriptList(), (std::vector<std::string>{"Select a script...", "CSS Sprites", "Mine"}));
  EXPECT_EQ(toolkit_.text(Control::ScriptList), "Mine");
  EXPECT_EQ(toolkit_.text(Control::ScriptPathField), temp_.path() + "walk.txt");
  EXPECT_TRUE(toolkit_.isEnabled(Control::ScriptPathField));
  // The folder's watch reports the same change later: nothing moves.
  toolkit_.changeFolder(support_.path);
  runQueued();
  EXPECT_EQ(toolkit_.text(Control::ScriptList), "Mine");
}

TEST_F(GalleryWindowTest, AnOpenScriptEditorGetsATabForTheInstalledScript) {
  addScript("Mine", "mine\n");
  start();
  menu(MenuItem::ScriptEditor);
  menu(MenuItem::InstallFromGallery);
  choose(Control::GalleryList, 0);
  click(Control::GalleryInstall);
  EXPECT_EQ(toolkit_.control(Control::TabPanel).tabs,
            (std::vector<std::string>{"Mine", "CSS Sprites"}));
}

TEST_F(GalleryWindowTest, NeverReplacesAScriptOfThatNameAndSaysSo) {
  addScript("JSON Hash", "mine");
  start();
  menu(MenuItem::InstallFromGallery);
  choose(Control::GalleryList, 1);
  click(Control::GalleryInstall);
  EXPECT_EQ(testing::readFile(support_.file("JSON Hash.txt")), "mine");
  ASSERT_EQ(toolkit_.messages().size(), 1u);
  EXPECT_EQ(toolkit_.messages()[0].title, "Wait!");
  EXPECT_EQ(toolkit_.messages()[0].text,
            "A script named \"JSON Hash\" already exists (" + support_.file("JSON Hash.txt") +
                "); it was left as it is. Rename or delete it to install the gallery's copy.");
  // Still open, to choose another.
  EXPECT_TRUE(toolkit_.isWindowOpen(Window::InstallFromGallery));
  EXPECT_EQ(scriptList(), (std::vector<std::string>{"Select a script...", "JSON Hash"}));
}

TEST_F(GalleryWindowTest, WithoutAGallerySaysWhereItBelongs) {
  window_.setGalleryDir("");
  start();
  menu(MenuItem::InstallFromGallery);
  EXPECT_FALSE(toolkit_.isWindowOpen(Window::InstallFromGallery));
  ASSERT_EQ(toolkit_.messages().size(), 1u);
  EXPECT_NE(toolkit_.messages()[0].text.find("share/orvane-zozivi/templates/"), std::string::npos);
}

}  // namespace
}  // namespace oz
