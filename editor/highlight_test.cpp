#include "editor/highlight.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace oz {
namespace {

using Spans = std::vector<TagSpan>;
using Shades = std::vector<ShadeRange>;
constexpr HighlightKind kImage = HighlightKind::kImageTag;
constexpr HighlightKind kSheet = HighlightKind::kSheetTag;
constexpr HighlightKind kControl = HighlightKind::kControlTag;

TEST(HighlightTest, EmptyTextGivesNothing) {
  const Highlighting h = computeHighlighting("");
  EXPECT_TRUE(h.spans.empty());
  EXPECT_TRUE(h.shades.empty());
}

TEST(HighlightTest, EveryKnownWordTakesItsFamilyColour) {
  const std::vector<std::pair<std::string, HighlightKind>> words = {
      {"ov.ImageX", kImage},      {"ov.ImageY", kImage},      {"ov.ImageWidth", kImage},
      {"ov.ImageHeight", kImage}, {"ov.ImageRotate", kImage}, {"ov.ImageName", kImage},
      {"ov.ImageNumber", kImage}, {"ov.ImageCount", kImage},  {"ov.SheetWidth", kSheet},
      {"ov.SheetHeight", kSheet}, {"ov.SheetName", kSheet},   {"ov.SheetNumber", kSheet},
      {"ov.Columns", kSheet},     {"ov.Extension", kControl}, {"ov.Repeat", kControl},
  };
  for (const auto& [word, kind] : words) {
    const std::string text = "  " + word + " ";
    EXPECT_EQ(computeHighlighting(text).spans, (Spans{{2, static_cast<int>(word.size()), kind}}))
        << word;
  }
}

TEST(HighlightTest, WordEndsAtFirstNonLetter) {
  // The digit stays in the default colour.
  EXPECT_EQ(computeHighlighting("ov.ImageX2").spans, (Spans{{0, 9, kImage}}));
  EXPECT_EQ(computeHighlighting("ov.SheetName_b").spans, (Spans{{0, 12, kSheet}}));
  // A non-ASCII letter ends the word too.
  EXPECT_EQ(computeHighlighting("ov.ImageY\xC3\xA9").spans, (Spans{{0, 9, kImage}}));
  // Inside a longer word the part from "ov." on is a word of its own.
  EXPECT_EQ(computeHighlighting("xov.ImageX").spans, (Spans{{1, 9, kImage}}));
}

TEST(HighlightTest, OnlyWholeCaseExactWordsMatch) {
  for (const char* text :
       {"ov.ImageXY", "ov.imagex", "OV.ImageX", "ov.Image", "ov.", "ov.Repeats", "ov.ImageNam"}) {
    const Highlighting h = computeHighlighting(text);
    EXPECT_TRUE(h.spans.empty()) << text;
    EXPECT_TRUE(h.shades.empty()) << text;
  }
  EXPECT_EQ(computeHighlighting("ov.ImageName ov.ImageNumber").spans,
            (Spans{{0, 12, kImage}, {13, 14, kImage}}));
}

TEST(HighlightTest, ExtensionLineColoursOnlyTheTag) {
  EXPECT_EQ(computeHighlighting("ov.Extension = \".plist\"\nx").spans, (Spans{{0, 12, kControl}}));
}

TEST(HighlightTest, BlockIsShadedFromRepeatToEndOfUntil) {
  // "ab\n" + "ov.Repeat\n" + " ov.ImageX\n" + "ov.Until = 3"
  const Highlighting h = computeHighlighting("ab\nov.Repeat\n ov.ImageX\nov.Until = 3");
  EXPECT_EQ(h.spans, (Spans{{3, 9, kControl}, {14, 9, kImage}, {24, 8, kControl}}));
  // The shade ends with the last letter of ov.Until: " = 3" is left plain.
  EXPECT_EQ(h.shades, (Shades{{3, 29}}));
}

TEST(HighlightTest, ConsecutiveBlocksAreShadedSeparately) {
  const Highlighting h = computeHighlighting("ov.Repeat a ov.Until gap ov.Repeat b ov.Until");
  EXPECT_EQ(h.shades, (Shades{{0, 20}, {25, 20}}));
}

TEST(HighlightTest, UntilWithoutRepeatShadesFromTextStart) {
  EXPECT_EQ(computeHighlighting("head\nov.Until\n").shades, (Shades{{0, 13}}));
  // After a closed block an unmatched ov.Until reaches back to the last
  // ov.Repeat, not to the start of the text.
  EXPECT_EQ(computeHighlighting("x ov.Repeat ov.Until y ov.Until").shades, (Shades{{2, 29}}));
}

TEST(HighlightTest, SecondUntilExtendsTheSameBlock) {
  const Highlighting h = computeHighlighting("ov.Repeat\nov.Until\nov.Until");
  EXPECT_EQ(h.shades, (Shades{{0, 27}}));
  EXPECT_EQ(h.spans.size(), 3u);
}

TEST(HighlightTest, PositionsCountUtf16CodeUnits) {
  // Two-byte and three-byte characters are one unit each; a four-byte one is
  // a surrogate pair.
  EXPECT_EQ(computeHighlighting("\xC3\xA9 ov.ImageX").spans, (Spans{{2, 9, kImage}}));
  EXPECT_EQ(computeHighlighting("\xE2\x82\xAC\xE2\x82\xAC ov.ImageX").spans,
            (Spans{{3, 9, kImage}}));
  const Highlighting h = computeHighlighting(
      "\xF0\x9F\x98\x80ov.Repeat \xC3\xA9 ov.Until \xF0\x9F\x98\x80ov.SheetName");
  EXPECT_EQ(h.spans, (Spans{{2, 9, kControl}, {14, 8, kControl}, {25, 12, kSheet}}));
  EXPECT_EQ(h.shades, (Shades{{2, 20}}));
}

TEST(HighlightTest, ReusedResultForgetsThePreviousText) {
  Highlighting h;
  computeHighlighting("ov.Repeat ov.ImageX ov.Until", &h);
  computeHighlighting("ov.SheetWidth", &h);
  EXPECT_EQ(h.spans, (Spans{{0, 13, kSheet}}));
  EXPECT_TRUE(h.shades.empty());
}

}  // namespace
}  // namespace oz
