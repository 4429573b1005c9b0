#include "messages/problem_text.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

TEST(ProblemText, EveryBuildProblemHasItsMessage) {
  const struct {
    BuildRefusal refusal;
    ProblemText expected;
  } cases[] = {
      {{BuildProblem::NoSavePath, {}},
       {"Wait!", "You have not chosen where to save your sprite sheet/strip!"}},
      {{BuildProblem::NoImageFolder, {}}, {"Wait!", "You have not selected an image folder!"}},
      {{BuildProblem::NoImages, {}}, {"Wait!", "No png images were found in the image folder!"}},
      {{BuildProblem::SizeMismatch, {}},
       {"Image Size Error!",
        "Orvane Zozivi only supports images that share the same width and height. If you would "
        "like to create sprite sheets with various sized images, plus additional features, "
        "check out Orvane v2. A link to it can be found in the \"Help\" menu."}},
      {{BuildProblem::SizeLimit, {}},
       {"Image Size Limit!",
        "The sprite image has exceeded the 8,192 pixel limit! Unable to create sprite "
        "sheet/strip."}},
      {{BuildProblem::WriteFailed, "/out/my walk.png"},
       {"Save Error!", "Unable to save the sprite sheet/strip to \"/out/my walk.png\"."}},
      {{BuildProblem::OutOfMemory, {}},
       {"Out of Memory!", "There is not enough memory to create the sprite sheet/strip."}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(problemText(c.refusal), c.expected) << static_cast<int>(c.refusal.problem);
  }
}

TEST(ProblemText, EveryScriptProblemHasItsMessage) {
  EXPECT_EQ(problemText(ScriptFailure{ScriptProblem::TemplateUnreadable, "My \"csv\""}),
            (ProblemText{"Wait!", "The \"My \"csv\"\" script could not be read."}));
  EXPECT_EQ(problemText(ScriptFailure{ScriptProblem::WriteFailed, "/out/walk.txt"}),
            (ProblemText{"Save Error!", "Unable to save the script to \"/out/walk.txt\"."}));
  EXPECT_EQ(problemText(ScriptFailure{ScriptProblem::ClipboardTooLarge, {}}),
            (ProblemText{"Out of Memory!",
                         "There is not enough memory to copy the script to the clipboard."}));
}

}  // namespace
}  // namespace oz
