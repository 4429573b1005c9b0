#include "base/text_lines.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using Lines = std::vector<std::string>;

// What reads is checked through the script, template and settings readers
// built on it; here why a file is not read.
TEST(ReadFile, SaysWhyAFileIsNotRead) {
  const testing::ScopedTempDir dir;
  testing::writeFile(dir.path() + "plain", "abc");
  ASSERT_EQ(mkfifo((dir.path() + "fifo").c_str(), 0600), 0);
  // Sparse: a size past the limit costs no disk.
  testing::writeFile(dir.path() + "large", "");
  ASSERT_EQ(truncate((dir.path() + "large").c_str(), kMaxReadBytes + 1), 0);
  const struct {
    const char* name;
    ReadResult result;
  } cases[] = {
      {"plain", ReadResult::Read},        {"missing", ReadResult::Missing},
      {"plain/x", ReadResult::Missing},   {"", ReadResult::NotPlainFile},
      {"fifo", ReadResult::NotPlainFile}, {"large", ReadResult::TooLarge},
  };
  for (const auto& c : cases) {
    std::string text;
    EXPECT_EQ(readFile(dir.path() + c.name, &text), c.result) << c.name;
    EXPECT_EQ(text, c.result == ReadResult::Read ? "abc" : "") << c.name;
  }
}

TEST(SplitLines, AcceptsEveryEndingAnOptionalFinalOneAndKeepsBlankLines) {
  EXPECT_EQ(splitLines("a\nb\n"), (Lines{"a", "b"}));
  EXPECT_EQ(splitLines("a\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(splitLines("x\r\ny"), (Lines{"x", "y"}));
  EXPECT_EQ(splitLines("x\ry\r"), (Lines{"x", "y"}));
  // LF CR is two endings, so it makes an empty line between.
  EXPECT_EQ(splitLines("x\n\ry"), (Lines{"x", "", "y"}));
  EXPECT_EQ(splitLines(""), (Lines{""}));
  EXPECT_EQ(splitLines("\n"), (Lines{""}));
  EXPECT_EQ(splitLines("\n\n"), (Lines{"", ""}));
  EXPECT_EQ(splitLines("a\n\n\nb"), (Lines{"a", "", "", "b"}));
}

}  // namespace
}  // namespace oz
