#include "script/script_export.h"

#include <gtest/gtest.h>

#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using testing::ScopedTempDir;

constexpr std::string_view kTemplate =
    "ov.Extension = \".csv\"\r\nsheet ov.SheetName\r\nov.Repeat\r\nov.ImageName,ov.ImageX\r\n"
    "ov.Until = ov.ImageCount";

class ScriptExportTest : public ::testing::Test {
 protected:
  ScriptExportTest() {
    sheet_.frames = {{.number = 1, .name = "a.png", .width = 5, .height = 7},
                     {.number = 2, .name = "b.png", .x = 5, .width = 5, .height = 7}};
    sheet_.width = 10;
    sheet_.height = 7;
    testing::writeFile(templatePath_, kTemplate);
  }

  ScriptExportOutcome run(std::string output, bool clipboard = false) {
    const ScriptExportRequest request{.templatePath = templatePath_,
                                      .scriptName = "csv",
                                      .clipboardMode = clipboard,
                                      .outputPath = std::move(output)};
    BuildOptions options;
    options.savePath = "/out/sheet.png";
    return exportScript(request, makeExpansionContext(sheet_, options));
  }

  ScopedTempDir dir_;
  std::string templatePath_ = dir_.path() + "csv.txt";
  BuiltSheet sheet_;
};

// Writing a file with LF endings is checked through the main window's exports.
TEST_F(ScriptExportTest, AnOutputPathNamingTheTemplateReadsTheTemplateFirst) {
  EXPECT_EQ(run(templatePath_).kind, ScriptExportOutcome::Kind::WrittenToFile);
  EXPECT_EQ(testing::readFile(templatePath_), "sheet sheet.png\na,0\nb,5\n");
}

TEST_F(ScriptExportTest, AScriptEqualToTheFileInPlaceLeavesItUntouched) {
  const std::string output = dir_.path() + "sheet.csv";
  const ScriptExportOutcome first = run(output);
  EXPECT_EQ(first.kind, ScriptExportOutcome::Kind::WrittenToFile);
  EXPECT_FALSE(first.unchanged);
  const testing::FileStamp stamp = testing::fileStamp(output);
  const ScriptExportOutcome again = run(output);
  EXPECT_EQ(again.kind, ScriptExportOutcome::Kind::WrittenToFile);
  EXPECT_TRUE(again.unchanged);
  EXPECT_EQ(testing::fileStamp(output), stamp);

  sheet_.frames[1].x = 6;
  EXPECT_FALSE(run(output).unchanged);
  EXPECT_EQ(testing::readFile(output), "sheet sheet.png\na,0\nb,6\n");
}

TEST_F(ScriptExportTest, ClipboardModeEndsEveryLineWithCrLfAndWritesNoFile) {
  const ScriptExportOutcome outcome = run(dir_.path() + "unused.txt", true);
  EXPECT_EQ(outcome.kind, ScriptExportOutcome::Kind::ClipboardText);
  EXPECT_EQ(outcome.clipboardText, "sheet sheet.png\r\na,0\r\nb,5\r\n");
  EXPECT_FALSE(testing::fileExists(dir_.path() + "unused.txt"));
}

// A failed write is reported through the main window's script problems.
TEST_F(ScriptExportTest, AnUnreadableTemplateIsReportedByTheScriptsName) {
  templatePath_ = dir_.path() + "gone.txt";
  const ScriptExportOutcome unread = run(dir_.path() + "sheet.csv");
  EXPECT_EQ(unread.kind, ScriptExportOutcome::Kind::Failed);
  EXPECT_EQ(unread.failure, (ScriptFailure{ScriptProblem::TemplateUnreadable, "csv", templatePath_,
                                           ReadResult::Missing}));
  EXPECT_FALSE(testing::fileExists(dir_.path() + "sheet.csv"));
}

// Everything a template can name comes from the build's options and its
// layout: a grid of 3 columns over 7 frames has 3 rows, a strip one row.
TEST(ExpansionContextOfABuild, TakesTheOptionsAndTheGridAsLaidOut) {
  BuiltSheet grid;
  for (int i = 0; i < 7; ++i) {
    grid.frames.push_back({.number = i + 1,
                           .name = "f.png",
                           .x = i % 3 * 4,
                           .y = i / 3 * 4,
                           .width = 4,
                           .height = 4});
  }
  BuildOptions options;
  options.savePath = "/out/walk\"1.png";
  options.spriteNumber = 42;
  options.retina = true;
  options.colorDepth = kDepth8;
  options.transparent = true;
  options.premultipliedAlpha = true;
  options.spacing = 2;
  options.border = 3;
  options.extrude = 4;
  const ExpansionContext context = makeExpansionContext(grid, options);
  EXPECT_EQ(context.sheetPath, options.savePath);
  EXPECT_EQ(context.sheetNumber, "42");
  EXPECT_EQ(context.divisor, 2);
  EXPECT_EQ(context.columns, 3);
  EXPECT_EQ(context.rows, 3);
  EXPECT_EQ(context.colorDepth, kDepth8);
  EXPECT_TRUE(context.transparent);
  EXPECT_TRUE(context.premultipliedAlpha);
  EXPECT_EQ(context.spacing, 2);
  EXPECT_EQ(context.border, 3);
  EXPECT_EQ(context.extrude, 4);

  BuiltSheet strip;
  strip.frames = {{.number = 1, .name = "a.png", .width = 4, .height = 4},
                  {.number = 2, .name = "b.png", .x = 4, .width = 4, .height = 4}};
  const ExpansionContext one = makeExpansionContext(strip, BuildOptions{});
  EXPECT_EQ(one.columns, 2);
  EXPECT_EQ(one.rows, 1);
  EXPECT_EQ(one.divisor, 1);
  // Frames that share a place count once: two places in one row.
  strip.frames.push_back({.number = 3, .name = "a2.png", .width = 4, .height = 4});
  const ExpansionContext shared = makeExpansionContext(strip, BuildOptions{});
  EXPECT_EQ(shared.columns, 2);
  EXPECT_EQ(shared.rows, 1);
  EXPECT_EQ(makeExpansionContext(BuiltSheet{}, BuildOptions{}).rows, 0);
}

// The retina halving is checked by the command line's named-script run.
TEST_F(ScriptExportTest, FirstLine) {
  std::string line;
  EXPECT_TRUE(readTemplateFirstLine(templatePath_, &line));
  EXPECT_EQ(line, "ov.Extension = \".csv\"");
  EXPECT_FALSE(readTemplateFirstLine(dir_.path() + "none.txt", &line));
}

}  // namespace
}  // namespace oz
