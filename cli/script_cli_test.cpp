#include "cli/script_cli.h"

#include <gtest/gtest.h>

#include <memory>

#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using testing::ScopedTempDir;

TEST(ScriptArgument, PathsAndNames) {
  EXPECT_EQ(resolveScriptArgument("Multi Loops", "/support/"), "/support/Multi Loops.txt");
  EXPECT_EQ(resolveScriptArgument("notes.TXT", "/support/"), "/support/notes.TXT.txt");
  EXPECT_EQ(resolveScriptArgument("mine.txt", "/support/"), "mine.txt");
  EXPECT_EQ(resolveScriptArgument("./plist", "/support/"), "./plist");
}

class CliScriptExportTest : public ::testing::Test {
 protected:
  CliScriptExportTest() {
    testing::writeFile(dir_.path() + "names.txt",
                       "ov.Extension = \".names\"\nov.Repeat\nov.ImageName ov.ImageWidth\n"
                       "ov.Until = ov.ImageCount\n");
    testing::writeFile(dir_.path() + "Clip.txt",
                       "ov.Extension = \"Clipboard\"\nov.Repeat\n ov.ImageName\n"
                       "ov.Until = ov.ImageCount\n");
    context_.frames = frames_;
    context_.divisor = 2;
  }

  CliScriptOutcome run(std::string script, std::optional<std::string> data) {
    return runCliScriptExport({std::move(script), dir_.path(), std::move(data)}, context_,
                              stdout_.get());
  }

  // What went to the stand-in for standard output.
  std::string printed() {
    std::fflush(stdout_.get());
    std::rewind(stdout_.get());
    std::string out(1 << 16, '\0');
    out.resize(std::fread(out.data(), 1, out.size(), stdout_.get()));
    return out;
  }

  ScopedTempDir dir_;
  FrameList frames_ = {{.number = 1, .name = "w1.png", .width = 8, .height = 9},
                       {.number = 2, .name = "w2.png", .x = 8, .width = 8, .height = 9}};
  ExpansionContext context_;
  std::unique_ptr<FILE, int (*)(FILE*)> stdout_{std::tmpfile(), &std::fclose};
};

TEST_F(CliScriptExportTest, FileTemplateByNameWritesTheDataPath) {
  const std::string data = dir_.path() + "s.names";
  EXPECT_EQ(run("names", data).status, CliScriptStatus::WrittenToFile);
  EXPECT_EQ(testing::readFile(data), "w1 4\nw2 4\n");
  EXPECT_EQ(printed(), "");
}

TEST_F(CliScriptExportTest, DashWritesToStandardOutputWithLf) {
  EXPECT_EQ(run(dir_.path() + "names.txt", "-").status, CliScriptStatus::WrittenToStandardOutput);
  EXPECT_EQ(printed(), "w1 4\nw2 4\n");
}

TEST_F(CliScriptExportTest, ClipboardTemplateGoesToStandardOutputWithCrLf) {
  const std::string data = dir_.path() + "ignored.txt";
  EXPECT_EQ(run("Clip", data).status, CliScriptStatus::WrittenToStandardOutput);
  EXPECT_EQ(printed(), " w1\r\n w2\r\n");
  EXPECT_FALSE(testing::fileExists(data));
}

TEST_F(CliScriptExportTest, FileTemplateWithoutDataWritesNothing) {
  EXPECT_EQ(run("names", std::nullopt).status, CliScriptStatus::NoDataPath);
  EXPECT_EQ(printed(), "");
}

TEST_F(CliScriptExportTest, FailuresNameWhatFailed) {
  const CliScriptOutcome unreadable = run("nope", "-");
  EXPECT_EQ(unreadable.status, CliScriptStatus::Failed);
  EXPECT_EQ(unreadable.failure, (ScriptFailure{ScriptProblem::TemplateUnreadable, "nope"}));

  const std::string data = dir_.path() + "no/such/dir/s.names";
  const CliScriptOutcome unsaved = run("names", data);
  EXPECT_EQ(unsaved.status, CliScriptStatus::Failed);
  EXPECT_EQ(unsaved.failure, (ScriptFailure{ScriptProblem::WriteFailed, data}));
  EXPECT_EQ(printed(), "");
}

}  // namespace
}  // namespace oz
