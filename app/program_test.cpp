#include "app/program.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "store/support_dir.h"
#include "testsupport/temp_dir.h"
#include "toolkit/fake_toolkit.h"

namespace oz {
namespace {

// A fake whose user takes the next step whenever the program waits with
// nothing queued, that is once the window is built and after each action has
// been handled.
class SessionToolkit : public FakeToolkit {
 public:
  using Step = std::function<void(FakeToolkit&)>;

  explicit SessionToolkit(std::vector<Step> steps)
      : FakeToolkit([](const std::string& m) { ADD_FAILURE() << m; }), steps_(std::move(steps)) {}

  Event waitEvent() override {
    while (queuedEvents().empty() && next_ < steps_.size()) steps_[next_++](*this);
    return FakeToolkit::waitEvent();
  }

 private:
  std::vector<Step> steps_;
  size_t next_ = 0;
};

class ProgramTest : public ::testing::Test {
 protected:
  ProgramTest() {
    mkdir((home_.path() + "Library").c_str(), 0700);
    mkdir((home_.path() + "Library/Application Support").c_str(), 0700);
  }

  // One run of the program, the user taking `steps` one after another.
  void session(std::vector<SessionToolkit::Step> steps) {
    SessionToolkit toolkit(std::move(steps));
    EXPECT_EQ(runProgram(toolkit, home_.path(), kVersionCodeLatest), 0);
    lastScriptList_ = toolkit.control(Control::ScriptList).entries;
    lastColumns_ = toolkit.text(Control::ColumnsField);
    lastDepth_ = toolkit.state(Control::DepthList);
  }

  std::string settingsBytes() const { return testing::readFile(support_.settingsPath()); }

  testing::ScopedTempDir home_;
  SupportDir support_ = supportDirFor(kVersionCodeLatest, home_.path());
  std::vector<std::string> lastScriptList_;
  std::string lastColumns_;
  int lastDepth_ = -1;
};

void quit(FakeToolkit& t) { t.chooseMenuItem(MenuItem::Quit); }
void closeMainWindow(FakeToolkit& t) { t.requestClose(Window::Main); }

// A session of option changes, ended by `last`.
std::vector<SessionToolkit::Step> changeEveryOptionThen(SessionToolkit::Step last) {
  return {[](FakeToolkit& t) { t.type(Control::ColumnsField, "7"); },
          [](FakeToolkit& t) { t.click(Control::Strip); },
          [](FakeToolkit& t) { t.chooseListEntry(Control::DepthList, 2); },
          [](FakeToolkit& t) { t.click(Control::Dithering); },
          [](FakeToolkit& t) { t.click(Control::Pink); },
          [](FakeToolkit& t) { t.click(Control::Retina); },
          [](FakeToolkit& t) { t.click(Control::PowerOf2); },
          [](FakeToolkit& t) { t.setSpinValue(Control::SpriteNumber, 12); },
          std::move(last)};
}

TEST_F(ProgramTest, FirstRunSeedsTheFolderAndAnUntouchedQuitLeavesTheFileEmpty) {
  session({quit});
  EXPECT_EQ(settingsBytes(), "");
  EXPECT_TRUE(testing::fileExists(support_.settingsPath()));
  // The five example scripts, in whatever order the folder lists them.
  EXPECT_EQ(lastScriptList_.size(), 6u);
  EXPECT_EQ(lastScriptList_[0], "Select a script...");
  EXPECT_NE(std::find(lastScriptList_.begin(), lastScriptList_.end(), "Clipboard"),
            lastScriptList_.end());
}

TEST_F(ProgramTest, ClosingTheWindowWritesEveryChangedOptionAndTheColumns) {
  session(changeEveryOptionThen(closeMainWindow));
  EXPECT_EQ(settingsBytes(),
            "\xEF\xBB\xBF\n"
            "[Settings]\n"
            "Strip = 1\n"
            "Sheet = 0\n"
            "Color Depth = 2\n"
            "Dithering = 1\n"
            "Pink = 1\n"
            "Black = 0\n"
            "Retina = 1\n"
            "Power of 2 = 1\n"
            "Sprite Number = 12\n"
            "Columns = 7\n");

  session({quit});
  EXPECT_EQ(lastColumns_, "7");
  EXPECT_EQ(lastDepth_, 2);
}

TEST_F(ProgramTest, QuitWritesTheOptionsButNotTheColumns) {
  session(changeEveryOptionThen(quit));
  const std::string bytes = settingsBytes();
  EXPECT_NE(bytes.find("Sprite Number = 12\n"), std::string::npos);
  EXPECT_EQ(bytes.find("Columns"), std::string::npos);

  session({quit});
  EXPECT_EQ(lastColumns_, "4");
}

TEST_F(ProgramTest, EndsWithStatusZeroWhenTheSupportFolderCannotBeMade) {
  // A file named "Library" stands where the folders would go: the program
  // still runs, from the defaults.
  const std::string home = home_.path() + "blocked/";
  mkdir(home.c_str(), 0700);
  testing::writeFile(home + "Library", "");
  SessionToolkit toolkit({closeMainWindow});
  EXPECT_EQ(runProgram(toolkit, home, kVersionCodeLatest), 0);
  EXPECT_EQ(toolkit.control(Control::ScriptList).entries.size(), 1u);
  EXPECT_EQ(toolkit.text(Control::ColumnsField), "4");
}

}  // namespace
}  // namespace oz
