#include "editor/find_bar.h"

#include <gtest/gtest.h>

#include "editor/find_text.h"
#include "editor/script_editor.h"
#include "testsupport/temp_dir.h"
#include "toolkit/fake_toolkit.h"

namespace oz {
namespace {

TEST(FindText, NextAndPreviousGoRoundTheEndsIgnoringAsciiCase) {
  const std::string_view text = "ov.Repeat\nov.ImageX OV.IMAGEX\nov.Until";
  // Next: from the end of the selection on; a selected match is passed over.
  EXPECT_EQ(findMatch(text, "ov.imagex", {0, 0}, FindDirection::Next), (FindMatch{{10, 9}, false}));
  EXPECT_EQ(findMatch(text, "ov.imagex", {10, 9}, FindDirection::Next),
            (FindMatch{{20, 9}, false}));
  EXPECT_EQ(findMatch(text, "ov.imagex", {20, 9}, FindDirection::Next), (FindMatch{{10, 9}, true}));
  // Previous: a match ending before the selection starts.
  EXPECT_EQ(findMatch(text, "ov.imagex", {20, 9}, FindDirection::Previous),
            (FindMatch{{10, 9}, false}));
  EXPECT_EQ(findMatch(text, "ov.imagex", {10, 9}, FindDirection::Previous),
            (FindMatch{{20, 9}, true}));
  EXPECT_EQ(findMatch(text, "until", {text.size(), 0}, FindDirection::Next),
            (FindMatch{{33, 5}, true}));
  // None at all, an empty or over-long needle.
  EXPECT_EQ(findMatch(text, "ov.Comma", {0, 0}, FindDirection::Next), std::nullopt);
  EXPECT_EQ(findMatch(text, "", {0, 0}, FindDirection::Previous), std::nullopt);
  EXPECT_EQ(findMatch("ab", "abc", {0, 0}, FindDirection::Next), std::nullopt);
  // Only ASCII folds: "É" is not "é", and a match keeps whole characters.
  EXPECT_EQ(findMatch("\xc3\x89t\xc3\xa9", "\xc3\xa9", {0, 0}, FindDirection::Next),
            (FindMatch{{3, 2}, false}));
}

// The bar in the Script Editor on the fake toolkit.
class FindBarTest : public ::testing::Test {
 protected:
  FindBarTest() {
    kit_.openWindow(Window::Main, "Orvane Zozivi", 340, 425, {});
    const int menu = kit_.addMenu("Script");
    kit_.addMenuItem(menu, MenuItem::SaveScript, "Save Script\tCmd+S", false);
    kit_.addMenuItem(menu, MenuItem::DeleteScript, "Delete Script\tCmd+\b", false);
    settings_.open(support_.settingsPath());
    testing::writeFile(support_.file("A.txt"), "one\ntwo\nOne more\n");
    testing::writeFile(support_.file("B.txt"), "zero\none\n");
    editor_.open();
    pump();
  }
  void pump() {
    while (std::optional<Event> event = kit_.pollEvent()) {
      EXPECT_TRUE(editor_.handleEvent(*event)) << "event for " << event->number;
    }
  }
  void key(FieldKey key) {
    kit_.pressFieldKey(Control::FindField, key);
    pump();
  }
  TextRange selected(int editor) const { return kit_.selection(editor); }
  std::string status() const { return kit_.text(Control::FindStatus); }

  FakeToolkit kit_{[](const std::string& m) { ADD_FAILURE() << m; }};
  testing::ScopedTempDir supportDir_;
  SupportDir support_{supportDir_.path()};
  SettingsStore settings_;
  ScriptEditor editor_{kit_, settings_, support_, [] {}};
  const int editorA_ = Control::FirstEditor;
  const int editorB_ = Control::FirstFree;
};

TEST_F(FindBarTest, FindsNextAndPreviousInTheCurrentTabWithoutEditing) {
  kit_.selectTab(Control::TabPanel, 0);
  pump();
  const std::string textBefore = kit_.text(editorA_);

  // F3 with nothing searched yet opens the bar.
  editor_.findNext();
  ASSERT_TRUE(kit_.hasControl(Control::FindField));
  EXPECT_TRUE(kit_.control(Control::FindField).findField);
  EXPECT_EQ(kit_.focusedControl(), Control::FindField);

  kit_.type(Control::FindField, "one");
  key(FieldKey::Return);
  EXPECT_EQ(selected(editorA_), (TextRange{0, 3}));
  EXPECT_EQ(status(), "");
  EXPECT_GT(kit_.control(editorA_).selectionsShown, 0);
  editor_.findNext();                                // F3
  EXPECT_EQ(selected(editorA_), (TextRange{8, 3}));  // "One", either case
  editor_.findNext();
  EXPECT_EQ(selected(editorA_), (TextRange{0, 3}));
  EXPECT_EQ(status(), "Wrapped");
  key(FieldKey::ShiftReturn);
  EXPECT_EQ(selected(editorA_), (TextRange{8, 3}));
  editor_.findPrevious();  // Shift+F3
  EXPECT_EQ(selected(editorA_), (TextRange{0, 3}));
  EXPECT_EQ(status(), "");

  // A miss says so in the bar, changes no selection and asks nothing.
  kit_.type(Control::FindField, "three");
  key(FieldKey::Return);
  EXPECT_EQ(status(), "Not found");
  EXPECT_EQ(selected(editorA_), (TextRange{0, 3}));
  EXPECT_TRUE(kit_.messages().empty());

  // Escape closes the bar and goes back to the editor; the text is kept.
  kit_.type(Control::FindField, "one");
  key(FieldKey::Escape);
  EXPECT_FALSE(kit_.hasControl(Control::FindField));
  EXPECT_EQ(kit_.focusedControl(), editorA_);

  // Finding is no edit.
  EXPECT_EQ(kit_.text(editorA_), textBefore);
  EXPECT_FALSE(kit_.isEdited(Window::ScriptEditor));
  EXPECT_EQ(kit_.control(Control::TabPanel).tabs, (std::vector<std::string>{"A", "B"}));

  // Another tab: F3 searches its editor for the remembered text, bar closed.
  kit_.selectTab(Control::TabPanel, 1);
  pump();
  editor_.findNext();
  EXPECT_FALSE(kit_.hasControl(Control::FindField));
  EXPECT_EQ(selected(editorB_), (TextRange{5, 3}));
  EXPECT_EQ(selected(editorA_), (TextRange{0, 3}));
  // A miss with the bar closed opens it to say so.
  kit_.selectInEditor(editorB_, 0, 0);
  editor_.find();  // Ctrl+F shows the remembered text
  EXPECT_EQ(kit_.text(Control::FindField), "one");
  kit_.type(Control::FindField, "two");
  key(FieldKey::Escape);
  editor_.findNext();
  ASSERT_TRUE(kit_.hasControl(Control::FindField));
  EXPECT_EQ(status(), "Not found");
  EXPECT_EQ(kit_.text(Control::FindField), "two");

  // The text outlives the window; the bar does not.
  kit_.requestClose(Window::ScriptEditor);
  pump();
  editor_.open();
  pump();
  EXPECT_FALSE(kit_.hasControl(Control::FindField));
  kit_.selectTab(Control::TabPanel, 0);
  pump();
  kit_.selectInEditor(editorA_, 0, 0);
  editor_.findNext();
  EXPECT_EQ(selected(editorA_), (TextRange{4, 3}));
  EXPECT_FALSE(kit_.isEdited(Window::ScriptEditor));
}

}  // namespace
}  // namespace oz
