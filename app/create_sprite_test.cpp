#include "app/create_sprite.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/window_fixture.h"
#include "base/dir_listing.h"
#include "sheet/png/png_read.h"

namespace oz {
namespace {

constexpr const char* kListing =
    "ov.Extension = \".txt\"\n"
    "ov.SheetName ov.SheetWidth x ov.SheetHeight #ov.SheetNumber\n"
    "ov.Repeat\n"
    "ov.ImageName ov.ImageX,ov.ImageY\n"
    "ov.Until = ov.ImageCount\n";

class CreateSpriteTest : public WindowFixture {
 protected:
  CreateSpriteTest() { mkdir(out_.c_str(), 0700); }

  // Three 10 × 20 frames and a window ready to build them, two columns wide.
  void prepare(const std::string& sheet) {
    for (const char* name : {"f1.png", "f2.png", "f3.png"}) writeFrame(name);
    start();
    toolkit_.type(Control::ColumnsField, "2");
    chooseFolderAndSheet(frames_, sheet);
  }

  void createDecliningPreview() {
    toolkit_.answerMessage(MessageResult::No);
    click(Control::Create);
  }

  std::vector<std::string> titles() const {
    std::vector<std::string> result;
    for (const ShownMessage& m : toolkit_.messages()) result.push_back(m.title);
    return result;
  }

