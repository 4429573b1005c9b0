#include "sheet/refusal_causes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <map>

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

  BuildRefusal refused() {
    const BuildOutcome outcome = buildSheet(options_);
    if (const auto* refusal = std::get_if<BuildRefusal>(&outcome)) return *refusal;
    ADD_FAILURE() << "the build was not refused";
    return {};
  }

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

TEST_F(RefusalCausesTest, SizeRefusalsNameTheFramesAndWhatFits) {
  for (const char* name : {"f1.png", "f2.png", "f3.png"}) frame(name, 4, 4);
  frame("f4.png", 5, 4);
  const auto differing = [this]() -> std::pair<std::string, std::string> {
    const BuildRefusal refusal = refused();
    const auto* cause = std::get_if<DifferingFrame>(&refusal.cause);
    if (cause == nullptr) return {};
    const auto text = [](const FrameEntry& f) {
      return std::to_string(f.number) + " " + f.name + " " + std::to_string(f.width) + "x" +
             std::to_string(f.height);
    };
    return {text(cause->first), text(cause->differing)};
  };
  EXPECT_EQ(differing(), std::make_pair(std::string("1 f1.png 4x4"), std::string("4 f4.png 5x4")));
  testing::writeFile(folder() + "f2.png", "damaged");
  EXPECT_EQ(differing(), std::make_pair(std::string("1 f1.png 4x4"), std::string("2 f2.png 0x0")));

  std::filesystem::remove_all(folder());
  mkdir(folder().c_str(), 0755);
  for (const char* name : {"f1.png", "f2.png", "f3.png"}) frame(name, 4096, 1);
  options_.strip = true;
  EXPECT_EQ(refused().cause,
            RefusalCause(OversizedSheet{12288, 1, 3, 4096, 1, true, 3, ColumnRange{1, 2}}));

  std::filesystem::remove_all(folder());
  mkdir(folder().c_str(), 0755);
  for (const char* name : {"f1.png", "f2.png", "f3.png", "f4.png", "f5.png"}) frame(name, 1, 4096);
  options_.strip = false;
  options_.columns = "2";
  EXPECT_EQ(refused().cause,
            RefusalCause(OversizedSheet{2, 12288, 5, 1, 4096, false, 2, ColumnRange{3, 5}}));
}

// One file named twice, in every spelling, is refused before anything is
// written: every file keeps its bytes.
TEST_F(RefusalCausesTest, OneFileNamedTwiceIsRefusedAndNothingIsWritten) {
  const std::string d = dir_.path();
  frame("f1.png", 2, 2);
  frame("f2.png", 2, 2);
  testing::writeFile(d + "sheet.png", "old sheet");
  testing::writeFile(d + "data.txt", "old script");
  testing::writeFile(d + "template.txt", "ov.Extension = \".txt\"\n");
  mkdir((d + "sub").c_str(), 0755);
  ASSERT_EQ(symlink((d + "sheet.png").c_str(), (d + "sheet-link.png").c_str()), 0);
  ASSERT_EQ(link((d + "template.txt").c_str(), (d + "hard-template.txt").c_str()), 0);
  ASSERT_EQ(symlink(folder().c_str(), (d + "frames-link").c_str()), 0);
  const std::string relativeDir =
      std::filesystem::relative(d, std::filesystem::current_path()).string() + "/";

  std::map<std::string, std::string> before;
  for (const char* name :
       {"sheet.png", "data.txt", "template.txt", "frames/f1.png", "frames/f2.png"})
    before[name] = testing::readFile(d + name);

  const struct {
    const char* spelling;
    std::string sheet, script, templ;
    RunFilesClash clash;
  } cases[] = {
      {"plain",
       d + "sheet.png",
       d + "sheet.png",
       "",
       {RunFile::Sheet, d + "sheet.png", RunFile::Script, d + "sheet.png"}},
      {"symlink",
       d + "sheet.png",
       d + "sheet-link.png",
       "",
       {RunFile::Sheet, d + "sheet.png", RunFile::Script, d + "sheet-link.png"}},
      {"hard link",
       d + "hard-template.txt",
       "",
       d + "template.txt",
       {RunFile::Sheet, d + "hard-template.txt", RunFile::Template, d + "template.txt"}},
      {"./",
       d + "sheet.png",
       d + "./template.txt",
       d + "template.txt",
       {RunFile::Script, d + "./template.txt", RunFile::Template, d + "template.txt"}},
      {"..",
       d + "sub/../frames/f2.png",
       d + "data.txt",
       "",
       {RunFile::Sheet, d + "sub/../frames/f2.png", RunFile::Frame, folder() + "f2.png"}},
      {"relative",
       d + "sheet.png",
       relativeDir + "frames/f1.png",
       "",
       {RunFile::Script, relativeDir + "frames/f1.png", RunFile::Frame, folder() + "f1.png"}},
      {"linked folder",
       d + "frames-link/f1.png",
       d + "data.txt",
       "",
       {RunFile::Sheet, d + "frames-link/f1.png", RunFile::Frame, folder() + "f1.png"}},
      {"both new",
       d + "new.png",
       d + "sub/../new.png",
       "",
       {RunFile::Sheet, d + "new.png", RunFile::Script, d + "sub/../new.png"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.spelling);
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
  EXPECT_TRUE(std::holds_alternative<BuiltSheet>(buildSheet(options_)));
}

}  // namespace
}  // namespace oz
