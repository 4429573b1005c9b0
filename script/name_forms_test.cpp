#include "script/name_forms.h"

#include <gtest/gtest.h>

#include "sheet/animation_names.h"

namespace oz {
namespace {

// Which form, if any, first gives two of `names` one text.
std::string clashingForm(std::initializer_list<std::string> names) {
  AnimationList animations;
  for (const std::string& name : names) animations.push_back({name, animations.size(), 1});
  const std::optional<BuildRefusal> refusal = animationNamesClash(animations, scriptNameForms);
  if (!refusal) return "none";
  const auto& clash = std::get<AnimationNameClash>(refusal->cause);
  return std::string(clash.form) + ": " + clash.text;
}

// A page's class attribute splits classes at blanks, so two animations that
// stay apart in JSON, XML and CSS can still be one class.
TEST(ScriptNameForms, NamesThatGiveOneClassAreRefused) {
  EXPECT_EQ(clashingForm({"walk left", "run", "walk-left"}), "an HTML class attribute: walk-left");
  EXPECT_EQ(clashingForm({"a&b\tc", "a&b c"}), "an HTML class attribute: a&amp;b-c");
  // Bytes that are not UTF-8 are one character in every form; JSON comes first.
  EXPECT_EQ(clashingForm({"a\xff", "a\xfe"}), "JSON: a\xEF\xBF\xBD");
  EXPECT_EQ(clashingForm({"walk", "walk-", "walk_", "dot.ted", "dot-ted", "Walk"}), "none");
}

}  // namespace
}  // namespace oz
