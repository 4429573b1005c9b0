#include "script/example_scripts.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <utility>

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
  const std::pair<std::string_view, uint64_t> expected[] = {
      {"plist.txt", 0x36a1207d8491ebd6},       {"Pure Data.txt", 0xc9d450edcc4dfc27},
      {"Multi Loops.txt", 0xd4fbeea9b720f327}, {"Clipboard.txt", 0xa670bd2adf08646c},
      {"HTML5.txt", 0xa96c7e11f281f7b0},
  };
  ASSERT_EQ(exampleScripts().size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(exampleScripts()[i].fileName, expected[i].first);
    EXPECT_EQ(fnv1a(exampleScripts()[i].text), expected[i].second) << expected[i].first;
  }
}

// Replacing the examples and keeping other files is checked by the first run's reseeding.
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
