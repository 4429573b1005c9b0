#include "script/template_expansion.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/text_lines.h"
#include "script/example_scripts.h"

namespace oz {
namespace {

// Collects the output lines without endings.
class CollectingSink : public LineSink {
 public:
  void line(std::string_view text) override { lines.emplace_back(text); }
  std::vector<std::string> lines;
};

FrameList walkFrames(int64_t width, int64_t height, int count = 3) {
  FrameList frames;
  for (int i = 1; i <= count; ++i) {
    frames.push_back({.number = i,
                      .name = "walk" + std::to_string(i) + ".png",
                      .x = (i - 1) * width,
                      .y = 0,
                      .width = width,
                      .height = height});
  }
  return frames;
}

ExpansionContext walkContext(const FrameList& frames, int64_t divisor = 1) {
  return ExpansionContext{.frames = frames,
                          .sheetWidth = frames.empty() ? 0 : frames.back().x + frames.back().width,
                          .sheetHeight = frames.empty() ? 0 : frames.back().height,
                          .sheetPath = "/Sprites/walk.png",
                          .sheetNumber = "7",
                          .divisor = divisor};
}

std::vector<std::string> expand(std::string_view templateText, const ExpansionContext& context) {
  CollectingSink sink;
  expandTemplate(splitLines(templateText), context, sink);
  return sink.lines;
}

using Lines = std::vector<std::string>;

constexpr std::string_view kWorkedExample =
    "ov.Extension = \".txt\"\n"
    "sheet ov.SheetName ov.SheetWidth x ov.SheetHeight #ov.SheetNumber\n"
    "ov.Repeat\n"
    "ov.ImageNumber/ov.ImageCount ov.ImageName "
    "ov.ImageX,ov.ImageY,ov.ImageWidth,ov.ImageHeight\n"
    "ov.Until = ov.ImageCount\n"
    "last ov.ImageName\n"
    "ov.Repeat\n"
    "ov.ImageNumber\n"
    "ov.Until = 5\n";

TEST(WorkedExample, RetinaOff) {
  const FrameList frames = walkFrames(33, 48);
  EXPECT_EQ(expand(kWorkedExample, walkContext(frames)),
            (Lines{"sheet walk.png 99 x 48 #7", "1/3 walk1 0,0,33,48", "2/3 walk2 33,0,33,48",
                   "3/3 walk3 66,0,33,48", "last walk3", "1", "2", "3", "3", "3"}));
}

TEST(WorkedExample, RetinaOnHalvesPositionsAndSizesOnly) {
  const FrameList frames = walkFrames(33, 48);
  EXPECT_EQ(expand(kWorkedExample, walkContext(frames, 2)),
            (Lines{"sheet walk.png 49 x 24 #7", "1/3 walk1 0,0,16,24", "2/3 walk2 16,0,16,24",
                   "3/3 walk3 33,0,16,24", "last walk3", "1", "2", "3", "3", "3"}));
}

TEST(WorkedExample, ExpandingTwiceGivesTheSameOutput) {
  const FrameList frames = walkFrames(33, 48);
  const ExpansionContext context = walkContext(frames);
  EXPECT_EQ(expand(kWorkedExample, context), expand(kWorkedExample, context));
}

std::string_view example(std::string_view fileName) {
  for (const ExampleScript& script : exampleScripts()) {
    if (script.fileName == fileName) return script.text;
  }
  return {};
}

TEST(ExampleExpansions, MultiLoops) {
  const FrameList frames = walkFrames(32, 48);
  EXPECT_EQ(expand(example("Multi Loops.txt"), walkContext(frames)),
            (Lines{"This is loop 1.",
                   "",
                   "walk1",
                   "walk2",
                   "walk3",
                   "",
                   "This is loop 2.",
                   "",
                   "1",
                   "2",
                   "3",
                   "3",
                   "3",
                   "",
                   "This is loop 3.",
                   "",
                   "0, 0, 32, 48",
                   "32, 0, 32, 48",
                   "64, 0, 32, 48",
                   "",
                   "The exported sprite sheet name...",
                   "\"walk.png\""}));
}

TEST(ExampleExpansions, Clipboard) {
  const FrameList frames = walkFrames(32, 48);
  EXPECT_EQ(expand(example("Clipboard.txt"), walkContext(frames)),
            (Lines{"This is how you copy the exported script directly to the clipboard.",
                   "Just use \"Clipboard\" as the extension.", "", "Let's get the image names...",
                   "", " walk1", " walk2", " walk3", "",
                   "Now you can paste the script where ever you want!"}));
}

TEST(ExampleExpansions, PureDataLabelsUseTheFirstFrameOutsideTheBlock) {
  const FrameList frames = walkFrames(32, 48);
  ExpansionContext context = walkContext(frames);
  context.sheetNumber = "0";
  EXPECT_EQ(expand(example("Pure Data.txt"), context),
            (Lines{"DataSection", " SpriteSheet0:", "   IncludeBinary \"walk.png\"",
                   "  walk1:", "   Data.u 3", "    Image_1: ;walk1", "     Data.u 0,0,32,48",
                   "    Image_2: ;walk2", "     Data.u 32,0,32,48", "    Image_3: ;walk3",
                   "     Data.u 64,0,32,48", "EndDataSection"}));
}

TEST(ExampleExpansions, PlistRepeatsItsDictionaryPerFrame) {
  const FrameList frames = walkFrames(32, 48);
  const Lines out = expand(example("plist.txt"), walkContext(frames));
  // 32 lines less the extension line and the two markers, and two more
  // passes of the 11-line dictionary.
  ASSERT_EQ(out.size(), 29u + 2 * 11);
  EXPECT_EQ(out[0], "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
  EXPECT_EQ(out[6], "            <key>walk1</key>");
  EXPECT_EQ(out[6 + 11], "            <key>walk2</key>");
  EXPECT_EQ(out[6 + 22], "            <key>walk3</key>");
  EXPECT_EQ(out[6 + 22 + 3], "                <string>64</string>");
  EXPECT_EQ(out[6 + 22 + 9], "                <string>48</string>");
  EXPECT_EQ(out[6 + 33 + 4], "            <string>walk.png</string>");
  EXPECT_EQ(out.back(), "</plist>");
}

TEST(Tags, ValuesAndOrder) {
  FrameList frames = walkFrames(33, 48);
  frames[0].name = "a.png.png";
  frames[1].name = "ov.ImageCount.png";
  frames[2].name = "x";
  const ExpansionContext context = walkContext(frames);
  // Every ".png" goes, not only the last; a name shorter than four characters
  // vanishes whole.
  EXPECT_EQ(expand("[ov.ImageName]", context), Lines{"[a]"});
  // The count is replaced after the name, so it applies to the inserted name.
  EXPECT_EQ(expand("ov.Repeat\nov.ImageName\nov.Until = 3", context), (Lines{"a", "3", ""}));
  // No word boundaries, every occurrence, case-sensitive.
  EXPECT_EQ(expand("ov.ImageXY ov.ImageX ov.imagex OV.ImageX", context),
            Lines{"0Y 0 ov.imagex OV.ImageX"});
  EXPECT_EQ(expand("ov.SheetName|ov.SheetNumber|ov.ImageCount", context), Lines{"walk.png|7|3"});
}

TEST(Tags, SheetNameAndHalving) {
  FrameList frames = walkFrames(33, 48);
  frames[0].x = -33;
  ExpansionContext context = walkContext(frames, 2);
  context.sheetPath = "walk.png";
  context.sheetNumber = "08";
  // Toward zero both ways; numbers, count and sheet number never halved.
  EXPECT_EQ(expand("ov.ImageX ov.ImageWidth ov.SheetWidth ov.ImageNumber ov.ImageCount "
                   "ov.SheetNumber ov.SheetName",
                   context),
            Lines{"-16 16 49 1 3 08 walk.png"});
}

TEST(Tags, EmptyFrameListGivesZerosAndEmptyName) {
  const FrameList none;
  EXPECT_EQ(expand("ov.Repeat\n<ov.ImageName> ov.ImageNumber ov.ImageX ov.ImageCount\n"
                   "ov.Until = ov.ImageCount\nafter ov.ImageHeight",
                   walkContext(none)),
            (Lines{"<> 0 0 0", "after 0"}));
}

TEST(Markers, AnywhereInALineAndNeverOutput) {
  const FrameList frames = walkFrames(10, 10);
  EXPECT_EQ(expand("a\n// ov.Repeat starts here\nov.ImageNumber\nov.Until = 2 passes\nb",
                   walkContext(frames)),
            (Lines{"a", "1", "2", "b"}));
}

TEST(Markers, AFrameNamedLikeAMarkerMakesAMarkerLine) {
  FrameList frames = walkFrames(10, 10);
  frames[0].name = "ov.Repeat.png";
  EXPECT_EQ(expand("ov.ImageName\nrest", walkContext(frames)), Lines{"rest"});
}

TEST(Bounds, PassesForEachKindOfBound) {
  const FrameList frames = walkFrames(10, 10);
  const ExpansionContext context = walkContext(frames);
  struct Case {
    std::string until;
    Lines expected;
  };
  const std::vector<Case> cases = {
      {"ov.Until = 0", {"1"}},
      {"ov.Until = -3", {"1"}},
      {"ov.Until", {"1"}},
      {"ov.Until = 2 times", {"1", "2"}},
      {"ov.Until = 5", {"1", "2", "3", "3", "3"}},
      {"ov.Until = $A", {"1", "2", "3", "3", "3", "3", "3", "3", "3", "3"}},
      {"ov.Until = %11", {"1", "2", "3"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(expand("ov.Repeat\nov.ImageNumber\n" + c.until, context), c.expected) << c.until;
  }
}

TEST(Blocks, TwoInARowEachStartAtFrameOne) {
  const FrameList frames = walkFrames(10, 10);
  EXPECT_EQ(expand("ov.Repeat\nA ov.ImageNumber\nov.Until = ov.ImageCount\n"
                   "between ov.ImageName\n"
                   "ov.Repeat\nB ov.ImageNumber\nov.Until = 2\nafter ov.ImageNumber",
                   walkContext(frames)),
            (Lines{"A 1", "A 2", "A 3", "between walk3", "B 1", "B 2", "after 2"}));
}

TEST(Blocks, LastLineUntilStillRepeats) {
  const FrameList frames = walkFrames(10, 10);
  EXPECT_EQ(expand("ov.Repeat\nov.ImageName\nov.Until = ov.ImageCount", walkContext(frames)),
            (Lines{"walk1", "walk2", "walk3"}));
}

TEST(Blocks, RepeatInsideAnOpenBlockOnlyMovesTheStart) {
  const FrameList frames = walkFrames(10, 10);
  // The inner ov.Repeat does not nest: later passes start after it, and the
  // first ov.Until fixes the bound for the block's second ov.Until too.
  EXPECT_EQ(expand("ov.Repeat\nouter ov.ImageNumber\nov.Repeat\ninner ov.ImageNumber\n"
                   "ov.Until = 3\nend ov.ImageNumber\nov.Until = 9",
                   walkContext(frames)),
            (Lines{"outer 1", "inner 1", "inner 2", "inner 3", "end 3"}));
}

TEST(Blocks, RepeatWithoutUntilOutputsOnce) {
  const FrameList frames = walkFrames(10, 10);
  EXPECT_EQ(expand("ov.Repeat\nov.ImageName\nend", walkContext(frames)), (Lines{"walk1", "end"}));
}

TEST(Blocks, UntilBeforeAnyRepeatGoesBackToTheTemplateStartAndEnds) {
  const FrameList frames = walkFrames(10, 10);
  const ExpansionContext context = walkContext(frames);
  EXPECT_EQ(expand("ov.Extension = \".txt\"\nhead ov.ImageNumber\nov.Until = 3\ntail", context),
            (Lines{"head 1", "head 2", "head 3", "tail"}));
  // The same from a second expansion: nothing carries over from the first.
  EXPECT_EQ(expand("ov.Repeat\nx\nov.Until = 2", context), (Lines{"x", "x"}));
  EXPECT_EQ(expand("head ov.ImageNumber\nov.Until = 2\nov.Repeat\nb ov.ImageNumber\nov.Until = 2",
                   context),
            (Lines{"head 1", "head 2", "b 1", "b 2"}));
}

TEST(ExtensionLines, DroppedWhereverTheyAreAndTheNextLineTakesTheirPlace) {
  const FrameList frames = walkFrames(10, 10);
  const ExpansionContext context = walkContext(frames);
  // The line after an extension line is not tested again, so it is output.
  EXPECT_EQ(expand("ov.Extension = \".txt\"\na\nx ov.Extension y\nov.Extension again\nb", context),
            (Lines{"a", "ov.Extension again", "b"}));
  EXPECT_EQ(expand("ov.Extension = \".txt\"\n", context), Lines{""});
  EXPECT_EQ(expand("", context), Lines{""});
  EXPECT_EQ(expand("a\r\nb\rc\n\nd", context), (Lines{"a", "b", "c", "", "d"}));
}

TEST(Termination, LinesThatAreBothMarkersStillEnd) {
  FrameList frames = walkFrames(10, 10);
  frames[1].name = "ov.Repeat.png";
  const ExpansionContext context = walkContext(frames);
  // A frame turning a line into a marker in mid-block moves the block start.
  EXPECT_EQ(expand("ov.Repeat\nov.ImageName\nov.Until = 3 ov.ImageName", context),
            (Lines{"walk1"}));
  // One line that both starts and ends a block: later passes start after it.
  EXPECT_EQ(expand("ov.Until = 3 ov.Repeat\na\nov.Until", context), (Lines{"a", "a"}));
}

TEST(Joins, ValuesCompletingANameAroundThemAreReplacedInTableOrder) {
  FrameList frames = walkFrames(10, 10);
  frames[0].name = "v.ImageCount.png";
  ExpansionContext context = walkContext(frames);
  // "o" + "v.ImageCount" is the count tag, replaced after the name.
  EXPECT_EQ(expand("[oov.ImageName]", context), Lines{"[3]"});
  // A sheet name ending in "ov" makes a marker with the text after it.
  context.sheetPath = "/a/ov";
  EXPECT_EQ(expand("x\nov.SheetName.Repeat\ny", context), (Lines{"x", "y"}));
}

// Sinks with a fixed line ending take runs of lines at once; what they get
// must be what a line-by-line sink gets, endings added.
TEST(TextSinks, ReceiveTheSameLinesAsALineByLineSink) {
  FrameList frames = walkFrames(33, 48);
  FrameList oddFrames = frames;
  oddFrames[1].name = "ov.Repeat.png";
  oddFrames[2].name = "v.ImageX.png";
  std::vector<std::string> templates = {
      std::string(kWorkedExample),
      "ov.Extension\nov.Extension again\na ov.ImageName\nb\nov.Until = 3\nc",
      "oov.ImageName\nov.Repeat\nx ov.ImageName ov.ImageX\nov.ImageName\ny\nov.Until = 4",
      "ov.Repeat\nov.Repeat\nplain\nov.Until = 2\nafter",
  };
  for (const ExampleScript& script : exampleScripts()) templates.emplace_back(script.text);
  for (const FrameList* list : {&frames, &oddFrames}) {
    for (const std::string& text : templates) {
      for (int divisor : {1, 2}) {
        const ExpansionContext context = walkContext(*list, divisor);
        std::string byLines;
        for (const std::string& line : expand(text, context)) byLines += line + "\r\n";
        std::string byText;
        StringLineSink sink(&byText, "\r\n");
        expandTemplate(splitLines(text), context, sink);
        EXPECT_EQ(byText, byLines) << text;
      }
    }
  }
}

}  // namespace
}  // namespace oz
