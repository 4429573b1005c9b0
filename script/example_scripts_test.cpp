#include "script/example_scripts.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "base/text_lines.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using testing::ScopedTempDir;

std::string_view exampleText(std::string_view fileName) {
  for (const ExampleScript& script : exampleScripts()) {
    if (script.fileName == fileName) return script.text;
  }
  ADD_FAILURE() << "no example named " << fileName;
  return {};
}

std::vector<int> leadingBlanks(std::string_view text) {
  std::vector<int> blanks;
  for (const std::string& line : splitLines(text)) {
    blanks.push_back(static_cast<int>(line.find_first_not_of(' ') == std::string::npos
                                          ? line.size()
                                          : line.find_first_not_of(' ')));
  }
  return blanks;
}

TEST(ExampleScripts, ComeInInstallationOrder) {
  std::vector<std::string_view> names;
  for (const ExampleScript& script : exampleScripts()) names.push_back(script.fileName);
  EXPECT_EQ(names, (std::vector<std::string_view>{"plist.txt", "Pure Data.txt", "Multi Loops.txt",
                                                  "Clipboard.txt", "HTML5.txt"}));
}

TEST(ExampleScripts, EveryLineEndsInLfWithoutTabsOrTrailingBlanks) {
  for (const ExampleScript& script : exampleScripts()) {
    SCOPED_TRACE(script.fileName);
    ASSERT_FALSE(script.text.empty());
    EXPECT_EQ(script.text.back(), '\n');
    EXPECT_EQ(script.text.find('\r'), std::string_view::npos);
    EXPECT_EQ(script.text.find('\t'), std::string_view::npos);
    EXPECT_EQ(script.text.find(" \n"), std::string_view::npos);
    EXPECT_NE(script.text.substr(0, 3), "\xEF\xBB\xBF");
  }
}

TEST(ExampleScripts, LineCountsEmptyLinesAndIndentation) {
  struct Expected {
    std::string_view file;
    size_t lines;
    size_t emptyLines;
    std::vector<int> blanks;
  };
  const std::vector<Expected> expected = {
      {"plist.txt", 32, 0, {0,  0,  0,  0, 4, 8, 8, 0,  12, 12, 16, 16, 16, 16, 16, 16,
                            16, 16, 12, 0, 8, 8, 8, 12, 12, 12, 12, 12, 12, 8,  4,  0}},
      {"Pure Data.txt", 11, 0, {0, 0, 1, 3, 2, 3, 1, 4, 5, 1, 0}},
      {"Multi Loops.txt", 21, 6, std::vector<int>(21, 0)},
      {"Clipboard.txt", 11, 3, {0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0}},
      {"HTML5.txt", 58, 17, {0,  0, 0,  0,  0,  1,  2,  2,  1, 0,  0,  1, 0,  8,  8,
                             0,  8, 8,  0,  8,  12, 12, 12, 0, 8,  0,  8, 8,  0,  8,
                             0,  8, 8,  0,  8,  12, 0,  12, 0, 12, 12, 0, 12, 16, 16,
                             16, 0, 12, 16, 16, 12, 0,  8,  0, 1,  0,  0, 0}},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.file);
    const std::vector<std::string> lines = splitLines(exampleText(e.file));
    EXPECT_EQ(lines.size(), e.lines);
    EXPECT_EQ(static_cast<size_t>(std::count(lines.begin(), lines.end(), "")), e.emptyLines);
    EXPECT_EQ(leadingBlanks(exampleText(e.file)), e.blanks);
  }
}

TEST(ExampleScripts, KeyLinesAreExact) {
  const std::vector<std::string> plist = splitLines(exampleText("plist.txt"));
  EXPECT_EQ(plist[0], "ov.Extension = \".plist\"");
  EXPECT_EQ(plist[2],
            "<!DOCTYPE plist PUBLIC \"-//Apple Computer//DTD PLIST 1.0//EN\" "
            "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">");
  EXPECT_EQ(plist[19], "ov.Until = ov.ImageCount");

  const std::vector<std::string> html = splitLines(exampleText("HTML5.txt"));
  EXPECT_EQ(html[0], "ov.Extension = \".html\"");
  EXPECT_EQ(html[2],
            "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
            "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">");
  EXPECT_EQ(html[37],
            "            c.drawImage(image, xpos, ypos, ov.ImageWidth, ov.ImageHeight, 0, 0, "
            "ov.ImageWidth, ov.ImageHeight);");

  EXPECT_EQ(splitLines(exampleText("Pure Data.txt"))[2], " SpriteSheetov.SheetNumber:");
  EXPECT_EQ(splitLines(exampleText("Clipboard.txt"))[0], "ov.Extension = \"Clipboard\"");
  EXPECT_EQ(splitLines(exampleText("Multi Loops.txt"))[11], "ov.Until = 5");
}

TEST(InstallExampleScripts, WritesAllFiveReplacingOldOnesAndLeavingOthers) {
  ScopedTempDir dir;
  testing::writeFile(dir.path() + "plist.txt", "user edits\n");
  testing::writeFile(dir.path() + "Mine.txt", "keep me\n");

  EXPECT_TRUE(installExampleScripts(dir.path()));

  for (const ExampleScript& script : exampleScripts()) {
    EXPECT_EQ(testing::readFile(dir.path() + std::string(script.fileName)), script.text)
        << script.fileName;
  }
  EXPECT_EQ(testing::readFile(dir.path() + "Mine.txt"), "keep me\n");
}

TEST(InstallExampleScripts, SkipsAFileThatCannotBeWrittenAndWritesTheRest) {
  ScopedTempDir dir;
  // A directory in the way of "Pure Data.txt" cannot be replaced by a file.
  ASSERT_EQ(mkdir((dir.path() + "Pure Data.txt").c_str(), 0755), 0);
  testing::writeFile(dir.path() + "Pure Data.txt/inside", "x");

  EXPECT_FALSE(installExampleScripts(dir.path()));

  for (const ExampleScript& script : exampleScripts()) {
    if (script.fileName == "Pure Data.txt") continue;
    EXPECT_EQ(testing::readFile(dir.path() + std::string(script.fileName)), script.text)
        << script.fileName;
  }
  EXPECT_TRUE(testing::fileExists(dir.path() + "Pure Data.txt/inside"));
}

TEST(InstallExampleScripts, FailsIntoAMissingDirectory) {
  ScopedTempDir dir;
  EXPECT_FALSE(installExampleScripts(dir.path() + "missing/"));
}

}  // namespace
}  // namespace oz
