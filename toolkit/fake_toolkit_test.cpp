#include "toolkit/fake_toolkit.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

class FakeToolkitTest : public ::testing::Test {
 protected:
  FakeToolkitTest() : tk_([this](const std::string& m) { failures_.push_back(m); }) {
    tk_.openWindow(Window::Main, "Main", 340, 425, {});
  }

  std::vector<Event> drain() {
    std::vector<Event> events;
    while (std::optional<Event> e = tk_.pollEvent()) events.push_back(*e);
    return events;
  }

  std::vector<std::string> failures_;
  FakeToolkit tk_;
};

TEST_F(FakeToolkitTest, PostedEventIsQueuedOnceWhenRepeatedButClicksAreNot) {
  tk_.createButton(Window::Main, Control::Create, {100, 390, 140, 25}, "Create");
  tk_.createButton(Window::Main, Control::ImageFolderButton, {300, 10, 34, 22}, "...");
  tk_.postControlEvent(Control::Create);
  tk_.postControlEvent(Control::Create);
  tk_.postControlEvent(Control::ImageFolderButton);
  tk_.postControlEvent(Control::Create);
  tk_.click(Control::Create);
  tk_.click(Control::Create);
  const Event create{EventKind::Control, Control::Create, Window::Main};
  const Event folder{EventKind::Control, Control::ImageFolderButton, Window::Main};
  EXPECT_EQ(drain(), (std::vector<Event>{create, folder, create, create, create}));
  EXPECT_TRUE(failures_.empty());
}

TEST_F(FakeToolkitTest, ConsecutiveOptionsFormOneExclusiveGroup) {
  tk_.createOption(Window::Main, Control::Strip, {}, "Strip");
  tk_.createOption(Window::Main, Control::Sheet, {}, "Sheet");
  tk_.createGroupFrame(Window::Main, Control::BackgroundFrame, {}, "Background Color");
  tk_.createOption(Window::Main, Control::Pink, {}, "RGB 255 0 255");
  tk_.createOption(Window::Main, Control::Black, {}, "RGB 0 0 0");
  tk_.setState(Control::Sheet, 1);
  tk_.setState(Control::Pink, 1);
  tk_.click(Control::Strip);
  EXPECT_EQ(tk_.state(Control::Strip), 1);
  EXPECT_EQ(tk_.state(Control::Sheet), 0);
  EXPECT_EQ(tk_.state(Control::Pink), 1);  // another group
  tk_.setState(Control::Black, 1);
  EXPECT_EQ(tk_.state(Control::Pink), 0);
  EXPECT_EQ(tk_.state(Control::Strip), 1);
  EXPECT_EQ(drain(), (std::vector<Event>{{EventKind::Control, Control::Strip, Window::Main}}));
}

TEST_F(FakeToolkitTest, ProgramChangesRaiseNoEventsButUserChoicesDo) {
  tk_.createList(Window::Main, Control::ScriptList, {});
  tk_.addListEntry(Control::ScriptList, "Select a script...");
  tk_.addListEntry(Control::ScriptList, "plist");
  tk_.setState(Control::ScriptList, 1);
  tk_.createSpinField(Window::Main, Control::SpriteNumber, {}, 0, 9999);
  tk_.setState(Control::SpriteNumber, 12);
  EXPECT_TRUE(drain().empty());
  EXPECT_EQ(tk_.text(Control::ScriptList), "plist");

  tk_.chooseListEntry(Control::ScriptList, 0);
  tk_.setSpinValue(Control::SpriteNumber, 10000);
  EXPECT_EQ(drain().size(), 2u);
  EXPECT_EQ(tk_.text(Control::ScriptList), "Select a script...");
  EXPECT_EQ(tk_.state(Control::SpriteNumber), 9999);
  EXPECT_EQ(tk_.text(Control::SpriteNumber), "9999");
  tk_.setText(Control::SpriteNumber, "42");
  EXPECT_EQ(tk_.state(Control::SpriteNumber), 42);
  tk_.setText(Control::SpriteNumber, "4x");
  EXPECT_EQ(tk_.state(Control::SpriteNumber), 42);
  EXPECT_TRUE(drain().empty());
  tk_.type(Control::SpriteNumber, "7");  // typed text sets the value, as the arrows do
  EXPECT_EQ(tk_.state(Control::SpriteNumber), 7);
  EXPECT_EQ(drain().size(), 1u);
}

