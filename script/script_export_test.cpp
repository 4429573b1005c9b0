#include "script/script_export.h"

#include <gtest/gtest.h>

#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using testing::ScopedTempDir;

class ScriptExportTest : public ::testing::Test {
 protected:
  ScriptExportTest() {
    sheet_.frames = {{.number = 1, .name = "a.png", .x = 0, .y = 0, .width = 5, .height = 7},
                     {.number = 2, .name = "b.png", .x = 5, .y = 0, .width = 5, .height = 7}};
    sheet_.width = 10;
    sheet_.height = 7;
    context_ = makeExpansionContext(sheet_, "/out/sheet.png", "3", false);
  }

  std::string writeTemplate(const std::string& name, std::string_view text) {
    const std::string path = dir_.path() + name + ".txt";
    testing::writeFile(path, text);
    return path;
  }

  ScopedTempDir dir_;
  BuiltSheet sheet_;
  ExpansionContext context_;
};

constexpr std::string_view kTemplate =
    "ov.Extension = \".csv\"\r\nsheet ov.SheetName\r\nov.Repeat\r\nov.ImageName,ov.ImageX\r\n"
    "ov.Until = ov.ImageCount";

TEST_F(ScriptExportTest, WritesAFileWithLfAfterEveryLineReplacingTheOldOne) {
  const std::string output = dir_.path() + "sheet.csv";
  testing::writeFile(output, "an older, longer script that must not survive\n");
  const ScriptExportRequest request{
      .templatePath = writeTemplate("csv", kTemplate), .scriptName = "csv", .outputPath = output};

  const ScriptExportOutcome outcome = exportScript(request, context_);

  EXPECT_EQ(outcome.kind, ScriptExportOutcome::Kind::kWrittenToFile);
  EXPECT_EQ(testing::readFile(output), "sheet sheet.png\na,0\nb,5\n");
}

TEST_F(ScriptExportTest, AnOutputPathNamingTheTemplateReadsTheTemplateFirst) {
  const std::string path = writeTemplate("self", kTemplate);
  const ScriptExportRequest request{.templatePath = path, .scriptName = "self", .outputPath = path};

  EXPECT_EQ(exportScript(request, context_).kind, ScriptExportOutcome::Kind::kWrittenToFile);
  EXPECT_EQ(testing::readFile(path), "sheet sheet.png\na,0\nb,5\n");
}

TEST_F(ScriptExportTest, ClipboardModeEndsEveryLineWithCrLfAndWritesNoFile) {
  const ScriptExportRequest request{.templatePath = writeTemplate("clip", kTemplate),
                                    .scriptName = "clip",
                                    .clipboardMode = true,
                                    .outputPath = dir_.path() + "unused.txt"};

  const ScriptExportOutcome outcome = exportScript(request, context_);

  EXPECT_EQ(outcome.kind, ScriptExportOutcome::Kind::kClipboardText);
  EXPECT_EQ(outcome.clipboardText, "sheet sheet.png\r\na,0\r\nb,5\r\n");
  EXPECT_FALSE(testing::fileExists(dir_.path() + "unused.txt"));
}

TEST_F(ScriptExportTest, UnwritableOutputIsASaveError) {
  const std::string output = dir_.path() + "missing/sheet.csv";
  const ScriptExportRequest request{
      .templatePath = writeTemplate("csv", kTemplate), .scriptName = "csv", .outputPath = output};

  const ScriptExportOutcome outcome = exportScript(request, context_);

  EXPECT_EQ(outcome.kind, ScriptExportOutcome::Kind::kFailed);
  EXPECT_EQ(outcome.title, "Save Error!");
  EXPECT_EQ(outcome.text, "Unable to save the script to \"" + output + "\".");
}

TEST_F(ScriptExportTest, UnreadableTemplateIsReportedAndNothingIsWritten) {
  const std::string output = dir_.path() + "sheet.csv";
  const ScriptExportRequest request{
      .templatePath = dir_.path() + "Gone.txt", .scriptName = "Gone", .outputPath = output};

  const ScriptExportOutcome outcome = exportScript(request, context_);

  EXPECT_EQ(outcome.kind, ScriptExportOutcome::Kind::kFailed);
  EXPECT_EQ(outcome.title, "Wait!");
  EXPECT_EQ(outcome.text, "The \"Gone\" script could not be read.");
  EXPECT_FALSE(testing::fileExists(output));
}

TEST_F(ScriptExportTest, ReadsTheFirstLineWhateverItsEnding) {
  std::string line;
  EXPECT_TRUE(readTemplateFirstLine(writeTemplate("t", kTemplate), &line));
  EXPECT_EQ(line, "ov.Extension = \".csv\"");
  EXPECT_TRUE(readTemplateFirstLine(writeTemplate("empty", ""), &line));
  EXPECT_EQ(line, "");
  EXPECT_FALSE(readTemplateFirstLine(dir_.path() + "none.txt", &line));
}

TEST(ExpansionContextOfABuild, RetinaGivesDivisorTwo) {
  BuiltSheet sheet;
  sheet.frames.resize(4);
  sheet.width = 128;
  sheet.height = 64;
  const ExpansionContext retina = makeExpansionContext(sheet, "/a/b.png", "12", true);
  EXPECT_EQ(retina.frames.data(), sheet.frames.data());
  EXPECT_EQ(retina.frames.size(), 4u);
  EXPECT_EQ(retina.sheetWidth, 128);
  EXPECT_EQ(retina.sheetHeight, 64);
  EXPECT_EQ(retina.sheetPath, "/a/b.png");
  EXPECT_EQ(retina.sheetNumber, "12");
  EXPECT_EQ(retina.divisor, 2);
  EXPECT_EQ(makeExpansionContext(sheet, "", "", false).divisor, 1);
}

TEST(ScriptSaveRequester, ProposalFilterAndAppendedExtension) {
  EXPECT_EQ(proposedScriptFileName(".plist"), ".plist");
  EXPECT_EQ(scriptSaveFilter(".plist"), "(*.plist)|*.plist");
  EXPECT_EQ(withScriptExtension("/Sprites/walk", ".plist"), "/Sprites/walk.plist");
  EXPECT_EQ(withScriptExtension("/Sprites/walk.plist", ".plist"), "/Sprites/walk.plist");
  EXPECT_EQ(withScriptExtension("/Sprites/my.plist.files/walk", ".plist"),
            "/Sprites/my.plist.files/walk");
  EXPECT_EQ(withScriptExtension("/Sprites/walk.PLIST", ".plist"), "/Sprites/walk.PLIST.plist");
  EXPECT_EQ(proposedScriptFileName("xml"), "xml");
  EXPECT_EQ(withScriptExtension("walk", "xml"), "walkxml");
}

TEST(CompletionTexts, PreviewQuestionQuotesTheWholePath) {
  EXPECT_EQ(previewQuestion("/Sprites/my walk.png"),
            "Would you like to preview, \"/Sprites/my walk.png\" ?");
}

}  // namespace
}  // namespace oz
