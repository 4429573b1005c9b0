#include "editor/script_editor.h"

#include <gtest/gtest.h>
#include <filesystem>

#include <sys/stat.h>

#include "script/template_words.h"
#include "store/script_store.h"
#include "testsupport/temp_dir.h"
#include "toolkit/fake_toolkit.h"

namespace oz {
namespace {

using testing::readFile;
using testing::writeFile;
using Names = std::vector<std::string>;

class ScriptEditorTest : public ::testing::Test {
 protected:
  ScriptEditorTest()
      : kit_([](const std::string& m) { ADD_FAILURE() << m; }),
        support_{dir_.path()},
        editor_(kit_, settings_, support_,
                [this] { refreshedLists_.push_back(listScripts(support_)); }) {
    kit_.openWindow(Window::Main, "Orvane Zozivi", 340, 425, {});
    const int menu = kit_.addMenu("Script");
    kit_.addMenuItem(menu, MenuItem::SaveScript, "Save Script\tCmd+S", false);
    kit_.addMenuItem(menu, MenuItem::DeleteScript, "Delete Script\tCmd+\b", false);
    kit_.setResizeHandler([this](int) {
      if (kit_.activeWindow() == Window::ScriptEditor) editor_.relayout();
    });
    settings_.open(support_.settingsPath());
  }

  void script(const std::string& name, std::string_view bytes) {
    writeFile(dir_.path() + name + ".txt", bytes);
  }
  std::string bytesOf(const std::string& name) { return readFile(dir_.path() + name + ".txt"); }
  bool exists(const std::string& name) { return testing::fileExists(dir_.path() + name + ".txt"); }

  // Runs the event loop's part for this window until nothing is queued.
  void pump() {
    while (std::optional<Event> event = kit_.pollEvent()) {
      EXPECT_TRUE(editor_.handleEvent(*event)) << "event for " << event->number;
    }
  }
  void openEditor() {
    editor_.open();
    pump();
  }
  // Adds `scripts` to those already written, then opens the editor.
  void openWith(std::initializer_list<std::pair<std::string, std::string_view>> scripts) {
    for (const auto& [name, bytes] : scripts) script(name, bytes);
    openEditor();
  }
  void click(int control) {
    kit_.click(control);
    pump();
  }
  void clickAnswering(int control, int answer) {
    kit_.answerMessage(answer);
    click(control);
  }
  void requestClose() {
    kit_.requestClose(Window::ScriptEditor);
    pump();
  }
  void selectTab(int index) {
    kit_.selectTab(Control::TabPanel, index);
    pump();
  }
  void typeInto(int editor, std::string_view text) {
    kit_.type(editor, text);
    pump();
  }

  Names tabTitles() const { return kit_.control(Control::TabPanel).tabs; }
  int selectedTab() const { return kit_.state(Control::TabPanel); }
  int editorOf(int index) const {
    for (int c = Control::FirstEditor; c < Control::FirstFree + 100; ++c) {
      if (kit_.hasControl(c) && kit_.control(c).kind == ControlKind::Editor &&
          kit_.control(c).tab == index) {
        return c;
      }
    }
    ADD_FAILURE() << "no editor in tab " << index;
    return Control::FirstEditor;
  }
  std::string savedTab() {
    settings_.selectGroup(kTabSelectionGroup);
    return settings_.readText(kSavedTabKey, "<absent>");
  }
  int64_t tabId(const std::string& name) {
    settings_.selectGroup(kTabIdsGroup);
    return settings_.readInteger(name, -1);
  }
  bool edited() const { return kit_.window(Window::ScriptEditor).edited; }
  std::vector<std::string> messageTitles() const {
    std::vector<std::string> titles;
    for (const ShownMessage& m : kit_.messages()) titles.push_back(m.title);
    return titles;
  }
  const ShownMessage& lastMessage() const { return kit_.messages().back(); }