TEST_F(FakeToolkitTest, AnswersComeFromTheScriptAndMistakesAreReported) {
  tk_.answerFolder("/frames");
  tk_.answerMessage(MessageResult::Yes);
  EXPECT_EQ(tk_.chooseFolder("Select a folder of png images..."), "/frames/");
  EXPECT_EQ(
      tk_.messageBox("Exported!", "Your file(s) have been saved to disk.", MessageButtons::Ok),
      MessageResult::Ok);
  EXPECT_EQ(tk_.messageBox("Preview?", "Would you like to preview?", MessageButtons::YesNo),
            MessageResult::Yes);
  ASSERT_EQ(tk_.messages().size(), 2u);
  EXPECT_EQ(tk_.messages()[1].answer, MessageResult::Yes);
  EXPECT_TRUE(failures_.empty());

  EXPECT_EQ(tk_.messageBox("Delete Script?", "Sure?", MessageButtons::YesNo), MessageResult::No);
  tk_.answerSaveFile("/x.png");
  EXPECT_EQ(tk_.chooseFolder("folder"), "");  // the next answer is for a save requester
  EXPECT_EQ(tk_.chooseSaveFile("Save", ".png", "PNG (*.png)|*.png"), "/x.png");
  EXPECT_EQ(failures_.size(), 2u);
}

TEST_F(FakeToolkitTest, CancelAnswersOnlyAQuestionThatOffersIt) {
  tk_.answerMessage(MessageResult::Cancel);
  EXPECT_EQ(tk_.messageBox("Save Script?", "Modified.", MessageButtons::YesNoCancel),
            MessageResult::Cancel);
  EXPECT_TRUE(failures_.empty());
  tk_.answerMessage(MessageResult::Cancel);
  EXPECT_EQ(tk_.messageBox("Delete Script?", "Sure?", MessageButtons::YesNo), MessageResult::No);
  EXPECT_EQ(failures_.size(), 1u);
}

// A real toolkit would show U+FFFD for such bytes and give that back.
TEST_F(FakeToolkitTest, TextThatIsNotUtf8IsAFailure) {
  tk_.createTextField(Window::Main, Control::ImageFolderField, {}, "");
  tk_.setText(Control::ImageFolderField, "caf\xC3\xA9");
  EXPECT_TRUE(failures_.empty());
  tk_.setText(Control::ImageFolderField, "caf\xE9");
  EXPECT_EQ(failures_.size(), 1u);
}

TEST(FakeToolkit, UnusedAnswersAndAnEmptyQueueAreFailures) {
  std::vector<std::string> failures;
  {
    FakeToolkit tk([&](const std::string& m) { failures.push_back(m); });
    tk.answerMessage(MessageResult::No);
    const Event e = tk.waitEvent();
    EXPECT_EQ(e.kind, EventKind::MenuItem);  // a Quit that ends the program's loop
    EXPECT_EQ(e.number, MenuItem::Quit);
  }
  ASSERT_EQ(failures.size(), 2u);
  EXPECT_NE(failures[1].find("never used"), std::string::npos);
}

TEST_F(FakeToolkitTest, DisabledOrHiddenControlsAndMenuItemsCannotBeUsed) {
  tk_.createButton(Window::Main, Control::Create, {}, "Create");
  tk_.createCheckBox(Window::Main, Control::RemoveAlpha, {}, "Remove Alpha");
  tk_.setEnabled(Control::Create, false);
  tk_.setVisible(Control::RemoveAlpha, false);
  tk_.addMenu("File");
  tk_.addMenuItem(0, MenuItem::CreateSprite, "Create Sprite\t\r", false);
  tk_.click(Control::Create);
  tk_.click(Control::RemoveAlpha);
  tk_.chooseMenuItem(MenuItem::CreateSprite);
  EXPECT_EQ(failures_.size(), 3u);
  EXPECT_TRUE(drain().empty());
  EXPECT_EQ(tk_.state(Control::RemoveAlpha), 0);
}

