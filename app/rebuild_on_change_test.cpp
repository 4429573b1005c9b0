// "Rebuild on Change" on the fake toolkit over real files: the changes come
// through a real inotify watch, the settling time through the test's clock
// and the fake's timer.
#include "app/rebuild_on_change.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "app/window_fixture.h"
#include "sheet/png/png_read.h"

namespace oz {
namespace {

using std::chrono::milliseconds;

constexpr const char* kListing =
    "ov.Extension = \".txt\"\nov.Repeat\nov.ImageName ov.ImageX\nov.Until = ov.ImageCount\n";

class RebuildOnChangeTest : public WindowFixture {
 protected:
  // Three frames and a window ready to build them in two columns, with a
  // script beside the sheet.
  void prepare() {
    addScript("Listing", kListing);
    for (const char* name : {"f1.png", "f2.png", "f3.png"}) writeFrame(name, 200);
    start();
    toolkit_.type(Control::ColumnsField, "2");
    chooseFolderAndSheet(frames_, sheet_);
    choose(Control::ScriptList, 1);
    toolkit_.type(Control::ScriptPathField, script_);
  }
  // The frames built once with "Create".
  void create() {
    prepare();
    pressCreate();
  }
  void pressCreate() {
    toolkit_.answerMessage(MessageResult::No);
    click(Control::Create);
    ASSERT_EQ(toolkit_.messages().size(), 2u);  // "Exported!" and "Preview?"
  }

  // The changes seen, their settling time passed, and what the rebuild did.
  void settle() {
    runQueued();
    ASSERT_TRUE(toolkit_.timers().count(Timer::Rebuild));
    now_ += milliseconds(toolkit_.timers().at(Timer::Rebuild).milliseconds);
    toolkit_.fireTimer(Timer::Rebuild);
    runQueued();
  }

  // The status label less its time of day.
  std::string status() const {
    static const std::regex kTime(R"( at \d\d:\d\d:\d\d)");
    return std::regex_replace(toolkit_.text(Control::RebuildStatus), kTime, " at T");
  }
  bool checked() const { return toolkit_.isMenuItemChecked(MenuItem::RebuildOnChange); }

