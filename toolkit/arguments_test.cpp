#include "toolkit/arguments.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

using Args = std::vector<std::string>;

TEST(SplitArguments, BlanksSeparateAndQuotesJoin) {
  const struct {
    const char* text;
    Args args;
  } cases[] = {
      // Runs of blanks and tabs count once.
      {"-a  /Applications/Preview.app\tx", {"-a", "/Applications/Preview.app", "x"}},
      {"  lead trail  ", {"lead", "trail"}},
      {"", {}},
      {"   ", {}},
      // A quoted part is one argument without its quotes, joined to the text it touches.
      {"-a /Applications/Preview.app \"/Sprites/my walk.png\"",
       {"-a", "/Applications/Preview.app", "/Sprites/my walk.png"}},
      {"\"/tmp/a  b.png\"", {"/tmp/a  b.png"}},
      {"pre\"fix suf\"fix next", {"prefix suffix", "next"}},
      {"a \"\" b", {"a", "", "b"}},
      {"x \"open ended  text", {"x", "open ended  text"}},  // an unclosed quote runs to the end
      {"\"/Bilder/Läufer 1.png\"", {"/Bilder/Läufer 1.png"}},
  };
  for (const auto& c : cases) EXPECT_EQ(splitArguments(c.text), c.args) << c.text;
}

}  // namespace
}  // namespace oz