  oz::testing::ScopedTempDir dir_;
  FakeToolkit kit_;
  SupportDir support_;
  SettingsStore settings_;
  std::vector<Names> refreshedLists_;
  ScriptEditor editor_;
};

// Each editor styled; with no tab remembered, the first is selected,
// highlighted and remembered.
TEST_F(ScriptEditorTest, BuildsOneTabPerScriptInStoreOrderWithItsText) {
  script("b", "B\n");
  script("a10", "A10");
  script("a2", "ov.ImageX\r\nsecond");
  writeFile(dir_.path() + "notes.TXT", "not a script");
  openEditor();

  EXPECT_FALSE(edited());
  EXPECT_EQ(tabTitles(), (Names{"a2", "a10", "b"}));
  EXPECT_EQ(kit_.text(editorOf(0)), "ov.ImageX\nsecond");
  EXPECT_EQ(kit_.text(editorOf(2)), "B");
  for (int tab = 0; tab < 3; ++tab) {
    EXPECT_EQ(tabId(tabTitles()[tab]), editorOf(tab));
    const FakeControl& editor = kit_.control(editorOf(tab));
    EXPECT_EQ(editor.fontFamily, "Menlo") << tab;
    EXPECT_EQ(editor.caretColour, (Colour{1, 1, 1, 1})) << tab;
    EXPECT_EQ(editor.backgroundColour, (Colour{32 / 255.0, 16 / 255.0, 0, 1})) << tab;
  }
  EXPECT_TRUE(kit_.messages().empty());
  EXPECT_EQ(selectedTab(), 0);
  EXPECT_EQ(savedTab(), "a2");
  EXPECT_GE(kit_.control(editorOf(0)).colouringsApplied, 1);
}

TEST_F(ScriptEditorTest, PlaceholderTabCannotBeSavedOrDeletedAndGoesQuietlyBesideANewScript) {
  openEditor();
  EXPECT_EQ(tabTitles(), Names{" "});
  typeInto(Control::FirstEditor, "text");
  EXPECT_FALSE(edited());
  click(Control::SaveScript);
  EXPECT_EQ(lastMessage().title, "Script Name?");
  EXPECT_EQ(lastMessage().text, "Please create a script name first.");
  click(Control::DeleteScript);
  EXPECT_EQ(lastMessage().text, "There needs to be at least one script in the editor.");
  EXPECT_EQ(listScripts(support_), Names{});

  kit_.type(Control::ScriptNameField, "first");
  click(Control::NewScript);
  EXPECT_EQ(tabTitles(), (Names{" ", "first"}));
  typeInto(editorOf(1), "x");
  clickAnswering(Control::SaveScript, MessageResult::Yes);
  EXPECT_EQ(bytesOf("first"), "x\n");
  selectTab(0);
  click(Control::DeleteScript);
  EXPECT_EQ(tabTitles(), Names{"first"});
  EXPECT_TRUE(exists("first"));
  EXPECT_EQ(kit_.messages().size(), 4u);
}

TEST_F(ScriptEditorTest, RemembersTheSelectedTabByExactName) {
  script("one", "1");
  script("two", "2");
  script("three", "3");  // listed as one, three, two
  settings_.selectGroup(kTabSelectionGroup);
  settings_.writeText(kSavedTabKey, "two");
  openEditor();
  EXPECT_EQ(selectedTab(), 2);

  settings_.selectGroup(kTabSelectionGroup);
  settings_.writeText(kSavedTabKey, "gone");
  openEditor();
  EXPECT_EQ(selectedTab(), 0);
  EXPECT_EQ(savedTab(), "one");

  // The store gives a remembered " b" back as "b", which names no tab.
  openWith({{" a", ""}, {" b", ""}});
  selectTab(1);
  ASSERT_EQ(tabTitles()[1], " b");
  openEditor();
  EXPECT_EQ(selectedTab(), 0);
}

// Reopening numbers the editors afresh, so the settings file settles after the
// second opening; names it cannot hold as keys stay out, yet their tabs work.
TEST_F(ScriptEditorTest, SettingsFileSettlesAfterTheSecondOpening) {
  for (const std::string name : {" lead", "a=b", "#hash", "plist"}) script(name, "text of " + name);
  std::vector<std::string> prefs;
  for (int opening = 0; opening < 3; ++opening) {
    openEditor();
    prefs.push_back(readFile(support_.settingsPath()));
  }
  EXPECT_EQ(prefs[2], prefs[1]);
  EXPECT_GE(tabId("#hash"), Control::FirstEditor);
  EXPECT_GE(tabId("plist"), Control::FirstEditor);
  settings_.selectGroup(kTabIdsGroup);
  EXPECT_EQ(settings_.listKeys().size(), 2u);

  // The tab of such a name still saves its own script.
  ASSERT_EQ(tabTitles()[0], " lead");
  selectTab(0);
  typeInto(editorOf(0), "new ");
  clickAnswering(Control::SaveScript, MessageResult::Yes);
  EXPECT_EQ(bytesOf(" lead"), "new text of  lead\n");
}

TEST_F(ScriptEditorTest, UnreadableScriptOpensEmptyAndAFailedSaveKeepsTheMark) {
  // A directory named like a script is listed but can be neither read nor
  // replaced by a file.
  ASSERT_EQ(mkdir((dir_.path() + "broken.txt").c_str(), 0755), 0);
  writeFile(dir_.path() + "broken.txt/inside", "x");
  openEditor();
  EXPECT_EQ(tabTitles(), Names{"broken"});
  EXPECT_EQ(kit_.text(editorOf(0)), "");

  typeInto(editorOf(0), "new text");
  clickAnswering(Control::SaveScript, MessageResult::Yes);
  EXPECT_EQ(lastMessage().title, "Save Error!");
  EXPECT_EQ(lastMessage().text, "Unable to save the \"broken\" script.");
  EXPECT_TRUE(edited());
  // When the save on closing fails the window stays open with the text.
  kit_.answerMessage(MessageResult::Yes);
  requestClose();
  EXPECT_EQ(lastMessage().title, "Save Error!");
  EXPECT_EQ(kit_.text(editorOf(0)), "new text");
}

TEST_F(ScriptEditorTest, RebuildingAsksAboutUnsavedTextAndReopensTheSettings) {
  openWith({{"s", "saved"}});
  const std::string prefsBefore = readFile(support_.settingsPath());
  typeInto(editorOf(0), "unsaved ");
  settings_.selectGroup("Settings");
  settings_.writeInteger("Retina", 1);

  // Cancel: no rebuild, and the settings file is not written either.
  kit_.answerMessage(MessageResult::Cancel);
  openEditor();
  EXPECT_EQ(messageTitles(), Names{"Save Script?"});
  EXPECT_EQ(kit_.text(editorOf(0)), "unsaved saved");
  EXPECT_EQ(tabTitles(), Names{"s *"});
  EXPECT_TRUE(edited());
  EXPECT_EQ(readFile(support_.settingsPath()), prefsBefore);

  kit_.answerMessage(MessageResult::No);
  openEditor();
  EXPECT_EQ(kit_.text(editorOf(0)), "saved");
  EXPECT_EQ(bytesOf("s"), "saved");
  EXPECT_EQ(tabTitles(), Names{"s"});
  EXPECT_FALSE(edited());
  const std::string prefs = readFile(support_.settingsPath());
  EXPECT_NE(prefs.find("Retina = 1"), std::string::npos);
  EXPECT_NE(prefs.find("[Tab ID's]"), std::string::npos);
}

TEST_F(ScriptEditorTest, NewScriptRefusesEmptyExistingAndImpossibleNamesAndAddsASelectedLastTab) {
  openWith({{"b", "B"}, {"d", "D"}});
  click(Control::NewScript);
  EXPECT_EQ(lastMessage().title, "Script Name?");
  EXPECT_EQ(lastMessage().text, "Please create a script name first.");

  kit_.type(Control::ScriptNameField, "d");
  click(Control::NewScript);
  EXPECT_EQ(lastMessage().title, "Wait!");
  EXPECT_EQ(lastMessage().text,
            "The \"d\" script already exist. Please rename the new script or delete the old one.");
  EXPECT_EQ(kit_.text(Control::ScriptNameField), "d");

  for (const char* name : {"a/b", ".", ".."}) {
    kit_.type(Control::ScriptNameField, name);
    click(Control::NewScript);
    EXPECT_EQ(lastMessage().text, R"(A script name cannot contain "/" or be "." or "..".)");
  }
  EXPECT_EQ(bytesOf("d"), "D");
  EXPECT_TRUE(refreshedLists_.empty());

  kit_.type(Control::ScriptNameField, "c");
  click(Control::NewScript);
  EXPECT_EQ(bytesOf("c"), "");
  EXPECT_EQ(tabTitles(), (Names{"b", "d", "c"}));
  EXPECT_EQ(selectedTab(), 2);
  EXPECT_EQ(savedTab(), "c");
  EXPECT_EQ(tabId("c"), editorOf(2));
  EXPECT_EQ(kit_.text(Control::ScriptNameField), "");
  EXPECT_FALSE(edited());
  // The main window's list is rebuilt once, in directory order.
  EXPECT_EQ(refreshedLists_, (std::vector<Names>{{"b", "c", "d"}}));
}

// Scripts that appear in the support directory while the window is open (the
// gallery, another program) get tabs after the others; the user's tab, edits
// and the tab of a script whose file has gone all stay.
TEST_F(ScriptEditorTest, ScriptsAddedToTheFolderGetTabsAndNothingElseChanges) {
  openWith({{"b", "B"}, {"d", "D"}});
  selectTab(1);
  typeInto(editorOf(0), "edited ");
  script("e", "E");
  script("c", "C");
  std::filesystem::remove(dir_.path() + "b.txt");
  editor_.addNewScripts();
  pump();
  EXPECT_EQ(tabTitles(), (Names{"b *", "d", "c", "e"}));
  EXPECT_EQ(selectedTab(), 1);
  EXPECT_EQ(kit_.text(editorOf(2)), "C");
  EXPECT_EQ(kit_.text(editorOf(3)), "E");
  EXPECT_EQ(kit_.text(editorOf(0)), "edited B");
  EXPECT_EQ(tabId("e"), editorOf(3));
  EXPECT_TRUE(edited());

  editor_.addNewScripts();
  EXPECT_EQ(tabTitles().size(), 4U);
}

TEST_F(ScriptEditorTest, AScriptAddedBesideThePlaceholderGetsATab) {
  openEditor();
  ASSERT_EQ(tabTitles().size(), 1U);
  script("a", "A");
  editor_.addNewScripts();
  ASSERT_EQ(tabTitles().size(), 2U);
  EXPECT_EQ(tabTitles()[1], "a");
  EXPECT_EQ(kit_.text(editorOf(1)), "A");
  EXPECT_EQ(selectedTab(), 0);
}

TEST_F(ScriptEditorTest, TagButtonsAndTypingAreHighlightedOnlyWhileTheWindowIsActive) {
  openWith({{"s", "ab"}});
  const int e = editorOf(0);
  kit_.selectInEditor(e, 1, 1);
  click(Control::TagExtension);
  EXPECT_EQ(kit_.text(e), "aov.Extension = ");
  EXPECT_TRUE(edited());
  EXPECT_EQ(tabTitles(), Names{"s *"});
  click(Control::TagImageHeight);
  EXPECT_EQ(kit_.text(e), "aov.Extension = ov.ImageHeight");

  // The list under the buttons inserts the word chosen and shows its name again.
  kit_.chooseListEntry(Control::TagMoreList, 1);
  pump();
  EXPECT_EQ(kit_.text(e), "aov.Extension = ov.ImageHeight" + std::string(kExactWords[0].name));
  EXPECT_EQ(kit_.state(Control::TagMoreList), 0);

  kit_.setText(e, "");
  typeInto(e, "ov.Repeat ov.ImageX ov.Until");
  EXPECT_EQ(kit_.control(e).colouring.background,
            (std::vector<ColourSpan>{{0, 28, {0, 0, 0, 0.4}}}));
  const int applied = kit_.control(e).colouringsApplied;
  kit_.insertText(e, " ");
  kit_.activate(Window::Main);
  pump();
  EXPECT_EQ(kit_.control(e).colouringsApplied, applied);
}

TEST_F(ScriptEditorTest, DeleteRefusesTheLastTabAndAsksBeforeRemovingAScriptAndItsEdits) {
  openWith({{"a", "A"}});
  click(Control::DeleteScript);
  EXPECT_EQ(lastMessage().title, "Wait!");
  EXPECT_TRUE(exists("a"));

  openWith({{"b", "B"}});
  typeInto(editorOf(0), "x");
  clickAnswering(Control::DeleteScript, MessageResult::No);
  EXPECT_EQ(lastMessage().title, "Delete Script?");
  EXPECT_EQ(lastMessage().text, "Are you sure you want to delete the \"a\" script?");
  EXPECT_TRUE(exists("a"));

  // Its edits go with it: the window is no longer marked and closes unasked.
  clickAnswering(Control::DeleteScript, MessageResult::Yes);
  EXPECT_FALSE(exists("a"));
  EXPECT_EQ(tabTitles(), Names{"b"});
  EXPECT_EQ(kit_.text(editorOf(0)), "B");
  EXPECT_EQ(savedTab(), "b");
  EXPECT_EQ(tabId("a"), -1);
  EXPECT_EQ(refreshedLists_, (std::vector<Names>{{"b"}}));
  EXPECT_FALSE(edited());
  requestClose();
  EXPECT_FALSE(editor_.isOpen());
  EXPECT_EQ(kit_.messages().size(), 3u);
}

TEST_F(ScriptEditorTest, SaveAsksToOverwriteAndWritesTheEditorAsLines) {
  openWith({{"s", "old\n"}});
  const int e = editorOf(0);
  kit_.setText(e, "");
  typeInto(e, "new\r\n");
  clickAnswering(Control::SaveScript, MessageResult::No);
  EXPECT_EQ(lastMessage().text, "Are you sure you want to overwrite the \"s\" script?");
  EXPECT_EQ(bytesOf("s"), "old\n");
  EXPECT_TRUE(edited());

  clickAnswering(Control::SaveScript, MessageResult::Yes);
  EXPECT_EQ(lastMessage().title, "Saved Script!");
  EXPECT_EQ(lastMessage().text, "The \"s\" script was saved.");
  EXPECT_EQ(bytesOf("s"), "new\n\n\n");  // CR LF counts as two endings
  EXPECT_FALSE(edited());

  kit_.setText(e, "");
  clickAnswering(Control::SaveScript, MessageResult::Yes);
  EXPECT_TRUE(exists("s"));
  EXPECT_EQ(bytesOf("s"), "");
}

TEST_F(ScriptEditorTest, ClosingAsksAboutEveryEditedScriptInTabOrderAndCancelKeepsTheRest) {
  openWith({{"a", "A"}, {"b", "B"}, {"c", "C"}});
  typeInto(editorOf(2), "edit ");
  typeInto(editorOf(0), "edit ");
  selectTab(1);
  EXPECT_EQ(tabTitles(), (Names{"a *", "b", "c *"}));
  const int64_t idA = tabId("a");
  // Yes saves the first, then Cancel stops before anything closes.
  kit_.answerMessage(MessageResult::Yes);
  kit_.answerMessage(MessageResult::Cancel);
  requestClose();
  EXPECT_TRUE(editor_.isOpen());
  EXPECT_EQ(bytesOf("a"), "edit A\n");
  EXPECT_EQ(kit_.text(editorOf(2)), "edit C");
  EXPECT_EQ(tabTitles(), (Names{"a", "b", "c *"}));
  EXPECT_TRUE(edited());
  EXPECT_TRUE(kit_.menuItem(MenuItem::SaveScript).enabled);
  EXPECT_EQ(tabId("a"), idA);

  kit_.answerMessage(MessageResult::No);
  requestClose();
  ASSERT_EQ(messageTitles(),
            (Names{"Save Script?", "Saved Script!", "Save Script?", "Save Script?"}));
  EXPECT_EQ(kit_.messages()[0].text,
            "The \"a\" script has been modified.\rDo you want to save it?");
  EXPECT_EQ(kit_.messages()[0].buttons, MessageButtons::YesNoCancel);
  EXPECT_NE(kit_.messages()[3].text.find("\"c\""), std::string::npos);
  EXPECT_EQ(bytesOf("b"), "B");
  EXPECT_EQ(bytesOf("c"), "C");
  EXPECT_FALSE(editor_.isOpen());
  EXPECT_FALSE(kit_.menuItem(MenuItem::SaveScript).enabled);
  EXPECT_FALSE(kit_.menuItem(MenuItem::DeleteScript).enabled);
  EXPECT_EQ(savedTab(), "b");
}

TEST_F(ScriptEditorTest, ControlsStandAtTheirPlacesAndMoveWithIntegerArithmetic) {
  openWith({{"a", ""}, {"b", ""}});
  EXPECT_EQ(kit_.window(Window::ScriptEditor).minimumWidth, 720);
  EXPECT_EQ(kit_.window(Window::ScriptEditor).minimumHeight, 540);
  EXPECT_EQ(kit_.geometry(Control::ScriptNameField), (Rect{90, 15, 150, 20}));
  EXPECT_EQ(kit_.geometry(Control::TabPanel), (Rect{5, 40, 555, 465}));
  EXPECT_EQ(kit_.geometry(Control::TagFrame), (Rect{565, 10, 145, 520}));
  EXPECT_EQ(kit_.geometry(Control::TagImageX), (Rect{570, 35, 135, 25}));
  EXPECT_EQ(kit_.geometry(Control::TagExtension), (Rect{570, 425, 135, 25}));
  EXPECT_EQ(kit_.text(Control::TagExtension), "ov.Extension");
  // Three points right of where the first resize puts them.
  EXPECT_EQ(kit_.geometry(Control::DeleteScript), (Rect{135, 505, 150, 25}));
  EXPECT_EQ(kit_.geometry(Control::SaveScript), (Rect{285, 505, 150, 25}));

  // An odd panel width: the buttons' places are halved downwards, three points
  // left of the positions the window is built with.
  kit_.resize(Window::ScriptEditor, 720, 600);
  EXPECT_EQ(kit_.geometry(Control::TabPanel), (Rect{5, 40, 555, 525}));
  EXPECT_EQ(kit_.geometry(Control::DeleteScript), (Rect{132, 565, 150, 25}));
  EXPECT_EQ(kit_.geometry(Control::SaveScript), (Rect{282, 565, 150, 25}));
  EXPECT_EQ(kit_.geometry(Control::TagFrame), (Rect{565, 10, 145, 580}));
  EXPECT_EQ(kit_.geometry(Control::TagExtension), (Rect{570, 425, 135, 25}));
  kit_.resize(Window::ScriptEditor, 900, 600);  // the list under the buttons moves with them
  EXPECT_EQ(kit_.geometry(Control::TagMoreList), (Rect{750, 455, 135, 25}));
  kit_.resize(Window::ScriptEditor, 720, 600);
  const Rect item{0, 0, kit_.itemWidth(Control::TabPanel), kit_.itemHeight(Control::TabPanel)};
  for (int tab : {0, 1}) EXPECT_EQ(kit_.geometry(editorOf(tab)), item) << tab;
  EXPECT_EQ(kit_.geometry(Control::NewScript), (Rect{245, 15, 40, 20}));
}

}  // namespace
}  // namespace oz