  std::string sheet_ = temp_.path() + "walk.png";
  std::string script_ = temp_.path() + "walk.txt";
};

TEST_F(RebuildOnChangeTest, RebuildsWithTheLastCreatesChoicesWithoutAsking) {
  prepare();
  EXPECT_FALSE(toolkit_.isMenuItemEnabled(MenuItem::RebuildOnChange));
  pressCreate();
  EXPECT_TRUE(toolkit_.isMenuItemEnabled(MenuItem::RebuildOnChange));
  EXPECT_EQ(status(), "");

  // Turned on, it builds at once: nothing changed since the Create.
  const testing::FileStamp created = testing::fileStamp(sheet_);
  menu(MenuItem::RebuildOnChange);
  EXPECT_TRUE(checked());
  EXPECT_EQ(status(), "Rebuilt at T: unchanged");
  EXPECT_EQ(testing::fileStamp(sheet_), created);

  // Later changes to the controls do not reach it: the Create's choices do.
  click(Control::Strip);
  writeFrame("f4.png", 90);
  settle();
  EXPECT_EQ(status(), "Rebuilt at T: written");
  EXPECT_EQ(readPngSize(sheet_), (PngSize{20, 40}));
  EXPECT_EQ(testing::readFile(script_), "f1 0\nf2 10\nf3 0\nf4 10\n");
  EXPECT_TRUE(toolkit_.isMenuItemEnabled(MenuItem::SheetPreview));
  EXPECT_EQ(toolkit_.messages().size(), 2u);  // no "Exported!", no "Preview?"

  // Turned off, the changes are no longer watched.
  menu(MenuItem::RebuildOnChange);
  EXPECT_FALSE(checked());
  EXPECT_EQ(status(), "");
  writeFrame("f5.png", 90);
  runQueued();
  EXPECT_FALSE(toolkit_.timers().count(Timer::Rebuild));
  EXPECT_EQ(testing::readFile(script_), "f1 0\nf2 10\nf3 0\nf4 10\n");
}

// Each change within the settling time of the one before pushes the build
// back; the two make one build.
TEST_F(RebuildOnChangeTest, ChangesWithinTheSettlingTimeMakeOneBuild) {
  create();
  menu(MenuItem::RebuildOnChange);
  writeFrame("f4.png", 90);
  runQueued();
  EXPECT_EQ(toolkit_.timers().at(Timer::Rebuild).milliseconds, 200);
  now_ += milliseconds(150);
  writeFrame("f5.png", 90);
  runQueued();
  now_ += milliseconds(100);
  toolkit_.fireTimer(Timer::Rebuild);  // the first change's time, not the second's
  runQueued();
  EXPECT_EQ(status(), "Rebuilt at T: unchanged");
  EXPECT_EQ(toolkit_.timers().at(Timer::Rebuild).milliseconds, 100);
  settle();
  EXPECT_EQ(status(), "Rebuilt at T: written");
  EXPECT_EQ(testing::readFile(script_), "f1 0\nf2 10\nf3 0\nf4 10\nf5 0\n");
}

// A frame caught half-written is shown once, however often it is saved so;
// once a rebuild went through, the next problem is news again.
TEST_F(RebuildOnChangeTest, AProblemIsShownOnceUntilARebuildGoesThrough) {
  create();
  menu(MenuItem::RebuildOnChange);
  const std::string whole = testing::readFile(frames_ + "f1.png");
  for (int save = 0; save < 3; ++save) {
    testing::writeFile(frames_ + "f4.png", whole.substr(0, whole.size() / 2 + save));
    settle();
    EXPECT_EQ(status(), "Not rebuilt at T: Image Size Error!");
  }
  ASSERT_EQ(toolkit_.messages().size(), 3u);
  EXPECT_EQ(toolkit_.messages()[2].title, "Image Size Error!");
  EXPECT_NE(toolkit_.messages()[2].details.find("\"f4.png\""), std::string::npos);

  testing::writeFile(frames_ + "f4.png", whole);
  settle();
  EXPECT_EQ(status(), "Rebuilt at T: written");
  testing::writeFile(frames_ + "f4.png", "");
  settle();
  EXPECT_EQ(toolkit_.messages().size(), 4u);
}

// The build's notes are counted in the status and told in its tip, anew at
// each rebuild, without a box: a box at every save would be too many.
TEST_F(RebuildOnChangeTest, BuildNotesAreCountedInTheStatusAndToldInItsTip) {
  testing::writeFile(support_.settingsPath(), "[Settings]\nAnimations = folders\n");
  prepare();
  mkdir((frames_ + "idle").c_str(), 0700);
  toolkit_.answerMessage(MessageResult::No);
  click(Control::Create);
  ASSERT_EQ(toolkit_.messages().size(), 3u);  // the note, "Exported!" and "Preview?"
  menu(MenuItem::RebuildOnChange);
  EXPECT_EQ(status(), "Rebuilt at T: unchanged, 1 note");
  const std::string idle =
      "The subfolder \"idle\" holds no PNG frames, so no animation comes of it.";
  EXPECT_EQ(toolkit_.control(Control::RebuildStatus).toolTip, idle);

  mkdir((frames_ + "run").c_str(), 0700);
  writeFrame("f4.png", 90);
  settle();
  EXPECT_EQ(status(), "Rebuilt at T: written, 1 note");
  EXPECT_EQ(toolkit_.control(Control::RebuildStatus).toolTip,
            "2 subfolders hold no PNG frames, so no animation comes of them.\n\"idle\", \"run\".");
  EXPECT_EQ(toolkit_.messages().size(), 3u);

  // The subfolders' frames are watched too, the new one's as well.
  writeFrame("run/r1.png", 90);
  settle();
  EXPECT_EQ(status(), "Rebuilt at T: written, 1 note");
  EXPECT_EQ(toolkit_.control(Control::RebuildStatus).toolTip,
            "The subfolder \"idle\" holds no PNG frames, so no animation comes of it.");
}

// The template is watched too: removed, the rebuild says so once; back
// again, the watch goes on.
TEST_F(RebuildOnChangeTest, ATemplateRemovedWhileWatchedIsSaidOnceAndComesBack) {
  create();
  menu(MenuItem::RebuildOnChange);
  const std::string templ = support_.file("Listing.txt");
  ASSERT_EQ(std::remove(templ.c_str()), 0);
  settle();
  EXPECT_EQ(status(), "Not rebuilt at T: " + toolkit_.messages().back().title);
  EXPECT_EQ(toolkit_.messages().size(), 3u);
  addScript("Listing", std::string(kListing) + "end\n");
  settle();
  EXPECT_EQ(status(), "Rebuilt at T: written");
  EXPECT_EQ(testing::readFile(script_), "f1 0\nf2 10\nf3 0\nend\n");
  EXPECT_TRUE(checked());
}

TEST_F(RebuildOnChangeTest, AWatchedFolderRemovedOrRenamedEndsTheWatch) {
  create();
  menu(MenuItem::RebuildOnChange);
  ASSERT_EQ(std::rename(frames_.c_str(), (temp_.path() + "moved").c_str()), 0);
  runQueued();
  EXPECT_FALSE(checked());
  EXPECT_EQ(status(), "");
  ASSERT_EQ(toolkit_.messages().size(), 3u);
  EXPECT_EQ(toolkit_.messages()[2].text, "The folder \"" + frames_ + "\" no longer exists.");

  // Turned on again, it says why it cannot watch.
  menu(MenuItem::RebuildOnChange);
  EXPECT_FALSE(checked());
  EXPECT_EQ(toolkit_.messages().back().text, "The folder \"" + frames_ + "\" no longer exists.");
}

}  // namespace
}  // namespace oz
