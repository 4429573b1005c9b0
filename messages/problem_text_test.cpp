#include "messages/problem_text.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

// The messages the command line prints are checked by its runs, the missing
// folder's by the main window's Create; these are the others.
TEST(ProblemText, EveryBuildProblemHasItsMessage) {
  const struct {
    BuildRefusal refusal;
    ProblemText expected;
  } cases[] = {
      {{BuildProblem::SizeMismatch, {}},
       {"Image Size Error!",
        "Orvane Zozivi only supports images that share the same width and height. If you would "
        "like to create sprite sheets with various sized images, plus additional features, "
        "check out Orvane v2. A link to it can be found in the \"Help\" menu."}},
      {{BuildProblem::SizeLimit, {}},
       {"Image Size Limit!",
        "The sprite image has exceeded the 8,192 pixel limit! Unable to create sprite "
        "sheet/strip."}},
      {{BuildProblem::OutOfMemory, {}},
       {"Out of Memory!", "There is not enough memory to create the sprite sheet/strip."}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(problemText(c.refusal), c.expected) << static_cast<int>(c.refusal.problem);
  }
}

TEST(ProblemText, TheClipboardProblemHasItsMessage) {
  EXPECT_EQ(problemText(ScriptFailure{ScriptProblem::ClipboardTooLarge, {}}),
            (ProblemText{"Out of Memory!",
                         "There is not enough memory to copy the script to the clipboard."}));
}

}  // namespace
}  // namespace oz
