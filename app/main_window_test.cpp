#include "app/main_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/window_fixture.h"
#include "help/web_addresses.h"

namespace oz {
namespace {

using MainWindowTest = WindowFixture;

// Only the image folder can be chosen, and the script editor is closed.
void expectOnlyTheFirstStage(const FakeToolkit& toolkit) {
  for (int control : {Control::SheetPathLabel, Control::SheetPathField, Control::SheetPathButton,
                      Control::ScriptList, Control::ScriptPathLabel, Control::ScriptPathField,
                      Control::ScriptPathButton, Control::Create}) {
    EXPECT_FALSE(toolkit.isEnabled(control)) << control;
  }
  for (int item : {MenuItem::New, MenuItem::SaveSpriteAs, MenuItem::SaveScriptAs,
                   MenuItem::CreateSprite, MenuItem::SaveScript}) {
    EXPECT_FALSE(toolkit.isMenuItemEnabled(item)) << item;
  }
}

TEST_F(MainWindowTest, FreshStartShowsTheDefaultsAndOnlyTheFirstStage) {
  start();
  EXPECT_TRUE(toolkit_.window(Window::Main).zoomHidden);
  EXPECT_EQ(toolkit_.state(Control::Sheet), 1);
  EXPECT_EQ(toolkit_.state(Control::Strip), 0);
  EXPECT_EQ(toolkit_.text(Control::ColumnsField), "4");
  EXPECT_EQ(toolkit_.state(Control::DepthList), 0);
  EXPECT_FALSE(toolkit_.isVisible(Control::RemoveAlpha));
  EXPECT_EQ(toolkit_.state(Control::Black), 1);  // no stored "Pink": black
  EXPECT_EQ(toolkit_.state(Control::SpriteNumber), 0);

  expectOnlyTheFirstStage(toolkit_);
  // No application menu here: "Quit" ends "File" and "About Orvane" ends "Help".
  EXPECT_EQ(toolkit_.menus().front().items.back(), MenuItem::Quit);
  EXPECT_EQ(toolkit_.menus().back().items.back(), MenuItem::About);
}

TEST_F(MainWindowTest, EveryDepthShowsItsOwnControlsAndRemoveAlphaKeepsItsTick) {
  start();
  struct Row {
    std::string label;
    bool ditheringShown, ditheringEnabled, backgroundEnabled;  // "Remove Alpha" unticked
  };
  const Row rows[] = {
      {"32-bit", true, false, false}, {"24-bit", false, false, false},
      {"8-bit", true, true, true},    {"4-bit", true, true, true},
      {"1-bit", true, true, true},    {"Alpha", true, false, false},
  };
  ASSERT_EQ(toolkit_.control(Control::DepthList).entries.size(), std::size(rows));
  for (int depth = 0; depth < static_cast<int>(std::size(rows)); ++depth) {
    const Row& row = rows[depth];
    choose(Control::DepthList, depth);
    EXPECT_EQ(toolkit_.control(Control::DepthList).entries[depth], row.label);
    EXPECT_EQ(toolkit_.isVisible(Control::Dithering), row.ditheringShown) << row.label;
    EXPECT_EQ(toolkit_.isVisible(Control::RemoveAlpha), !row.ditheringShown) << row.label;
    EXPECT_EQ(toolkit_.isEnabled(Control::Dithering), row.ditheringEnabled) << row.label;
    EXPECT_EQ(toolkit_.isEnabled(Control::Pink), row.backgroundEnabled) << row.label;
    EXPECT_EQ(toolkit_.isEnabled(Control::Black), row.backgroundEnabled) << row.label;
    settings_.selectGroup("Settings");
    EXPECT_EQ(settings_.readInteger("Color Depth", -1), depth);
  }

  // Ticking "Remove Alpha" enables the background; the tick is kept while hidden.
  choose(Control::DepthList, 1);  // "24-bit"
  click(Control::RemoveAlpha);
  EXPECT_TRUE(toolkit_.isEnabled(Control::Pink));
  choose(Control::DepthList, 2);  // "8-bit"
  EXPECT_EQ(toolkit_.state(Control::RemoveAlpha), 1);
  settings_.selectGroup("Settings");
  EXPECT_EQ(settings_.readInteger("Remove Alpha", -1), 1);
  choose(Control::DepthList, 1);
  EXPECT_EQ(toolkit_.state(Control::RemoveAlpha), 1);
  EXPECT_TRUE(toolkit_.isEnabled(Control::Pink));
  click(Control::RemoveAlpha);  // unticked: the background no longer matters
  EXPECT_FALSE(toolkit_.isEnabled(Control::Pink));
}

TEST_F(MainWindowTest, StoredOptionsAreAppliedAtStart) {
  testing::writeFile(support_.settingsPath(),
                     "[SETTINGS]\nstrip=1\nColumns = 7  \ncolor depth=1\nRemove Alpha = 1\n"
                     "Dithering = 1\nPink = 1\nRetina = 1\nPower of 2 = 1\nSprite Number = 42\n");
  start();
  // Dithering is ticked, though hidden at 24-bit.
  for (int control : {Control::Strip, Control::RemoveAlpha, Control::Dithering, Control::Pink,
                      Control::Retina, Control::PowerOf2, Control::DepthList}) {
    EXPECT_EQ(toolkit_.state(control), 1) << control;
  }
  EXPECT_EQ(toolkit_.state(Control::Sheet), 0);
  EXPECT_EQ(toolkit_.state(Control::Black), 0);
  EXPECT_FALSE(toolkit_.isEnabled(Control::ColumnsLabel));
  EXPECT_FALSE(toolkit_.isEnabled(Control::ColumnsField));
  EXPECT_EQ(toolkit_.text(Control::ColumnsField), "7");
  EXPECT_TRUE(toolkit_.isVisible(Control::RemoveAlpha));
  EXPECT_TRUE(toolkit_.isEnabled(Control::Pink));
  EXPECT_EQ(toolkit_.state(Control::SpriteNumber), 42);
}

TEST_F(MainWindowTest, RequestersEnableTheNextStagesAndCancelChangesNothing) {
  start();
  toolkit_.answerFolder("");
  click(Control::ImageFolderButton);
  EXPECT_FALSE(toolkit_.isEnabled(Control::SheetPathField));

  toolkit_.answerFolder("/frames");
  click(Control::ImageFolderButton);
  EXPECT_EQ(toolkit_.requesters().back().title, "Select a folder of png images...");
  EXPECT_EQ(toolkit_.text(Control::ImageFolderField), "/frames/");
  EXPECT_TRUE(toolkit_.isEnabled(Control::SheetPathButton));
  EXPECT_TRUE(toolkit_.isMenuItemEnabled(MenuItem::New));
  EXPECT_TRUE(toolkit_.isMenuItemEnabled(MenuItem::SaveSpriteAs));
  EXPECT_FALSE(toolkit_.isEnabled(Control::Create));

  toolkit_.answerSaveFile("/out/Sheet.PNG");
  click(Control::SheetPathButton);
  const ShownRequester& requester = toolkit_.requesters().back();
  EXPECT_EQ(requester.title, "Save sprite sheet/strip as...");
  EXPECT_EQ(requester.proposedName, ".png");
  EXPECT_EQ(requester.filter, "PNG (*.png)|*.png");
  EXPECT_EQ(toolkit_.text(Control::SheetPathField), "/out/Sheet.PNG.png");
  EXPECT_TRUE(toolkit_.isEnabled(Control::ScriptList));
  EXPECT_TRUE(toolkit_.isEnabled(Control::Create));
  EXPECT_TRUE(toolkit_.isMenuItemEnabled(MenuItem::CreateSprite));
  EXPECT_FALSE(toolkit_.isEnabled(Control::ScriptPathField));

  toolkit_.answerSaveFile("/out/walk.png");
  click(Control::SheetPathButton);
  EXPECT_EQ(toolkit_.text(Control::SheetPathField), "/out/walk.png");
  toolkit_.answerSaveFile("");
  click(Control::SheetPathButton);
  EXPECT_EQ(toolkit_.text(Control::SheetPathField), "/out/walk.png");
}

TEST_F(MainWindowTest, ScriptChoiceDecidesTheDestinationControls) {
  addScript("plist", "ov.Extension = \".plist\"\n<plist>\n");
  addScript("Clipboard", "ov.Extension = \"Clipboard\"\nov.ImageX\n");
  addScript("xml", "ov.Extension = xml\n");
  start();
  chooseFolderAndSheet("/frames/", "/out/walk.png");
  ASSERT_EQ(toolkit_.control(Control::ScriptList).entries,
            (std::vector<std::string>{"Select a script...", "Clipboard", "plist", "xml"}));

  choose(Control::ScriptList, 2);
  EXPECT_EQ(toolkit_.text(Control::ScriptPathField), "");
  EXPECT_TRUE(toolkit_.isEnabled(Control::ScriptPathField));
  EXPECT_TRUE(toolkit_.isEnabled(Control::ScriptPathButton));
  EXPECT_TRUE(toolkit_.isMenuItemEnabled(MenuItem::SaveScriptAs));

  toolkit_.answerSaveFile("/Sprites/walk");
  toolkit_.answerSaveFile("/Sprites/my.plist.files/walk");
  click(Control::ScriptPathButton);
  EXPECT_EQ(toolkit_.requesters().back().title, "Save sprite script as...");
  EXPECT_EQ(toolkit_.requesters().back().proposedName, ".plist");
  EXPECT_EQ(toolkit_.requesters().back().filter, "(*.plist)|*.plist");
  EXPECT_EQ(toolkit_.text(Control::ScriptPathField), "/Sprites/walk.plist");
  click(Control::ScriptPathButton);
  EXPECT_EQ(toolkit_.text(Control::ScriptPathField), "/Sprites/my.plist.files/walk");
  // The extension is looked for case-sensitively.
  toolkit_.answerSaveFile("/Sprites/walk.PLIST");
  click(Control::ScriptPathButton);
  EXPECT_EQ(toolkit_.text(Control::ScriptPathField), "/Sprites/walk.PLIST.plist");

  choose(Control::ScriptList, 1);
  EXPECT_EQ(toolkit_.text(Control::ScriptPathField), "ov.Extension = \"Clipboard\"");
  EXPECT_FALSE(toolkit_.isEnabled(Control::ScriptPathField));
  EXPECT_FALSE(toolkit_.isEnabled(Control::ScriptPathButton));
  EXPECT_FALSE(toolkit_.isMenuItemEnabled(MenuItem::SaveScriptAs));

  choose(Control::ScriptList, 3);
  toolkit_.answerSaveFile("/Sprites/walk");
  menu(MenuItem::SaveScriptAs);  // posts a press of the "..." button
  EXPECT_EQ(toolkit_.requesters().back().proposedName, "xml");
  EXPECT_EQ(toolkit_.text(Control::ScriptPathField), "/Sprites/walkxml");

  choose(Control::ScriptList, 0);
  EXPECT_EQ(toolkit_.text(Control::ScriptPathField), "");
  EXPECT_FALSE(toolkit_.isEnabled(Control::ScriptPathField));
  EXPECT_FALSE(toolkit_.isMenuItemEnabled(MenuItem::SaveScriptAs));
}

TEST_F(MainWindowTest, WindowMenuItemsActOnlyFromTheirWindowAndQuitNeedsNoAnswerUnedited) {
  addScript("plist", "ov.Extension = \".plist\"\n");
  start();
  menu(MenuItem::ScriptEditor);
  ASSERT_EQ(toolkit_.activeWindow(), Window::ScriptEditor);
  menu(MenuItem::OpenImageFolder);  // Ctrl+O from the Script Editor
  EXPECT_TRUE(toolkit_.requesters().empty());

  toolkit_.activate(Window::Main);
  toolkit_.answerFolder("/frames/");
  menu(MenuItem::OpenImageFolder);
  ASSERT_EQ(toolkit_.requesters().size(), 1u);
  EXPECT_EQ(toolkit_.text(Control::ImageFolderField), "/frames/");

  // "Delete Script" from the main window is not the editor's press.
  menu(MenuItem::DeleteScript);
  EXPECT_TRUE(toolkit_.messages().empty());
  toolkit_.activate(Window::ScriptEditor);
  menu(MenuItem::DeleteScript);  // the only tab: the editor refuses
  ASSERT_EQ(toolkit_.messages().size(), 1u);
  EXPECT_EQ(toolkit_.messages().back().title, "Wait!");

  // Nothing edited: Quit ends at once, asking nothing.
  toolkit_.chooseMenuItem(MenuItem::Quit);
  EXPECT_FALSE(runQueued());
  EXPECT_EQ(toolkit_.messages().size(), 1u);
}

// The tick says whether the Script Editor shows its preview pane, also when
// the user's choice and the program's answer differ: with the editor closed
// on a shown pane, choosing the item opens it with the pane.
TEST_F(MainWindowTest, ScriptPreviewsTickFollowsThePane) {
  addScript("plist", "ov.Extension = \".plist\"\n");
  start();
  EXPECT_FALSE(toolkit_.isMenuItemChecked(MenuItem::ScriptPreview));
  menu(MenuItem::ScriptPreview);
  ASSERT_TRUE(toolkit_.hasControl(Control::ScriptPreviewInfo));
  EXPECT_TRUE(toolkit_.isMenuItemChecked(MenuItem::ScriptPreview));

  toolkit_.requestClose(Window::ScriptEditor);
  runQueued();
  ASSERT_FALSE(toolkit_.isWindowOpen(Window::ScriptEditor));
  EXPECT_TRUE(toolkit_.isMenuItemChecked(MenuItem::ScriptPreview));  // the pane comes back with it
  menu(MenuItem::ScriptPreview);
  EXPECT_TRUE(toolkit_.isWindowOpen(Window::ScriptEditor));
  EXPECT_TRUE(toolkit_.hasControl(Control::ScriptPreviewInfo));
  EXPECT_TRUE(toolkit_.isMenuItemChecked(MenuItem::ScriptPreview));

  menu(MenuItem::ScriptPreview);
  EXPECT_FALSE(toolkit_.hasControl(Control::ScriptPreviewInfo));
  EXPECT_FALSE(toolkit_.isMenuItemChecked(MenuItem::ScriptPreview));
}

TEST_F(MainWindowTest, NewReturnsToTheStartStageButKeepsTheOptions) {
  addScript("plist", "ov.Extension = \".plist\"\n");
  start();
  click(Control::Strip);
  choose(Control::DepthList, 3);
  click(Control::Retina);
  chooseFolderAndSheet("/frames/", "/out/walk.png");
  choose(Control::ScriptList, 1);
  toolkit_.answerSaveFile("/out/walk.plist");
  click(Control::ScriptPathButton);

  menu(MenuItem::New);
  EXPECT_EQ(toolkit_.text(Control::ImageFolderField), "");
  EXPECT_EQ(toolkit_.text(Control::SheetPathField), "");
  EXPECT_EQ(toolkit_.text(Control::ScriptPathField), "");
  EXPECT_EQ(toolkit_.state(Control::ScriptList), 0);
  expectOnlyTheFirstStage(toolkit_);
  EXPECT_EQ(toolkit_.state(Control::Strip), 1);
  EXPECT_EQ(toolkit_.state(Control::DepthList), 3);
  EXPECT_EQ(toolkit_.state(Control::Retina), 1);
}

TEST_F(MainWindowTest, TheScriptListFollowsScriptsAddedOrRemovedOutsideTheProgram) {
  addScript("plist", "ov.Extension = \".plist\"\n");
  addScript("xml", "ov.Extension = \".xml\"\n");
  start();
  chooseFolderAndSheet("/frames/", "/out/walk.png");
  choose(Control::ScriptList, 2);
  toolkit_.answerSaveFile("/out/walk");
  click(Control::ScriptPathButton);

  addScript("css", "ov.Extension = \".css\"\n");
  toolkit_.changeFolder(support_.path);
  runQueued();
  EXPECT_EQ(toolkit_.control(Control::ScriptList).entries,
            (std::vector<std::string>{"Select a script...", "css", "plist", "xml"}));
  EXPECT_EQ(toolkit_.text(Control::ScriptList), "xml");
  EXPECT_EQ(toolkit_.text(Control::ScriptPathField), "/out/walk.xml");
  EXPECT_TRUE(toolkit_.isEnabled(Control::ScriptPathButton));

  std::remove(support_.file("xml.txt").c_str());
  toolkit_.changeFolder(support_.path);
  runQueued();
  EXPECT_EQ(toolkit_.control(Control::ScriptList).entries,
            (std::vector<std::string>{"Select a script...", "css", "plist"}));
  EXPECT_EQ(toolkit_.state(Control::ScriptList), 0);
  EXPECT_EQ(toolkit_.text(Control::ScriptPathField), "");
  EXPECT_FALSE(toolkit_.isEnabled(Control::ScriptPathButton));
}

TEST_F(MainWindowTest, RefillingTheListFromTheEditorSelectsThePlaceholderWithoutItsHandling) {
  addScript("Clipboard", "ov.Extension = \"Clipboard\"\n");
  start();
  chooseFolderAndSheet("/frames/", "/out/walk.png");
  choose(Control::ScriptList, 1);
  ASSERT_FALSE(toolkit_.isEnabled(Control::ScriptPathField));

  menu(MenuItem::ScriptEditor);
  toolkit_.type(Control::ScriptNameField, "Atlas");
  click(Control::NewScript);
  EXPECT_EQ(toolkit_.control(Control::ScriptList).entries,
            (std::vector<std::string>{"Select a script...", "Atlas", "Clipboard"}));
  EXPECT_EQ(toolkit_.state(Control::ScriptList), 0);
  EXPECT_TRUE(toolkit_.isEnabled(Control::ScriptList));
  // The handling of a user's choice of the placeholder does not run: the
  // destination field keeps what it showed.
  EXPECT_EQ(toolkit_.text(Control::ScriptPathField), "ov.Extension = \"Clipboard\"");
  EXPECT_FALSE(toolkit_.isEnabled(Control::ScriptPathField));
}

TEST_F(MainWindowTest, QuitAndTheCloseButtonFirstOfferToSaveEditedScripts) {
  addScript("a", "A");
  addScript("b", "B");
  start();
  menu(MenuItem::ScriptEditor);
  toolkit_.type(Control::FirstEditor, "1");
  toolkit_.type(Control::FirstFree, "2");  // the second tab's editor
  toolkit_.type(Control::ColumnsField, "7");
  ASSERT_TRUE(runQueued());
  const std::string prefs = settingsBytes();

  // Cancel, at the first question or the second, keeps the program running.
  toolkit_.answerMessage(MessageResult::Cancel);
  toolkit_.chooseMenuItem(MenuItem::Quit);
  EXPECT_TRUE(runQueued());
  toolkit_.answerMessage(MessageResult::No);
  toolkit_.answerMessage(MessageResult::Cancel);
  toolkit_.requestClose(Window::Main);
  EXPECT_TRUE(runQueued());
  EXPECT_TRUE(toolkit_.isWindowOpen(Window::ScriptEditor));
  EXPECT_EQ(settingsBytes(), prefs);  // no "Columns" stored, the store still open
  EXPECT_EQ(toolkit_.messages().size(), 3u);

  toolkit_.answerMessage(MessageResult::No);
  toolkit_.answerMessage(MessageResult::Yes);
  toolkit_.requestClose(Window::Main);
  EXPECT_FALSE(runQueued());
  EXPECT_EQ(testing::readFile(support_.file("a.txt")), "A");
  EXPECT_EQ(testing::readFile(support_.file("b.txt")), "2B\n");
}

TEST_F(MainWindowTest, HelpMenuOpensWebAddressesAsOneArgumentAndWindowsThatCloseOnTheirButtons) {
  start();
  for (const auto& [item, address] : {std::pair{MenuItem::Website, kMakerWebsite},
                                      {MenuItem::SupportForum, kSupportForum},
                                      {MenuItem::Purchase, kFullEditionStorePage}}) {
    menu(item);
    ASSERT_FALSE(toolkit_.launches().empty());
    EXPECT_EQ(toolkit_.launches().back().program, "xdg-open");
    EXPECT_EQ(toolkit_.launches().back().arguments, std::vector<std::string>{address});
  }

  menu(MenuItem::Help);
  menu(MenuItem::About);
  toolkit_.resize(Window::Help, 200, 150);
  EXPECT_EQ(toolkit_.geometry(Control::HelpText), (Rect{10, 10, 180, 130}));

  toolkit_.pressEscape(Window::Help);  // the Help window stays
  toolkit_.pressEscape(Window::About);
  EXPECT_TRUE(runQueued());
  EXPECT_TRUE(toolkit_.isWindowOpen(Window::Help));
  EXPECT_FALSE(toolkit_.isWindowOpen(Window::About));
  menu(MenuItem::About);
  toolkit_.requestClose(Window::Help);
  toolkit_.requestClose(Window::About);
  EXPECT_TRUE(runQueued());
  EXPECT_FALSE(toolkit_.isWindowOpen(Window::Help));
  EXPECT_FALSE(toolkit_.isWindowOpen(Window::About));
  EXPECT_TRUE(toolkit_.isWindowOpen(Window::Main));
}

}  // namespace
}  // namespace oz
