#include "editor/highlight.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/template_words.h"

namespace oz {
namespace {

using Spans = std::vector<TagSpan>;
using Shades = std::vector<ShadeRange>;
constexpr HighlightKind kImage = HighlightKind::ImageTag;
constexpr HighlightKind kSheet = HighlightKind::SheetTag;
constexpr HighlightKind kControl = HighlightKind::ControlTag;

TEST(HighlightTest, EveryWordOfTheLanguageIsColouredWhole) {
  std::vector<std::string_view> words(kTagNames.begin(), kTagNames.end());
  for (const ExactWord& word : kExactWords) words.push_back(word.name);
  for (const std::string_view word : words) {
    const Spans spans = computeHighlighting(std::string(word) + " ").spans;
    ASSERT_EQ(spans.size(), 1u) << word;
    EXPECT_EQ(spans[0].length, static_cast<int>(word.size())) << word;
    const bool control = word == "ov.Comma" || word == "ov.Between" || word == "ov.EachAnimation" ||
                         word == "ov.NextAnimation";
    EXPECT_EQ(spans[0].kind, control                        ? kControl
                             : word.starts_with("ov.Image") ? kImage
                                                            : kSheet)
        << word;
  }
}

// One result serves every case, as in the editor: stale spans or shades fail.
TEST(HighlightTest, WordsTakeTheirFamilysColourAndEndAtTheFirstNonLetter) {
  const struct {
    const char* text;
    Spans spans;
  } cases[] = {
      // A word the template language does not replace, coloured for old scripts.
      {"  ov.ImageRotate ov.Columns", {{2, 14, kImage}, {17, 10, kSheet}}},
      // An escaped form is one word; a name that only starts like one is none.
      {"\"ov.ImageNameJSON\"ov.Comma", {{1, 16, kImage}, {18, 8, kControl}}},
      {"ov.ImageNameJSONx ov.SheetBaseXm ov.Row", {}},
      {"ov.ImageCount ov.SheetNumber", {{0, 13, kImage}, {14, 14, kSheet}}},
      {"ov.Extension = \".plist\"\nx", {{0, 12, kControl}}},
      // A digit, an underscore or a non-ASCII letter ends the word.
      {"ov.ImageX2", {{0, 9, kImage}}},
      {"ov.SheetName_b", {{0, 12, kSheet}}},
      {"ov.ImageY\xC3\xA9", {{0, 9, kImage}}},
      // Inside a longer word the part from "ov." on is a word of its own.
      {"xov.ImageX", {{1, 9, kImage}}},
      {"ov.ImageName ov.ImageNumber", {{0, 12, kImage}, {13, 14, kImage}}},
      // Only whole, case-exact words.
      {"ov.ImageXY ov.imagex OV.ImageX ov.Image ov. ov.Repeats ov.ImageNam", {}},
      // Positions count UTF-16 units: a four-byte character is a surrogate pair.
      {"\xC3\xA9 ov.ImageX", {{2, 9, kImage}}},
      {"\xE2\x82\xAC\xE2\x82\xAC ov.ImageX", {{3, 9, kImage}}},
      {"\xF0\x9F\x98\x80ov.SheetName", {{2, 12, kSheet}}},
  };
  Highlighting h;
  for (const auto& c : cases) {
    computeHighlighting(c.text, &h);
    EXPECT_EQ(h.spans, c.spans) << c.text;
    EXPECT_TRUE(h.shades.empty()) << c.text;
  }
}

TEST(HighlightTest, BlocksAreShadedFromRepeatToTheEndOfUntil) {
  const struct {
    const char* text;
    Shades shades;
  } cases[] = {
      // " = 3" after ov.Until is left plain.
      {"ab\nov.Repeat\n ov.ImageX\nov.Until = 3", {{3, 29}}},
      {"ov.Repeat a ov.Until gap ov.Repeat b ov.Until", {{0, 20}, {25, 20}}},
      // With no ov.Repeat before it, ov.Until shades from the start of the text;
      // after a closed block, from the last ov.Repeat.
      {"head\nov.Until\n", {{0, 13}}},
      {"x ov.Repeat ov.Until y ov.Until", {{2, 29}}},
      {"ov.Repeat\nov.Until\nov.Until", {{0, 27}}},
      {"\xF0\x9F\x98\x80ov.Repeat \xC3\xA9 ov.Until", {{2, 20}}},
  };
  Highlighting h;
  for (const auto& c : cases) {
    computeHighlighting(c.text, &h);
    EXPECT_EQ(h.shades, c.shades) << c.text;
  }
  EXPECT_EQ(computeHighlighting("ab\nov.Repeat\n ov.ImageX\nov.Until = 3").spans,
            (Spans{{3, 9, kControl}, {14, 9, kImage}, {24, 8, kControl}}));
}

}  // namespace
}  // namespace oz
