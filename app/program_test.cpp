#include "app/program.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
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
    lastColumns_ = toolkit.text(Control::ColumnsField);
    lastDepth_ = toolkit.state(Control::DepthList);
  }

  testing::ScopedTempDir home_;
  SupportDir support_ = supportDirFor(kVersionCodeLatest, home_.path());
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

// Both ways out write every changed option; only the close button the columns.
TEST_F(ProgramTest, EndingWritesEveryChangedOptionAndTheCloseButtonTheColumns) {
  const std::string options =
      "\xEF\xBB\xBF\n[Settings]\nStrip = 1\nSheet = 0\nColor Depth = 2\nDithering = 1\nPink = 1\n"
      "Black = 0\nRetina = 1\nPower of 2 = 1\nSprite Number = 12\n";
  const struct {
    SessionToolkit::Step last;
    std::string written, columnsNextTime;
  } cases[] = {{quit, options, "4"}, {closeMainWindow, options + "Columns = 7\n", "7"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.columnsNextTime);
    std::remove(support_.settingsPath().c_str());
    session(changeEveryOptionThen(c.last));
    EXPECT_EQ(testing::readFile(support_.settingsPath()), c.written);
    session({quit});
    EXPECT_EQ(lastColumns_, c.columnsNextTime);
    EXPECT_EQ(lastDepth_, 2);
  }
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
