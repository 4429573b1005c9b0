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

uint64_t fnv1a(std::string_view bytes) {
  uint64_t hash = 0xcbf29ce484222325;
  for (unsigned char byte : bytes) hash = (hash ^ byte) * 0x100000001b3;
  return hash;
}

// The bytes were checked line by line against the published listings when
// they were written; the hashes keep them from changing unnoticed.
TEST(ExampleScripts, FilesInOrderWithTheirExactBytes) {
  struct Expected {
    std::string_view file;
    size_t bytes;
    size_t lines;
    size_t emptyLines;
    uint64_t hash;
  };
  const Expected expected[] = {
      {"plist.txt", 1012, 32, 0, 0x36a1207d8491ebd6},
      {"Pure Data.txt", 287, 11, 0, 0xc9d450edcc4dfc27},
      {"Multi Loops.txt", 298, 21, 6, 0xd4fbeea9b720f327},
      {"Clipboard.txt", 265, 11, 3, 0xa670bd2adf08646c},
      {"HTML5.txt", 1494, 58, 17, 0xa96c7e11f281f7b0},
  };
  ASSERT_EQ(exampleScripts().size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const ExampleScript& script = exampleScripts()[i];
    const Expected& e = expected[i];
    SCOPED_TRACE(e.file);
    EXPECT_EQ(script.fileName, e.file);
    EXPECT_EQ(script.text.size(), e.bytes);
    EXPECT_TRUE(script.text.ends_with('\n'));
    EXPECT_EQ(script.text.find_first_of("\r\t"), std::string_view::npos);
    const std::vector<std::string> lines = splitLines(script.text);
    EXPECT_EQ(lines.size(), e.lines);
    EXPECT_EQ(static_cast<size_t>(std::count(lines.begin(), lines.end(), "")), e.emptyLines);
    EXPECT_EQ(fnv1a(script.text), e.hash);
  }
}

TEST(InstallExampleScripts, ReplacesTheFiveAndLeavesOtherFiles) {
  ScopedTempDir dir;
  testing::writeFile(dir.path() + "plist.txt", "user edits\n");
  testing::writeFile(dir.path() + "Mine.txt", "keep me\n");

  EXPECT_TRUE(installExampleScripts(dir.path()));

  for (const ExampleScript& script : exampleScripts()) {
    EXPECT_EQ(testing::readFile(dir.path() + std::string(script.fileName)), script.text);
  }
  EXPECT_EQ(testing::readFile(dir.path() + "Mine.txt"), "keep me\n");
  EXPECT_FALSE(installExampleScripts(dir.path() + "missing/"));
}

TEST(InstallExampleScripts, SkipsAFileThatCannotBeWrittenAndWritesTheRest) {
  ScopedTempDir dir;
  // A directory in the way of "Pure Data.txt" cannot be replaced by a file.
  ASSERT_EQ(mkdir((dir.path() + "Pure Data.txt").c_str(), 0755), 0);

  EXPECT_FALSE(installExampleScripts(dir.path()));

  for (const ExampleScript& script : exampleScripts()) {
    if (script.fileName == "Pure Data.txt") continue;
    EXPECT_EQ(testing::readFile(dir.path() + std::string(script.fileName)), script.text);
  }
}

}  // namespace
}  // namespace oz