TEST_F(FakeToolkitTest, TypingIntoAnEditorReplacesTheSelectionAndIsAnEdit) {
  tk_.openWindow(Window::ScriptEditor, "Script Editor", 720, 540, {});
  tk_.createTabPanel(Window::ScriptEditor, Control::TabPanel, {5, 40, 555, 465});
  tk_.addTab(Control::TabPanel, " ");
  tk_.createEditor(Control::TabPanel, 0, Control::FirstEditor, {});
  tk_.setText(Control::FirstEditor, "abc");
  tk_.insertText(Control::FirstEditor, "X");  // a loaded text has the caret at its start
  EXPECT_EQ(tk_.text(Control::FirstEditor), "Xabc");
  tk_.setText(Control::FirstEditor, "ov.ImageX ov.ImageY");
  drain();
  tk_.selectInEditor(Control::FirstEditor, 10, 9);
  tk_.type(Control::FirstEditor, "ov.Until");
  tk_.insertText(Control::FirstEditor, "!");
  EXPECT_EQ(tk_.text(Control::FirstEditor), "ov.ImageX ov.Until!");
  // Two edits in a row of one editor are one notification.
  EXPECT_EQ(
      drain(),
      (std::vector<Event>{{EventKind::TextChanged, Control::FirstEditor, Window::ScriptEditor}}));
}

TEST_F(FakeToolkitTest, RemovingTabsMovesTheSelectionAndTakesTheirEditors) {
  tk_.openWindow(Window::ScriptEditor, "Script Editor", 720, 540, {});
  tk_.createTabPanel(Window::ScriptEditor, Control::TabPanel, {5, 40, 555, 465});
  for (const char* title : {"a", "b", "c"}) {
    tk_.addTab(Control::TabPanel, title);
    tk_.createEditor(Control::TabPanel, tk_.tabCount(Control::TabPanel) - 1,
                     Control::FirstFree + tk_.tabCount(Control::TabPanel), {});
  }
  const Event changed{EventKind::TabChanged, Control::TabPanel, Window::ScriptEditor};
  EXPECT_EQ(drain(), std::vector<Event>{changed});  // the first tab was selected
  tk_.setState(Control::TabPanel, 2);
  tk_.removeTab(Control::TabPanel, 2);  // the last, selected: its left neighbour follows
  EXPECT_EQ(drain(), std::vector<Event>{changed});
  EXPECT_EQ(tk_.text(Control::TabPanel), "b");
  EXPECT_FALSE(tk_.hasControl(Control::FirstFree + 3));
  tk_.removeTab(Control::TabPanel, 0);  // before the selection: same tab, new index
  EXPECT_EQ(tk_.state(Control::TabPanel), 0);
  EXPECT_EQ(tk_.text(Control::TabPanel), "b");
  EXPECT_EQ(tk_.control(Control::FirstFree + 2).tab, 0);
  EXPECT_EQ(drain(), std::vector<Event>{changed});
  EXPECT_TRUE(failures_.empty());
}

TEST_F(FakeToolkitTest, ReopeningAWindowDropsItsControlsAndResizeKeepsTheMinimum) {
  WindowStyle resizable;
  resizable.resizable = true;
  tk_.openWindow(Window::Help, "Help", 1024, 620, resizable);
  tk_.createRichText(Window::Help, Control::HelpText, {10, 10, 1004, 600}, "<p>x</p>");
  tk_.setMinimumSize(Window::Help, 100, 100);
  std::vector<int> resized;
  tk_.setResizeHandler([&](int window) { resized.push_back(window); });
  tk_.resize(Window::Help, 50, 150);
  EXPECT_EQ(tk_.clientWidth(Window::Help), 100);
  EXPECT_EQ(tk_.clientHeight(Window::Help), 150);
  EXPECT_EQ(resized, std::vector<int>{Window::Help});
  tk_.resize(Window::Main, 400, 400);  // not resizable
  EXPECT_EQ(failures_.size(), 1u);

  tk_.openWindow(Window::Help, "Help", 1024, 620, resizable);
  EXPECT_FALSE(tk_.hasControl(Control::HelpText));
  EXPECT_EQ(tk_.activeWindow(), Window::Help);
  tk_.closeWindow(Window::Help);
  EXPECT_EQ(tk_.activeWindow(), Window::Main);
}

}  // namespace
}  // namespace oz