  std::string out_ = temp_.path() + "out/";
};

TEST_F(CreateSpriteTest, SheetOnlyThenPreviewOpensThePathAsOneArgument) {
  // Blanks, quotes, a backslash and letters beyond ASCII reach the opener as
  // they are.
  const std::string sheet = out_ + "my \"walk\"1 it's\\ünï.png";
  prepare(sheet);
  toolkit_.answerMessage(MessageResult::Yes);
  menu(MenuItem::CreateSprite);  // the Return key posts a press of "Create"
  ASSERT_EQ(titles(), (std::vector<std::string>{"Exported!", "Preview?"}));
  EXPECT_EQ(toolkit_.messages()[0].text, "Your file(s) have been saved to disk.");
  EXPECT_EQ(toolkit_.messages()[1].text, "Would you like to preview, \"" + sheet + "\" ?");
  EXPECT_EQ(readPngSize(sheet), (PngSize{20, 40}));
  ASSERT_EQ(toolkit_.launches().size(), 1u);
  EXPECT_EQ(toolkit_.launches()[0].program, "xdg-open");
  EXPECT_EQ(toolkit_.launches()[0].arguments, std::vector<std::string>{sheet});

  // No: nothing is launched, and the command can run again at once.
  createDecliningPreview();
  EXPECT_EQ(toolkit_.launches().size(), 1u);
  EXPECT_EQ(toolkit_.text(Control::SheetPathField), sheet);
}

TEST_F(CreateSpriteTest, ScriptsGoToTheirFileOrTheClipboardUntilThePlaceholderIsChosen) {
  addScript("Listing", kListing);
  addScript("Clipboard",
            "ov.Extension = \"Clipboard\"\nov.Repeat\nov.ImageName\nov.Until = ov.ImageCount\n");
  prepare(out_ + "walk.png");
  click(Control::Retina);
  toolkit_.setSpinValue(Control::SpriteNumber, 7);
  runQueued();
  choose(Control::ScriptList, 2);  // "Listing", after "Clipboard"
  // Typed, not chosen: used as typed, without the extension.
  toolkit_.type(Control::ScriptPathField, out_ + "walk");
  createDecliningPreview();
  EXPECT_EQ(testing::readFile(out_ + "walk"), "walk.png 10 x 20 #7\nf1 0,0\nf2 5,0\nf3 0,10\n");
  EXPECT_TRUE(toolkit_.clipboardHistory().empty());

  choose(Control::ScriptList, 1);
  createDecliningPreview();
  ASSERT_EQ(toolkit_.clipboardHistory(), std::vector<std::string>{"f1\r\nf2\r\nf3\r\n"});

  choose(Control::ScriptList, 0);
  createDecliningPreview();
  EXPECT_EQ(toolkit_.clipboardHistory().size(), 1u);
  ASSERT_EQ(titles(), (std::vector<std::string>{"Exported!", "Preview?", "Exported!", "Preview?",
                                                "Exported!", "Preview?"}));
  EXPECT_EQ(toolkit_.messages()[0].text, "Your file(s) have been saved to disk.");
  EXPECT_EQ(toolkit_.messages()[2].text,
            "Your sprite sheet/strip has been saved to disk and the script has been copied to "
            "the clipboard.");
}

// Packed onto several sheets, one "Create" writes a script for each, numbered
// as the sheets are, or puts all of them on the clipboard; either way it is
// told once.
TEST_F(CreateSpriteTest, SeveralPackedSheetsGetAScriptEachAndOneCompletionMessage) {
  addScript("Listing", kListing);
  addScript("Clipboard",
            "ov.Extension = \"Clipboard\"\nov.SheetName\nov.Repeat\nov.ImageName\n"
            "ov.Until = ov.ImageCount\n");
  for (const char* name : {"f1.png", "f2.png", "f3.png"}) writeFrame(name, 200, 600, 600);
  start();
  chooseFolderAndSheet(frames_, out_ + "walk.png");
  menu(MenuItem::SheetOptions);
  choose(Control::Layout, 1);
  click(Control::SeveralSheets);
  choose(Control::LargestSheetSize, 0);  // 1024: one frame a sheet
  choose(Control::ScriptList, 2);
  toolkit_.type(Control::ScriptPathField, out_ + "walk.txt");
  createDecliningPreview();
  EXPECT_EQ(titles(), (std::vector<std::string>{"Exported!", "Preview?"}));
  EXPECT_EQ(toolkit_.messages()[1].text, "Would you like to preview, \"" + out_ + "walk-1.png\" ?");
  EXPECT_EQ(listDirectory(out_),
            (std::vector<std::string>{"walk-1.png", "walk-1.txt", "walk-2.png", "walk-2.txt",
                                      "walk-3.png", "walk-3.txt"}));
  for (const char* n : {"1", "2", "3"}) {
    const std::string script = testing::readFile(out_ + "walk-" + n + ".txt");
    EXPECT_TRUE(script.starts_with(std::string("walk-") + n + ".png 600 x 600 #0\nf")) << script;
  }

  choose(Control::ScriptList, 1);
  createDecliningPreview();
  ASSERT_EQ(titles(), (std::vector<std::string>{"Exported!", "Preview?", "Exported!", "Preview?"}));
  ASSERT_EQ(toolkit_.clipboardHistory().size(), 1u);
  const std::string clipboard = toolkit_.clipboardHistory()[0];
  for (const char* n : {"1", "2", "3"}) {
    EXPECT_NE(clipboard.find(std::string("walk-") + n + ".png\r\nf"), std::string::npos)
        << clipboard;
  }
}

// Odd frames lose their halves with Retina: the export says so first, and
// goes on as usual.
TEST_F(CreateSpriteTest, RetinaWithOddFramesWarnsBeforeTheCompletionMessage) {
  addScript("Listing", kListing);
  for (const char* name : {"f1.png", "f2.png"}) writeFrame(name, 200, 11);
  start();
  chooseFolderAndSheet(frames_, out_ + "walk.png");
  click(Control::Retina);
  choose(Control::ScriptList, 1);
  toolkit_.type(Control::ScriptPathField, out_ + "walk.txt");
  createDecliningPreview();
  ASSERT_EQ(titles(), (std::vector<std::string>{"Retina", "Exported!", "Preview?"}));
  EXPECT_EQ(toolkit_.messages()[0].text,
            "The frames are 11 x 20 pixels: with Retina the script's halved positions and sizes "
            "are rounded down to whole pixels.");
  EXPECT_EQ(testing::readFile(out_ + "walk.txt"), "walk.png 11 x 10 #0\nf1 0,0\nf2 5,0\n");
}

// What the build tells of the folder (a subfolder without frames), then
// frames whose class names are the same: said before the completion message.
TEST_F(CreateSpriteTest, BuildNotesAndSharedClassNamesAreToldBeforeTheCompletionMessage) {
  addScript("Classes", "ov.Extension = \".css\"\nov.Repeat\n.ov.ImageClassCSS\nov.Until = 2\n");
  testing::writeFile(support_.settingsPath(), "[Settings]\nAnimations = folders\n");
  for (const char* name : {"a b.png", "a-b.png"}) writeFrame(name);
  mkdir((frames_ + "idle").c_str(), 0700);
  start();
  chooseFolderAndSheet(frames_, out_ + "walk.png");
  choose(Control::ScriptList, 1);
  toolkit_.type(Control::ScriptPathField, out_ + "walk.css");
  createDecliningPreview();
  ASSERT_EQ(titles(),
            (std::vector<std::string>{"Animations", "Class Names", "Exported!", "Preview?"}));
  EXPECT_EQ(toolkit_.messages()[0].text,
            "The subfolder \"idle\" holds no PNG frames, so no animation comes of it.");
  EXPECT_EQ(testing::readFile(out_ + "walk.css"), ".a-b\n.a-b\n");
}

// A sheet that cannot be written ends the command; a script that cannot be
// written or whose template is gone replaces the completion message.
TEST_F(CreateSpriteTest, WriteProblemsAreReportedAndOnlyAFailedSheetSkipsTheRest) {
  addScript("Listing", kListing);
  prepare(out_ + "missing/walk.png");
  choose(Control::ScriptList, 1);
  toolkit_.type(Control::ScriptPathField, out_ + "walk.txt");
  click(Control::Create);
  toolkit_.type(Control::SheetPathField, out_ + "walk.png");
  toolkit_.type(Control::ScriptPathField, out_ + "missing/walk.txt");
  createDecliningPreview();
  std::remove(support_.file("Listing.txt").c_str());
  toolkit_.type(Control::ScriptPathField, out_ + "walk.txt");
  createDecliningPreview();
  ASSERT_EQ(titles(), (std::vector<std::string>{"Save Error!", "Save Error!", "Preview?", "Wait!",
                                                "Preview?"}));
  EXPECT_NE(toolkit_.messages()[1].text.find(out_ + "missing/walk.txt"), std::string::npos);
  EXPECT_FALSE(testing::fileExists(out_ + "walk.txt"));
}

TEST_F(CreateSpriteTest, BuildReadsTheOptionsAsTheControlsHoldThem) {
  prepare(out_ + "walk.png");
  click(Control::Strip);
  click(Control::PowerOf2);
  toolkit_.type(Control::SheetPathField, out_ + "typed.PNG");
  createDecliningPreview();
  EXPECT_EQ(readPngSize(out_ + "typed.PNG"), (PngSize{32, 32}));  // a strip of 30, padded
}

// Typed without its final "/", a folder is found as when it is chosen; the
// field keeps what was typed. A path that is no folder finds no frames.
TEST_F(CreateSpriteTest, TypedFolderWithoutTheFinalSlashFindsItsFramesAndEmptyPathsStop) {
  prepare(out_ + "walk.png");
  const std::string typed = frames_.substr(0, frames_.size() - 1);
  toolkit_.type(Control::ImageFolderField, typed);
  createDecliningPreview();
  EXPECT_EQ(readPngSize(out_ + "walk.png"), (PngSize{20, 40}));
  EXPECT_EQ(toolkit_.text(Control::ImageFolderField), typed);

  toolkit_.type(Control::ImageFolderField, frames_ + "f1.png");
  click(Control::Create);
  EXPECT_EQ(toolkit_.messages().back().text, "No png images were found in the image folder!");

  std::remove((out_ + "walk.png").c_str());
  toolkit_.type(Control::SheetPathField, "");
  toolkit_.type(Control::ImageFolderField, "");
  click(Control::Create);
  toolkit_.type(Control::SheetPathField, out_ + "walk.png");
  click(Control::Create);
  ASSERT_EQ(toolkit_.messages().size(), 5u);
  EXPECT_EQ(toolkit_.messages()[3].text,
            "You have not chosen where to save your sprite sheet/strip!");
  EXPECT_EQ(toolkit_.messages()[4].text, "You have not selected an image folder!");
  EXPECT_FALSE(testing::fileExists(out_ + "walk.png"));
  EXPECT_FALSE(toolkit_.busy());
}

// The title and the text stay as they are; the box's details say what to change.
TEST_F(CreateSpriteTest, RefusalsSayInTheirDetailsWhatWasFound) {
  prepare(out_ + "walk.png");
  writeFrame("f4.png", 200, 11);
  click(Control::Create);
  toolkit_.type(Control::ImageFolderField, temp_.path() + "gone/");
  click(Control::Create);
  ASSERT_EQ(toolkit_.messages().size(), 2u);
  const ShownMessage& size = toolkit_.messages()[0];
  EXPECT_EQ(size.title, "Image Size Error!");
  EXPECT_TRUE(size.text.starts_with("Orvane Zozivi only supports images")) << size.text;
  EXPECT_EQ(size.details,
            "\"f4.png\" is 11 x 20 pixels, but the 3 frames before it, from \"f1.png\" on, are "
            "10 x 20 pixels.");
  const ShownMessage& folder = toolkit_.messages()[1];
  EXPECT_EQ(folder.text, "No png images were found in the image folder!");
  EXPECT_EQ(folder.details, "The folder \"" + temp_.path() + "gone/\" does not exist.");
  EXPECT_FALSE(testing::fileExists(out_ + "walk.png"));
}

// Which files are one is the build's own test; here the window's message, and
// that nothing is written.
TEST_F(CreateSpriteTest, OneFileNamedTwiceIsAWaitNamingBothAndWritesNothing) {
  addScript("Listing", kListing);
  prepare(out_ + "walk.png");
  choose(Control::ScriptList, 1);
  const std::string templatePath = support_.file("Listing.txt");
  toolkit_.type(Control::ScriptPathField, templatePath);
  click(Control::Create);
  ASSERT_EQ(titles(), std::vector<std::string>{"Wait!"});
  EXPECT_EQ(toolkit_.messages()[0].text,
            "The script \"" + templatePath + "\" and the script's template \"" + templatePath +
                "\" are the same file! Nothing was saved; choose another file for the script.");
  EXPECT_EQ(testing::readFile(templatePath), kListing);
  EXPECT_FALSE(testing::fileExists(out_ + "walk.png"));
}

TEST_F(CreateSpriteTest, SlowBuildShowsProgressAndEndsNotBusy) {
  prepare(out_ + "walk.png");
  clockStep_ = std::chrono::milliseconds(200);
  createDecliningPreview();
  ASSERT_FALSE(toolkit_.progressSteps().empty());
  EXPECT_EQ(toolkit_.progressSteps().front().title, "Creating Sprite");
  EXPECT_FALSE(toolkit_.progressShown());
  EXPECT_FALSE(toolkit_.busy());
  double last = 0;
  for (const ProgressStep& step : toolkit_.progressSteps()) {
    EXPECT_GE(step.fraction, last) << step.text;
    last = step.fraction;
  }
}

// Cancel pressed while the frames are decoded, or while the rows are
// written, stops the build: the sheet and the script stay byte for byte what
// the last "Create" wrote, nothing is left beside them, and nothing is said.
TEST_F(CreateSpriteTest, CancelLeavesTheOldSheetAndScriptAndSaysNothing) {
  addScript("Listing", kListing);
  prepare(out_ + "walk.png");
  choose(Control::ScriptList, 1);
  toolkit_.type(Control::ScriptPathField, out_ + "walk.txt");
  createDecliningPreview();
  const std::string sheet = testing::readFile(out_ + "walk.png");
  const std::string script = testing::readFile(out_ + "walk.txt");
  ASSERT_FALSE(sheet.empty());
  ASSERT_FALSE(script.empty());
  // The next build makes other files: four columns, a sprite number.
  toolkit_.type(Control::ColumnsField, "4");
  toolkit_.setSpinValue(Control::SpriteNumber, 9);
  runQueued();
  const size_t messages = toolkit_.messages().size();
  clockStep_ = std::chrono::milliseconds(200);

  for (const char* phase : {"Composing", "Writing"}) {
    toolkit_.pressProgressCancelWhen(
        [phase](const ProgressStep& step) { return step.text.starts_with(phase); });
    click(Control::Create);
    EXPECT_EQ(toolkit_.messages().size(), messages) << phase;
    EXPECT_EQ(testing::readFile(out_ + "walk.png"), sheet) << phase;
    EXPECT_EQ(testing::readFile(out_ + "walk.txt"), script) << phase;
    EXPECT_EQ(listDirectory(out_), (std::vector<std::string>{"walk.png", "walk.txt"})) << phase;
    EXPECT_FALSE(toolkit_.progressShown());
    EXPECT_FALSE(toolkit_.busy());
  }

  // Not cancelled, the same build writes the new files.
  createDecliningPreview();
  EXPECT_NE(testing::readFile(out_ + "walk.png"), sheet);
  EXPECT_NE(testing::readFile(out_ + "walk.txt").find(" #9\n"), std::string::npos);
}

}  // namespace
}  // namespace oz
