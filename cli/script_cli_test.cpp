#include "cli/script_cli.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

TEST(ScriptArgument, PathsAndNames) {
  EXPECT_EQ(resolveScriptArgument("Multi Loops", "/support/"), "/support/Multi Loops.txt");
  EXPECT_EQ(resolveScriptArgument("notes.TXT", "/support/"), "/support/notes.TXT.txt");
  EXPECT_EQ(resolveScriptArgument("mine.txt", "/support/"), "mine.txt");
  EXPECT_EQ(resolveScriptArgument("./plist", "/support/"), "./plist");
}

}  // namespace
}  // namespace oz
