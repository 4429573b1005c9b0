#include "toolkit/arguments.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

using Args = std::vector<std::string>;

TEST(SplitArguments, BlanksSeparateAndRunsOfBlanksCountOnce) {
  EXPECT_EQ(splitArguments("-a  /Applications/Preview.app\tx"),
            (Args{"-a", "/Applications/Preview.app", "x"}));
  EXPECT_EQ(splitArguments("  lead trail  "), (Args{"lead", "trail"}));
  EXPECT_EQ(splitArguments(""), Args{});
  EXPECT_EQ(splitArguments("   "), Args{});
}

TEST(SplitArguments, QuotedPartIsOneArgumentWithoutItsQuotes) {
  EXPECT_EQ(splitArguments("-a /Applications/Preview.app \"/Sprites/my walk.png\""),
            (Args{"-a", "/Applications/Preview.app", "/Sprites/my walk.png"}));
  EXPECT_EQ(splitArguments("\"/tmp/a  b.png\""), Args{"/tmp/a  b.png"});
}

TEST(SplitArguments, QuotesJoinTheTextTheyTouch) {
  EXPECT_EQ(splitArguments("pre\"fix suf\"fix next"), (Args{"prefix suffix", "next"}));
  EXPECT_EQ(splitArguments("a \"\" b"), (Args{"a", "", "b"}));
}

TEST(SplitArguments, UnclosedQuoteRunsToTheEnd) {
  EXPECT_EQ(splitArguments("x \"open ended  text"), (Args{"x", "open ended  text"}));
}

TEST(SplitArguments, KeepsUtf8Bytes) {
  EXPECT_EQ(splitArguments("\"/Bilder/Läufer 1.png\""), Args{"/Bilder/Läufer 1.png"});
}

}  // namespace
}  // namespace oz
