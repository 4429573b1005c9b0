#include "script/layout_lines.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/text_lines.h"
#include "script/line_sink.h"
#include "script/template_expansion.h"
#include "script/template_turn.h"

namespace oz {
namespace {

using Lines = std::vector<std::string>;

Lines expand(std::string_view text, bool packed) {
  const FrameList frames = {{.number = 1, .name = "ov.IfGrid.png", .width = 4, .height = 2},
                            {.number = 2, .name = "b.png", .x = 4, .width = 4, .height = 2}};
  std::string out;
  StringLineSink sink(&out, "\n");
  ExpansionContext context;
  context.frames = frames;
  context.packed = packed;
  expandTemplate(splitLines(text), context, sink);
  Lines lines = splitLines(out);
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

// Each layout writes its own lines and the lines for both; the words write
// nothing, so the text around them stays as it is.
TEST(LayoutLines, EachLayoutWritesItsOwnLines) {
  const std::string_view text =
      "ov.Repeat\n"
      "ov.ImageBase\n"
      "ov.IfGrid  grid ov.ImageFullX\n"
      "ov.IfPacked  packed ov.ImageFullX\n"
      "ov.IfPackedov.IfGrid neither\n"
      "ov.Until = ov.ImageCount";
  EXPECT_EQ(expand(text, false), (Lines{"ov.IfGrid", "  grid 0", "b", "  grid 4"}));
  EXPECT_EQ(expand(text, true), (Lines{"ov.IfGrid", "  packed 0", "b", "  packed 4"}));
}

// The other layout's lines are taken out before the expansion, as if the
// template did not hold them: markers on them do nothing, and ov.Comma sees
// the passes the kept lines make. A name that looks like a word is a name.
TEST(LayoutLines, TheOtherLayoutsLinesAreNotThere) {
  const std::string_view text =
      "ov.Repeat\n"
      "ov.ImageIndex ov.ImageNameov.Comma\n"
      "ov.IfPacked ov.Until = 1\n"
      "ov.IfGrid ov.Until = ov.ImageCount\n"
      "after";
  EXPECT_EQ(expand(text, false), (Lines{"0 ov.IfGrid,", "1 b", "after"}));
  EXPECT_EQ(expand(text, true), (Lines{"0 ov.IfGrid", "after"}));
}

TEST(LayoutLines, ATemplateWithoutThemIsUsedAsItIs) {
  const Lines lines = {"ov.IfPack", "ov.ImageX", "ov.Ifgrid"};
  std::vector<std::string> kept;
  EXPECT_EQ(linesForLayout(lines, true, &kept).data(), lines.data());
  EXPECT_TRUE(kept.empty());
  EXPECT_EQ(linesForLayout(Lines{"a", "ov.IfGrid b", "c"}, true, &kept).size(), 2u);
  EXPECT_EQ(kept, (Lines{"a", "c"}));
}

// Only packed sheets hold turned frames, so lines for the grid do not choose
// the turn.
TEST(LayoutLines, TheTurnIsTheOneThePackedLinesName) {
  EXPECT_EQ(templateTurn(Lines{"ov.IfGrid ov.ImageRotated", "ov.ImageRotatedAnticlockwise"}),
            Turn::Anticlockwise);
  EXPECT_EQ(templateTurn(Lines{"ov.IfPacked ov.ImageRotated", "ov.ImageRotatedAnticlockwise"}),
            Turn::Clockwise);
}

}  // namespace
}  // namespace oz
