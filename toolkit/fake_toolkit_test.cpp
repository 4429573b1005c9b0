#include "toolkit/fake_toolkit.h"

#include <gtest/gtest.h>

#include "testsupport/temp_dir.h"

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

TEST_F(FakeToolkitTest, AnswersComeFromTheScriptAndMistakesAreReported) {
  tk_.answerFolder("/frames");
  tk_.answerMessage(MessageResult::Yes);
  EXPECT_EQ(tk_.chooseFolder("Select a folder of png images...", "/last/"), "/frames/");
  EXPECT_EQ(tk_.requesters().back().startFolder, "/last/");
  EXPECT_EQ(
      tk_.messageBox("Exported!", "Your file(s) have been saved to disk.", MessageButtons::Ok),
      MessageResult::Ok);
  EXPECT_EQ(tk_.messageBox("Preview?", "Would you like to preview?", MessageButtons::YesNo),
            MessageResult::Yes);
  ASSERT_EQ(tk_.messages().size(), 2u);
  EXPECT_EQ(tk_.messages()[1].answer, MessageResult::Yes);
  EXPECT_TRUE(failures_.empty());

  // Unanswered, or answered Cancel where no Cancel is offered, a question is No.
  EXPECT_EQ(tk_.messageBox("Delete Script?", "Sure?", MessageButtons::YesNo), MessageResult::No);
  tk_.answerMessage(MessageResult::Cancel);
  EXPECT_EQ(tk_.messageBox("Delete Script?", "Sure?", MessageButtons::YesNo), MessageResult::No);
  tk_.answerSaveFile("/x.png");
  EXPECT_EQ(tk_.chooseFolder("folder", ""), "");  // the next answer is for a save requester
  EXPECT_EQ(tk_.chooseSaveFile("Save", ".png", "PNG (*.png)|*.png", ""), "/x.png");
  EXPECT_EQ(failures_.size(), 3u);
}

TEST(FakeToolkit, UnusedAnswersAndAnEmptyQueueAreFailures) {
  std::vector<std::string> failures;
  {
    FakeToolkit tk([&](const std::string& m) { failures.push_back(m); });
    tk.answerMessage(MessageResult::No);
    // A Quit, which ends the program's loop.
    EXPECT_EQ(tk.waitEvent(), (Event{EventKind::MenuItem, MenuItem::Quit, tk.activeWindow()}));
  }
  ASSERT_EQ(failures.size(), 2u);
  EXPECT_NE(failures[1].find("never used"), std::string::npos);
}

// What a user could not do on a real desktop is a mistake in the test, and so
// is text that is not UTF-8, which a real toolkit would give back as U+FFFD.
TEST_F(FakeToolkitTest, DisabledOrHiddenControlsFixedSizesAndTextThatIsNotUtf8AreMistakes) {
  tk_.createTextField(Window::Main, Control::ImageFolderField, {}, "");
  tk_.setText(Control::ImageFolderField, "caf\xC3\xA9");
  EXPECT_TRUE(failures_.empty());
  tk_.setText(Control::ImageFolderField, "caf\xE9");
  tk_.createButton(Window::Main, Control::Create, {}, "Create");
  tk_.createCheckBox(Window::Main, Control::RemoveAlpha, {}, "Remove Alpha");
  tk_.setEnabled(Control::Create, false);
  tk_.setVisible(Control::RemoveAlpha, false);
  tk_.addMenu("File");
  tk_.addMenuItem(0, MenuItem::CreateSprite, "Create Sprite\t\r", false);
  tk_.click(Control::Create);
  tk_.click(Control::RemoveAlpha);
  tk_.chooseMenuItem(MenuItem::CreateSprite);
  tk_.resize(Window::Main, 400, 400);  // not resizable
  EXPECT_EQ(failures_.size(), 5u);
  EXPECT_EQ(tk_.clientWidth(Window::Main), 340);
  EXPECT_TRUE(drain().empty());
  EXPECT_EQ(tk_.state(Control::RemoveAlpha), 0);
}

// As the real toolkit: only a folder is watched.
TEST_F(FakeToolkitTest, OnlyAFolderIsWatched) {
  testing::ScopedTempDir dir;
  testing::writeFile(dir.path() + "file", "");
  for (const std::string& path : {dir.path(), dir.path() + "file", dir.path() + "missing/"}) {
    tk_.watchFolder(path);
    tk_.changeFolder(path);
  }
  EXPECT_EQ(drain(), (std::vector<Event>{{EventKind::FolderChanged, 0, Window::None}}));
  EXPECT_EQ(failures_.size(), 2u);
}

}  // namespace
}  // namespace oz
