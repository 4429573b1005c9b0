#include "sheet/refusal_causes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <map>

#include "sheet/build_outcome_fixtures.h"
#include "sheet/png/test_fixtures.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using testing::solidImage;

class RefusalCausesTest : public ::testing::Test {
 protected:
  RefusalCausesTest() {
    mkdir(folder().c_str(), 0755);
    options_.savePath = dir_.path() + "sheet.png";
    options_.imageFolder = folder();
  }

  std::string folder() const { return dir_.path() + "frames/"; }
  void frame(const std::string& name, int32_t width, int32_t height) {
    testing::writeFrame(folder() + name, solidImage(width, height, {9, 8, 7, 255}));
  }
  // Empties the folder, then fills it with f1.png, f2.png, ... of one size.
  void onlyFrames(int count, int32_t width, int32_t height) {
    std::filesystem::remove_all(folder());
    mkdir(folder().c_str(), 0755);
    for (int i = 1; i <= count; ++i) frame("f" + std::to_string(i) + ".png", width, height);
  }

  BuildRefusal refused() const { return testing::buildRefusal(options_); }

  testing::ScopedTempDir dir_;
  BuildOptions options_;
};

TEST_F(RefusalCausesTest, AFolderWithoutFramesSaysWhy) {
  testing::writeFile(dir_.path() + "file", "");
  options_.imageFolder = dir_.path() + "missing/";
  EXPECT_EQ(refused(),
            (BuildRefusal{BuildProblem::NoImages, options_.imageFolder, FolderUnlistable{ENOENT}}));
  options_.imageFolder = dir_.path() + "file/";
  EXPECT_EQ(refused(), (BuildRefusal{BuildProblem::NoImages, options_.imageFolder,
                                     FolderUnlistable{ENOTDIR}}));

  options_.imageFolder = folder();
  for (const char* name : {"a.PNG", "b.Png", "c.txt", "png"})
    testing::writeFile(folder() + name, "");
  EXPECT_EQ(refused().cause, RefusalCause{NoFrameFiles{2}});
  testing::writeFile(folder() + "d.png", "not a PNG");
  mkdir((folder() + "e.png").c_str(), 0755);
  EXPECT_EQ(refused().cause, (RefusalCause{NoDecodableFrame{2, "d.png"}}));
}

// A refused layout places no frame; the frames keep their numbers and sizes.
TEST_F(RefusalCausesTest, SizeRefusalsNameTheFramesAndWhatFits) {
  onlyFrames(3, 4, 4);
  frame("f4.png", 5, 4);
  EXPECT_EQ(refused().cause, RefusalCause(DifferingFrame{{1, "f1.png", 0, 0, 4, 4, 0, 0, 4, 4},
                                                         {4, "f4.png", 0, 0, 5, 4, 0, 0, 5, 4}}));
  testing::writeFile(folder() + "f2.png", "damaged");
  EXPECT_EQ(refused().cause, RefusalCause(DifferingFrame{{1, "f1.png", 0, 0, 4, 4, 0, 0, 4, 4},
                                                         {2, "f2.png", 0, 0, 0, 0, 0, 0, 0, 0}}));

  onlyFrames(3, 4096, 1);
  options_.strip = true;
  EXPECT_EQ(refused().cause,
            RefusalCause(OversizedSheet{12288, 1, 3, 4096, 1, true, 3, ColumnRange{1, 2}, false}));

  onlyFrames(5, 1, 4096);
  options_.strip = false;
  options_.columns = "2";
  EXPECT_EQ(refused().cause,
            RefusalCause(OversizedSheet{2, 12288, 5, 1, 4096, false, 2, ColumnRange{3, 5}, false}));

  // Frames that share a cell take no room: the refusal counts the cells.
  onlyFrames(4, 4096, 1);
  testing::writeFrame(folder() + "f5.png", solidImage(4096, 1, {1, 2, 3, 255}));
  testing::writeFrame(folder() + "f6.png", solidImage(4096, 1, {3, 2, 1, 255}));
  options_.strip = true;
  options_.dedupe = true;
  EXPECT_EQ(refused().cause,
            RefusalCause(OversizedSheet{12288, 1, 3, 4096, 1, true, 3, ColumnRange{1, 2}, true}));
}

// Each pair of roles, each in another spelling (every spelling is the file
// identity's own test), is refused before anything is written.
TEST_F(RefusalCausesTest, OneFileNamedTwiceIsRefusedAndNothingIsWritten) {
  const std::string d = dir_.path();
  frame("f1.png", 2, 2);
  testing::writeFile(d + "sheet.png", "old sheet");
  testing::writeFile(d + "data.txt", "old script");
  testing::writeFile(d + "template.txt", "ov.Extension = \".txt\"\n");
  mkdir((d + "sub").c_str(), 0755);
  ASSERT_EQ(symlink((folder() + "f1.png").c_str(), (d + "frame-link.png").c_str()), 0);
  ASSERT_EQ(link((d + "template.txt").c_str(), (d + "hard.txt").c_str()), 0);
  const std::string relative =
      std::filesystem::relative(folder() + "f1.png", std::filesystem::current_path()).string();
  std::map<std::string, std::string> before;
  for (const char* name : {"sheet.png", "data.txt", "template.txt", "frames/f1.png"})
    before[name] = testing::readFile(d + name);

  const std::string f1 = folder() + "f1.png";
  const struct {
    std::string sheet, script, templ;
    RunFilesClash clash;
  } cases[] = {
      // clang-format off
      {d + "sheet.png", d + "sheet.png", "", {RunFile::Sheet, d + "sheet.png", RunFile::Script, d + "sheet.png"}},
      {d + "hard.txt", "", d + "template.txt", {RunFile::Sheet, d + "hard.txt", RunFile::Template, d + "template.txt"}},
      {d + "sheet.png", d + "./template.txt", d + "template.txt", {RunFile::Script, d + "./template.txt", RunFile::Template, d + "template.txt"}},
      {d + "frame-link.png", "", "", {RunFile::Sheet, d + "frame-link.png", RunFile::Frame, f1}},
      {d + "sub/../frames/f1.png", "", "", {RunFile::Sheet, d + "sub/../frames/f1.png", RunFile::Frame, f1}},
      {d + "sheet.png", relative, "", {RunFile::Script, relative, RunFile::Frame, f1}},
      {d + "new.png", d + "sub/../new.png", "", {RunFile::Sheet, d + "new.png", RunFile::Script, d + "sub/../new.png"}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sheet + " " + c.script + " " + c.templ);
    options_.savePath = c.sheet;
    options_.scriptPath = c.script;
    options_.templatePath = c.templ;
    EXPECT_EQ(refused(), (BuildRefusal{BuildProblem::SameFile, {}, c.clash}));
    for (const auto& [name, bytes] : before) EXPECT_EQ(testing::readFile(d + name), bytes) << name;
    EXPECT_FALSE(testing::fileExists(d + "new.png"));
  }

  // Other files, and the same file only read twice, build.
  options_.savePath = d + "sheet.png";
  options_.scriptPath = d + "data.txt";
  options_.templatePath = folder() + "f1.png";
  EXPECT_TRUE(std::holds_alternative<BuiltSheets>(buildSheet(options_)));
}

}  // namespace
}  // namespace oz
