#include "sheet/animation.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "sheet/animation_names.h"

namespace oz {
namespace {

TEST(AnimationsOnSheet, WithoutAnimationsOneOfTheWholeSheetNamedAfterIt) {
  EXPECT_EQ(animationsOnSheet({}, 5, "/out/walk.sheet.png"), (AnimationList{{"walk.sheet", 0, 5}}));
  EXPECT_EQ(animationsOnSheet({}, 0, "walk"), (AnimationList{{"walk", 0, 0}}));
  const std::vector<size_t> second = {3, 4};
  EXPECT_EQ(animationsOnSheet({}, second, "out/walk-2.png"), (AnimationList{{"walk-2", 0, 2}}));
}

// With several sheets each holds the part of every animation that landed on
// it, as runs of its own frame list.
TEST(AnimationsOnSheet, EachSheetKeepsThePartsOfTheAnimationsOnIt) {
  const AnimationList animations = {{"idle", 0, 2}, {"walk", 2, 4}, {"run", 6, 3}};
  EXPECT_EQ(animationsOnSheet(animations, 9, "s.png"), animations);
  const std::vector<size_t> first = {0, 2, 3, 8};
  EXPECT_EQ(animationsOnSheet(animations, first, "s.png"),
            (AnimationList{{"idle", 0, 1}, {"walk", 1, 2}, {"run", 3, 1}}));
  const std::vector<size_t> second = {1, 4, 5, 6, 7};
  EXPECT_EQ(animationsOnSheet(animations, second, "s.png"),
            (AnimationList{{"idle", 0, 1}, {"walk", 1, 2}, {"run", 3, 2}}));
  const std::vector<size_t> onlyRun = {7};
  EXPECT_EQ(animationsOnSheet(animations, onlyRun, "s.png"), (AnimationList{{"run", 0, 1}}));
}

// The forms a script might write: here a stand-in that turns blanks into
// dashes, as a form that cannot hold blanks would.
std::vector<NameForm> dashedForm(std::string_view name) {
  std::string text(name);
  std::replace(text.begin(), text.end(), ' ', '-');
  return {{"dashed", text}};
}

TEST(AnimationNamesClash, EqualNamesOrEqualFormsAreRefused) {
  const auto clash = [](const AnimationList& animations, const NameForms& forms) {
    const std::optional<BuildRefusal> refusal = animationNamesClash(animations, forms);
    if (!refusal) return AnimationNameClash{"none", "", "", ""};
    EXPECT_EQ(refusal->problem, BuildProblem::AnimationNamesClash);
    return std::get<AnimationNameClash>(refusal->cause);
  };
  const AnimationList spaced = {{"walk left", 0, 1}, {"run", 1, 1}, {"walk-left", 2, 1}};
  EXPECT_EQ(clash(spaced, dashedForm),
            (AnimationNameClash{"walk left", "walk-left", "dashed", "walk-left"}));
  EXPECT_EQ(clash(spaced, nullptr).first, "none");
  EXPECT_EQ(clash({{"hero", 0, 1}, {"hero", 1, 1}}, nullptr),
            (AnimationNameClash{"hero", "hero", "", "hero"}));
  EXPECT_EQ(clash({{"a", 0, 1}, {"b", 1, 1}}, dashedForm).first, "none");
}

}  // namespace
}  // namespace oz
