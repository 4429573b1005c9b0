#include "script/template_expansion.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/text_lines.h"
#include "script/example_scripts.h"

namespace oz {
namespace {

using Lines = std::vector<std::string>;

// Collects the output lines without endings.
class CollectingSink : public LineSink {
 public:
  void line(std::string_view text) override { lines.emplace_back(text); }
  Lines lines;
};

// walk1.png, walk2.png, ... side by side in one row.
FrameList walkFrames(int64_t width, int64_t height) {
  FrameList frames;
  for (int i = 1; i <= 3; ++i) {
    frames.push_back({.number = i,
                      .name = "walk" + std::to_string(i) + ".png",
                      .x = (i - 1) * width,
                      .width = width,
                      .height = height});
  }
  return frames;
}

ExpansionContext walkContext(const FrameList& frames, int64_t divisor = 1) {
  return ExpansionContext{.frames = frames,
                          .sheetWidth = frames.empty() ? 0 : 3 * frames[0].width,
                          .sheetHeight = frames.empty() ? 0 : frames[0].height,
                          .sheetPath = "/Sprites/walk.png",
                          .sheetNumber = "7",
                          .divisor = divisor};
}

// Expands line by line. A sink with a fixed line ending takes runs of lines
// at once instead; every expansion checks that it gets the same lines.
Lines expand(std::string_view templateText, const ExpansionContext& context) {
  CollectingSink sink;
  expandTemplate(splitLines(templateText), context, sink);
  std::string byLines;
  for (const std::string& line : sink.lines) byLines += line + "\r\n";
  std::string byText;
  StringLineSink textSink(&byText, "\r\n");
  expandTemplate(splitLines(templateText), context, textSink);
  EXPECT_EQ(byText, byLines) << templateText;
  return sink.lines;
}

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

// The halving for retina is checked with the values below and by the gallery's templates.
TEST(Expansion, WorkedExample) {
  EXPECT_EQ(expand(kWorkedExample, walkContext(walkFrames(33, 48))),
            (Lines{"sheet walk.png 99 x 48 #7", "1/3 walk1 0,0,33,48", "2/3 walk2 33,0,33,48",
                   "3/3 walk3 66,0,33,48", "last walk3", "1", "2", "3", "3", "3"}));
}

TEST(Expansion, MarkersBoundsBlocksAndExtensionLines) {
  const FrameList frames = walkFrames(10, 10);
  const ExpansionContext context = walkContext(frames);
  struct Case {
    std::string text;
    Lines expected;
  };
  const std::string block = "ov.Repeat\nov.ImageNumber\n";
  const std::vector<Case> cases = {
      // Tags anywhere, every occurrence, case-sensitive; markers anywhere in a line.
      {"ov.ImageXY ov.ImageX ov.imagex OV.ImageX", {"0Y 0 ov.imagex OV.ImageX"}},
      {"a\n// ov.Repeat starts here\nov.ImageNumber\nov.Until = 2 passes\nb", {"a", "1", "2", "b"}},
      // Bounds of 1 or less give one pass; passes past the last frame repeat it.
      {block + "ov.Until = 0", {"1"}},
      {block + "ov.Until = -3", {"1"}},
      {block + "ov.Until", {"1"}},
      {block + "ov.Until = 2 times", {"1", "2"}},
      {block + "ov.Until = 5", {"1", "2", "3", "3", "3"}},
      {block + "ov.Until = $A", {"1", "2", "3", "3", "3", "3", "3", "3", "3", "3"}},
      {"ov.Repeat\nov.ImageName\nov.Until = ov.ImageCount", {"walk1", "walk2", "walk3"}},
      {"ov.Repeat\nov.ImageName\nend", {"walk1", "end"}},
      // Consecutive blocks restart at frame 1; a line between takes the last pass's frame.
      {"ov.Repeat\nA ov.ImageNumber\nov.Until = ov.ImageCount\nbetween ov.ImageName\n"
       "ov.Repeat\nB ov.ImageNumber\nov.Until = 2\nafter ov.ImageNumber",
       {"A 1", "A 2", "A 3", "between walk3", "B 1", "B 2", "after 2"}},
      // An ov.Repeat inside an open block only moves its start; the first bound stays.
      {"ov.Repeat\nouter ov.ImageNumber\nov.Repeat\ninner ov.ImageNumber\nov.Until = 3\n"
       "end ov.ImageNumber\nov.Until = 9",
       {"outer 1", "inner 1", "inner 2", "inner 3", "end 3"}},
      // Before any ov.Repeat the block starts at the template's first line.
      {"ov.Extension = \".txt\"\nhead ov.ImageNumber\nov.Until = 3\ntail",
       {"head 1", "head 2", "head 3", "tail"}},
      {"ov.Until = 3 ov.Repeat\na\nov.Until", {"a", "a"}},
      // Every extension line is dropped; the line read in its place is not tested.
      {"ov.Extension = \".txt\"\na\nx ov.Extension y\nov.Extension again\nb",
       {"a", "ov.Extension again", "b"}},
      {"ov.Extension = \".txt\"\n", {""}},
      {"", {""}},
      {"a\r\nb\rc\n\nd", {"a", "b", "c", "", "d"}},
  };
  for (const Case& c : cases) EXPECT_EQ(expand(c.text, context), c.expected) << c.text;
  // Nothing carries over from one expansion to the next.
  EXPECT_EQ(expand("ov.Repeat\nx\nov.Until = 2", context), (Lines{"x", "x"}));
  EXPECT_EQ(expand("head ov.ImageNumber\nov.Until = 2", context), (Lines{"head 1", "head 2"}));
}

TEST(Expansion, ValuesOfNamesNumbersAndTheSheet) {
  FrameList frames = walkFrames(33, 48);
  frames[0].name = "a.png.png";  // every ".png" goes
  frames[0].x = -33;
  frames[1].name = "ov.ImageCount.png";  // the count is replaced after the name
  frames[2].name = "x";                  // shorter than four characters: nothing is left
  ExpansionContext context = walkContext(frames, 2);
  context.sheetPath = "walk.png";
  context.sheetNumber = "08";
  EXPECT_EQ(expand("ov.Repeat\n[ov.ImageName] ov.ImageX ov.ImageWidth ov.ImageNumber\n"
                   "ov.Until = ov.ImageCount\nov.SheetWidth ov.SheetNumber ov.SheetName",
                   context),
            (Lines{"[a] -16 16 1", "[3] 16 16 2", "[] 33 16 3", "49 08 walk.png"}));

  // Values that complete a tag or marker with the text around them.
  frames[0].name = "v.ImageCount.png";
  frames[1].name = "ov.Repeat.png";
  context.sheetPath = "/a/ov";
  EXPECT_EQ(expand("[oov.ImageName]\nx\nov.SheetName.Repeat\ny", context),
            (Lines{"[3]", "x", "y"}));
  EXPECT_EQ(expand("ov.Repeat\nov.ImageName\nov.Until = 3 ov.ImageName", context),
            (Lines{"v.ImageCount"}));

  const FrameList none;
  EXPECT_EQ(expand("ov.Repeat\n<ov.ImageName> ov.ImageNumber ov.ImageX ov.ImageCount\n"
                   "ov.Until = ov.ImageCount\nafter ov.ImageHeight",
                   walkContext(none)),
            (Lines{"<> 0 0 0", "after 0"}));
}

// The text sink's runs beside tags, exact words and ov.Comma, and values
// that make markers; expand() compares the two sinks.
TEST(Expansion, TextSinksReceiveTheSameLinesAsALineByLineSink) {
  FrameList oddFrames = walkFrames(33, 48);
  oddFrames[1].name = "ov.Repeat.png";
  oddFrames[2].name = "v.ImageX.png";
  std::vector<std::string> templates = {
      std::string(kWorkedExample),
      "ov.Extension\nov.Extension again\na ov.ImageName\nb\nov.Until = 3\nc",
      "oov.ImageName\nov.Repeat\nx ov.ImageName ov.ImageX\nov.ImageName\ny\nov.Until = 4",
      "[\nov.Repeat\n\"ov.ImageBaseJSON\": ov.ImageFullX\nov.ImageX ov.ImageIndex\n"
      "a ov.ImageNameXML ov.ImageName\n{ov.Rows}ov.Comma\nov.Until = ov.ImageCount\n]",
  };
  for (const ExampleScript& script : exampleScripts()) templates.emplace_back(script.text);
  for (const FrameList& frames : {walkFrames(33, 48), oddFrames}) {
    for (const std::string& text : templates) expand(text, walkContext(frames, 2));
  }
}

// A loop that writes nothing ends at once however many passes it asks for,
// with what running every pass gives: the lines after it read the last frame.
// Run on the two roads through the expansion. Without the shortcut this test
// runs for days; its CTest timeout turns that into a failure.
TEST(Expansion, AnEmptyLoopEndsAtOnceWhateverItsBound) {
  const FrameList frames = walkFrames(33, 48);
  const FrameList none;
  const std::string after = "after ov.ImageNumber ov.ImageName ov.ImageX";
  for (const std::string bound :
       {"ov.Until 999999999999999", "ov.Until = $7FFFFFFFFFFFFFFF", "ov.Until = ov.ImageCount"}) {
    const std::string text = "ov.Extension = \".txt\"\nstart\nov.Repeat\n" + bound + "\n" + after;
    EXPECT_EQ(expand(text, walkContext(frames)), (Lines{"start", "after 3 walk3 66"})) << bound;
    EXPECT_EQ(expand(text, walkContext(none)), (Lines{"start", "after 0  0"})) << bound;
  }
  // Passes made empty by a frame's name (ov.Until.png makes a marker line):
  // the last frame's ends the block, a frame's before it does not.
  FrameList lastEmpty = frames;
  lastEmpty[2].name = "ov.Until.png";
  EXPECT_EQ(expand("ov.Repeat\nov.ImageName\nov.Until = 999999999999999\nx ov.ImageNumber\n"
                   "ov.Until = 2\nend",
                   walkContext(lastEmpty)),
            (Lines{"walk1", "walk2", "x 3", "end"}));
  FrameList middleEmpty = frames;
  middleEmpty[1].name = "ov.Until.png";
  EXPECT_EQ(expand("ov.Repeat\nov.ImageName\nov.Until = 5\nend", walkContext(middleEmpty)),
            (Lines{"walk1", "walk3", "walk3", "walk3", "end"}));
}

// A loop that writes lines writes every one of them, the passes past the last
// frame included.
TEST(Expansion, ALoopThatWritesWritesEveryPass) {
  const FrameList frames = walkFrames(33, 48);
  const Lines out =
      expand("ov.Repeat\nov.ImageNumber\nov.Until = 100000\nend", walkContext(frames));
  ASSERT_EQ(out.size(), 100001U);
  EXPECT_EQ(out[0], "1");
  EXPECT_EQ(out[2], "3");
  EXPECT_EQ(out[99999], "3");
  EXPECT_EQ(out[100000], "end");
}

// Sinks that fail once they have taken kRoom pieces of text, as a full disk or
// a closed pipe would.
constexpr int kRoom = 100;

class FailingLineSink : public LineSink {
 public:
  void line(std::string_view) override {
    if (++taken > kRoom) setFailed();
  }
  int taken = 0;
};

class FailingTextSink : public TextSink {
 public:
  FailingTextSink() : TextSink("\n") {}
  void write(std::span<const std::string_view>) override {
    if (++taken > kRoom) setFailed();
  }
  int taken = 0;
};

// A loop bound of two billion passes must not run on after the sink failed.
TEST(Expansion, EndsAtTheFirstFailedWrite) {
  const FrameList frames = walkFrames(33, 48);
  const Lines lines = splitLines("head\nov.Repeat\nov.ImageName ov.ImageX\nov.Until = 2000000000");
  FailingLineSink byLine;
  expandTemplate(lines, walkContext(frames), byLine);
  EXPECT_EQ(byLine.taken, kRoom + 1);
  FailingTextSink byText;
  expandTemplate(lines, walkContext(frames), byText);
  EXPECT_EQ(byText.taken, kRoom + 1);
}

// Six frames in three animations: idle (1), walk (3), run (2).
struct AnimatedSheet {
  FrameList frames;
  AnimationList animations = {{"idle", 0, 1}, {"walk", 1, 3}, {"run", 4, 2}};
  ExpansionContext context() const {
    ExpansionContext context = walkContext(frames);
    context.animations = animations;
    return context;
  }
};

AnimatedSheet animatedSheet() {
  AnimatedSheet sheet;
  const char* const names[] = {"idle.png",   "walk/1.png", "walk/2.png",
                               "walk/3.png", "run/1.png",  "run/2.png"};
  for (int i = 0; i < 6; ++i) {
    sheet.frames.push_back(
        {.number = i + 1, .name = names[i], .x = i * 10, .width = 10, .height = 10});
  }
  return sheet;
}

// Inside the loop the frames are the animation's: ov.ImageCount counts them
// and a block runs over them, but each keeps its index and number on the
// sheet. ov.Comma parts the passes of a block, and outside one, animations.
TEST(AnimationLoop, WritesItsLinesOncePerAnimationOverItsFrames) {
  const AnimatedSheet sheet = animatedSheet();
  EXPECT_EQ(
      expand("{\n"
             "ov.EachAnimation\n"
             "\"ov.AnimationNameJSON\" ov.ImageCount ov.ImageName: [\n"
             "ov.Repeat\n"
             "ov.ImageIndex/ov.ImageNumber ov.ImageX ov.ImageNameov.Comma\n"
             "ov.Until = ov.ImageCount\n"
             "] last ov.ImageNameov.Comma\n"
             "ov.NextAnimation\n"
             "} ov.ImageCount ov.ImageName",
             sheet.context()),
      (Lines{"{", "\"idle\" 1 idle: [", "0/1 0 idle", "] last idle,", "\"walk\" 3 walk/1: [",
             "1/2 10 walk/1,", "2/3 20 walk/2,", "3/4 30 walk/3", "] last walk/3,",
             "\"run\" 2 run/1: [", "4/5 40 run/1,", "5/6 50 run/2", "] last run/2", "} 6 idle"}));
}

TEST(AnimationLoop, MarkersAndWhatTheLoopReads) {
  const AnimatedSheet sheet = animatedSheet();
  const ExpansionContext context = sheet.context();
  struct Case {
    std::string text;
    Lines expected;
  };
  const std::vector<Case> cases = {
      // Marker lines are never written; nothing else on them counts.
      {"ov.EachAnimation ov.Repeat ov.ImageName\nov.AnimationName\nov.NextAnimation ov.Until = 9",
       {"idle", "walk", "run"}},
      // Loops do not nest; a marker outside a loop does nothing; an open loop
      // runs to the end.
      {"a\nov.NextAnimation\nov.EachAnimation\nov.EachAnimation\nov.AnimationIndex\n"
       "ov.NextAnimation\nov.NextAnimation\nb\nov.EachAnimation\nov.AnimationName",
       {"a", "0", "1", "2", "b", "idle", "walk", "run"}},
      // The animation words describe the first animation before any loop, the
      // last after one; the image tags outside are the sheet's.
      {"ov.AnimationName ov.AnimationCount ov.ImageCount\nov.EachAnimation\nov.NextAnimation\n"
       "ov.AnimationName ov.AnimationFirstIndex-ov.AnimationLastIndex ov.ImageCount",
       {"idle 3 6", "run 4-5 6"}},
      // An ov.Until before any ov.Repeat goes back to the loop's first line,
      // and the passes past the animation's last frame read that frame.
      {"ov.EachAnimation\nov.AnimationName ov.ImageName\nov.Until = 2\nov.NextAnimation",
       {"idle idle", "idle idle", "walk walk/1", "walk walk/2", "run run/1", "run run/2"}},
      // A block around the loop writes it once per pass.
      {"ov.Repeat\n<ov.ImageNumber>\nov.EachAnimation\nov.AnimationIndex\nov.NextAnimation\n"
       "ov.Until = 2",
       {"<1>", "0", "1", "2", "<2>", "0", "1", "2"}},
      // An extension line before ov.NextAnimation has the marker in its place.
      {"ov.EachAnimation\nov.AnimationIndex\nov.Extension\nov.NextAnimation\nend",
       {"0", "1", "2", "end"}},
      // ov.Between writes its line where ov.Comma would write a comma.
      {"[\nov.EachAnimation\nov.Repeat\nov.ImageNumber\n-ov.Between\nov.Until = ov.ImageCount\n"
       "}, {ov.Between\nov.NextAnimation\n]",
       {"[", "1", "}, {", "2", "-", "3", "-", "4", "}, {", "5", "-", "6", "]"}},
  };
  for (const Case& c : cases) EXPECT_EQ(expand(c.text, context), c.expected) << c.text;

  // Without animations a loop writes nothing.
  EXPECT_EQ(expand("a\nov.EachAnimation\nov.AnimationName\nov.NextAnimation\nb",
                   walkContext(sheet.frames)),
            (Lines{"a", "b"}));
}

// The loop's markers are found as the template writes them, never in a
// value; an empty block with a huge bound ends at once inside the loop too.
TEST(AnimationLoop, NamesCannotMakeMarkersAndEverySinkGetsTheSameLines) {
  AnimatedSheet sheet = animatedSheet();
  sheet.frames[1].name = "ov.NextAnimation.png";
  sheet.frames[4].name = "ov.EachAnimation.png";
  const std::string text =
      "head\nov.EachAnimation\nov.AnimationName:\nov.Repeat\n ov.ImageName "
      "ov.ImageBaseJSONov.Comma\n"
      "ov.Until = ov.ImageCount\n}ov.Comma\nplain\nov.Repeat\nov.Until 99999999999\n"
      "ov.NextAnimation\ntail";
  const Lines expected = {"head",
                          "idle:",
                          " idle idle",
                          "},",
                          "plain",
                          "walk:",
                          " ov.NextAnimation ov.NextAnimation,",
                          " walk/2 walk/2,",
                          " walk/3 walk/3",
                          "},",
                          "plain",
                          "run:",
                          " ov.EachAnimation ov.EachAnimation,",
                          " run/2 run/2",
                          "}",
                          "plain",
                          "tail"};
  EXPECT_EQ(expand(text, sheet.context()), expected);
}

}  // namespace
}  // namespace oz
