#include "base/text_lines.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

using Lines = std::vector<std::string>;

// Reading whole files is checked through the script, template and settings
// readers built on it.
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
