#include "messages/problem_text.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

// The messages the command line prints are checked by its runs, the missing
// folder's by the main window's Create; these are the others.
TEST(ProblemText, EveryBuildProblemAndTheClipboardProblemHaveTheirMessages) {
  const struct {
    ProblemText actual, expected;
  } cases[] = {
      {problemText(BuildRefusal{BuildProblem::SizeMismatch, {}}),
       {"Image Size Error!",
        "Orvane Zozivi only supports images that share the same width and height. If you would "
        "like to create sprite sheets with various sized images, plus additional features, "
        "check out Orvane v2. A link to it can be found in the \"Help\" menu."}},
      {problemText(BuildRefusal{BuildProblem::SizeLimit, {}}),
       {"Image Size Limit!",
        "The sprite image has exceeded the 8,192 pixel limit! Unable to create sprite "
        "sheet/strip."}},
      {problemText(BuildRefusal{BuildProblem::OutOfMemory, {}}),
       {"Out of Memory!", "There is not enough memory to create the sprite sheet/strip."}},
      {problemText(ScriptFailure{ScriptProblem::ClipboardTooLarge, {}}),
       {"Out of Memory!", "There is not enough memory to copy the script to the clipboard."}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected);
}

TEST(ProblemText, RetinaNoticesOddCellNumbersWhenTheFramesAreEven) {
  const FrameList frames{{.number = 1, .name = "a.png", .width = 4, .height = 2}};
  ExpansionContext context;
  context.frames = frames;
  context.divisor = 2;
  context.spacing = 2;
  context.border = 4;
  EXPECT_EQ(retinaRoundingNotice(context), std::nullopt);
  context.extrude = 1;
  EXPECT_EQ(retinaRoundingNotice(context),
            (ProblemText{"Retina",
                         "The spacing is 2, the border 4 and the extrusion 1 pixels: with Retina "
                         "the script's halved positions are rounded down to whole pixels."}));
  context.divisor = 1;
  EXPECT_EQ(retinaRoundingNotice(context), std::nullopt);
}

}  // namespace
}  // namespace oz
