#include "base/text_lines.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using Lines = std::vector<std::string>;

TEST(SplitLines, AcceptsEveryEndingAndAnOptionalFinalOne) {
  EXPECT_EQ(splitLines("a\nb\n"), (Lines{"a", "b"}));
  EXPECT_EQ(splitLines("a\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(splitLines("x\r\ny"), (Lines{"x", "y"}));
  EXPECT_EQ(splitLines("x\ry\r"), (Lines{"x", "y"}));
  // LF CR is two endings, so it makes an empty line between.
  EXPECT_EQ(splitLines("x\n\ry"), (Lines{"x", "", "y"}));
}

TEST(SplitLines, EmptyTextIsOneEmptyLineAndBlankLinesSurvive) {
  EXPECT_EQ(splitLines(""), (Lines{""}));
  EXPECT_EQ(splitLines("\n"), (Lines{""}));
  EXPECT_EQ(splitLines("\n\n"), (Lines{"", ""}));
  EXPECT_EQ(splitLines("a\n\n\nb"), (Lines{"a", "", "", "b"}));
}

TEST(ReadWholeFile, ReadsBytesAndRefusesDirectoriesAndMissingFiles) {
  testing::ScopedTempDir dir;
  testing::writeFile(dir.path() + "f", std::string("a\0b", 3));
  std::string bytes;
  ASSERT_TRUE(readWholeFile(dir.path() + "f", &bytes));
  EXPECT_EQ(bytes, std::string("a\0b", 3));
  EXPECT_FALSE(readWholeFile(dir.path() + "missing", &bytes));
  EXPECT_FALSE(readWholeFile(dir.path(), &bytes));
}

// None of these may block or run without end; each is refused at once.
TEST(ReadWholeFile, RefusesWhatIsNoPlainFileAndFilesOverTheLimit) {
  testing::ScopedTempDir dir;
  const std::string fifo = dir.path() + "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string large = dir.path() + "large";
  testing::writeFile(large, "");
  ASSERT_EQ(truncate(large.c_str(), kMaxReadBytes + 1), 0);  // sparse: costs no disk
  std::string bytes;
  for (const std::string& path : {fifo, std::string("/dev/zero"), large}) {
    EXPECT_FALSE(readWholeFile(path, &bytes)) << path;
  }
}

}  // namespace
}  // namespace oz
