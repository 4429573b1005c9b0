#include "script/exact_words.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/text_lines.h"
#include "script/example_scripts.h"
#include "script/line_sink.h"
#include "script/script_export.h"
#include "script/template_expansion.h"
#include "script/template_turn.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using Lines = std::vector<std::string>;

FrameList walkFrames() {
  FrameList frames;
  for (int i = 0; i < 3; ++i) {
    frames.push_back({.number = i + 1,
                      .name = "walk" + std::to_string(i + 1) + ".png",
                      .x = i * 32,
                      .width = 32,
                      .height = 48,
                      .sourceWidth = 32,
                      .sourceHeight = 48});
  }
  return frames;
}

// Eight frames of 37 x 21 in rows of three, named with characters a format
// must escape and with the names of words.
FrameList hostileFrames() {
  const char* const names[] = {
      "say\"hi.png",       "back\\slash.png", "my walk.1.png",        "gr\xC3\xBC\xC3\x9F.png",
      "ov.ImageIndex.png", "ov.Comma.png",    "ov.ImageNameJSON.png", "a.png.png"};
  FrameList frames;
  for (int i = 0; i < 8; ++i) {
    frames.push_back({.number = i + 1,
                      .name = names[i],
                      .x = i % 3 * 37,
                      .y = i / 3 * 21,
                      .width = 37,
                      .height = 21,
                      .sourceWidth = 37,
                      .sourceHeight = 21});
  }
  return frames;
}

ExpansionContext contextOf(const FrameList& frames, int64_t divisor) {
  const bool hostile = frames.size() == 8;
  return ExpansionContext{.frames = frames,
                          .sheetWidth = hostile ? 111 : 96,
                          .sheetHeight = hostile ? 63 : 48,
                          .sheetPath = "/out/my sheet.v2.png",
                          .sheetNumber = "7",
                          .divisor = divisor,
                          .columns = 3,
                          .rows = hostile ? 3 : 1,
                          .spacing = 5,
                          .border = 64,
                          .extrude = 3};
}

std::string expandText(std::string_view text, const ExpansionContext& context) {
  std::string out;
  StringLineSink sink(&out, "\n");
  expandTemplate(splitLines(text), context, sink);
  return out;
}

Lines expand(std::string_view text, const ExpansionContext& context) {
  Lines lines = splitLines(expandText(text, context));
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

uint64_t fnv1a(std::string_view bytes) {
  uint64_t hash = 0xcbf29ce484222325;
  for (unsigned char byte : bytes) hash = (hash ^ byte) * 0x100000001b3;
  return hash;
}

// Recorded from the expansion as it was before the exact words existed, over
// the walk frames and the hostile ones, without and with Retina: a template
// that holds none of the words writes the same bytes, even for frames named
// like them.
TEST(ExactWords, TemplatesWithoutThemExpandAsBefore) {
  const std::vector<std::pair<std::string, std::vector<uint64_t>>> recorded = {
      {"plist.txt",
       {0xd0e58dc0b1eaf5bb, 0xd34a00df924ac3fd, 0xf01b9f1448fe648e, 0x7f44d5fdc7700075}},
      {"Pure Data.txt",
       {0xf4f05e79bb229bf3, 0xe84f71ec9aa9dc9a, 0xf59811c58f8d65c0, 0x25be2211d02224e7}},
      {"Multi Loops.txt",
       {0xa56a73de8143b7fb, 0xc47a8379b4829904, 0x536266abce8a4938, 0x82ad9d58c1b754e3}},
      {"Clipboard.txt",
       {0xb60596dcbf3f8ba4, 0xb60596dcbf3f8ba4, 0xf31439905c97abf3, 0xf31439905c97abf3}},
      {"HTML5.txt",
       {0x93689bda69c61f5b, 0xdecd501f5b98ea06, 0x9aa18f27b2b2a07a, 0xded82744630013a9}},
      {"CSS Sprites.txt",
       {0xb803973c76592d37, 0xe5a002655f625749, 0xc596a8efd6e5daca, 0x0920fd0a5398abf9}},
      {"JSON Hash.txt",
       {0x41be8c7a781de29a, 0x1eadb165edccf11d, 0x7a6f5fa5a5d36bd6, 0xe3e66922336223ec}},
      {"libGDX Atlas.txt",
       {0x81ad89cdddc0182d, 0x553b72e0aa7b6137, 0x881312be08a710b1, 0xa91094b15d9922fa}},
  };
  const FrameList sets[] = {walkFrames(), hostileFrames()};
  for (const auto& [name, hashes] : recorded) {
    std::string text;
    for (const ExampleScript& script : exampleScripts()) {
      if (script.fileName == name) text = script.text;
    }
    if (text.empty()) {
      text = testing::readFile(std::string(OZ_TESTDATA_DIR) + "/templates_before/" + name);
    }
    ASSERT_FALSE(text.empty()) << name;
    size_t k = 0;
    for (const FrameList& frames : sets) {
      for (int64_t divisor : {1, 2}) {
        EXPECT_EQ(fnv1a(expandText(text, contextOf(frames, divisor))), hashes[k++])
            << name << " frames " << frames.size() << " divisor " << divisor;
      }
    }
  }
}

TEST(ExactWords, FrameAndSheetValues) {
  const FrameList frames = hostileFrames();
  ExpansionContext context = contextOf(frames, 2);
  context.colorDepth = kDepth8;
  EXPECT_EQ(expand("ov.Repeat\n"
                   "ov.ImageIndex|ov.ImageNumber ov.ImageFile|ov.ImageBase|ov.ImageName "
                   "ov.ImageFullX,ov.ImageFullY,ov.ImageFullWidth,ov.ImageFullHeight "
                   "ov.ImageX,ov.ImageY\n"
                   "ov.Until = 3",
                   context),
            (Lines{"0|1 say\"hi.png|say\"hi|say\"hi 0,0,37,21 0,0",
                   "1|2 back\\slash.png|back\\slash|back\\slash 37,0,37,21 18,0",
                   "2|3 my walk.1.png|my walk.1|my walk.1 74,0,37,21 37,0"}));
  EXPECT_EQ(expand("ov.SheetBase ov.SheetFullWidthxov.SheetFullHeight ov.SheetWidth "
                   "ov.Columns ov.Rows @ov.SheetScalex ov.SheetFormat ov.SheetDepth "
                   "ov.SheetPremultiplied ov.Spacing/ov.Margin/ov.Extrude "
                   "ov.FullSpacing/ov.FullMargin/ov.FullExtrude",
                   context),
            (Lines{"my sheet.v2 111x63 55 3 3 @2x RGB888 8 false 2/32/1 5/64/3"}));

  // Only the last ".png" leaves the base name; ov.ImageName's forms keep its
  // rule of removing every one.
  const Lines names =
      expand("ov.Repeat\nov.ImageBase ov.ImageNameJSON ov.ImageName\nov.Until = 8", context);
  EXPECT_EQ(names.back(), "a.png a a");
  // No frames: numbers are 0, names empty, nothing trimmed or turned.
  const FrameList none;
  EXPECT_EQ(expand("[ov.ImageIndex ov.ImageFile ov.ImageFullX ov.ImageBaseXML] "
                   "ov.ImageTrimmed ov.ImageRotated",
                   contextOf(none, 1)),
            (Lines{"[0  0 ] false false"}));
}

// The walk frames with the first one trimmed out of 37 x 25 and stored
// turned, and the others whole.
FrameList trimmedFrames() {
  FrameList frames = walkFrames();
  frames[0] = {.number = 1,
               .name = "a.png",
               .x = 3,
               .y = 5,
               .width = 21,
               .height = 11,
               .offsetX = 7,
               .offsetY = 9,
               .sourceWidth = 37,
               .sourceHeight = 25,
               .rotated = true};
  for (size_t i = 1; i < frames.size(); ++i) {
    frames[i].sourceWidth = frames[i].width;
    frames[i].sourceHeight = frames[i].height;
  }
  return frames;
}

// A trimmed frame stored turned, beside an untrimmed one: the trim words,
// halved or full size, and the sheet's place among the build's sheets.
TEST(ExactWords, TrimRotationAndSheetCount) {
  const FrameList frames = trimmedFrames();
  ExpansionContext context = contextOf(frames, 2);
  context.sheetIndex = 1;
  context.sheetCount = 3;
  EXPECT_EQ(expand("ov.Repeat\n"
                   "ov.ImageTrimmed ov.ImageRotated ov.ImageRotatedAnticlockwise "
                   "ov.ImageOffsetX,ov.ImageOffsetY ov.ImageFullOffsetX,ov.ImageFullOffsetY "
                   "ov.ImageSourceWidthxov.ImageSourceHeight "
                   "ov.ImageFullSourceWidthxov.ImageFullSourceHeight\n"
                   "ov.Until = 2\n"
                   "ov.SheetIndex/ov.SheetCount",
                   context),
            (Lines{"true true true 3,4 7,9 18x12 37x25", "false false false 0,0 0,0 16x24 32x48",
                   "1/3"}));
}

// What the formats that read trimmed and turned frames count, never halved:
// the bottom margin (libGDX, Spine), the width and height trimmed (Godot),
// the centre's offset with y up in exact halves (cocos2d), the offsets
// negated and the region the frame covers on the sheet (Starling).
TEST(ExactWords, TrimAndTurnAsEachFormatCountsThem) {
  FrameList frames = trimmedFrames();
  // A pixel in the top-left corner of a 2 x 2 frame: its centre lies half a
  // pixel left of the frame's and half a pixel above.
  frames[2] = {
      .number = 3, .name = "c.png", .width = 1, .height = 1, .sourceWidth = 2, .sourceHeight = 2};
  EXPECT_EQ(
      expand("ov.Repeat\n"
             "ov.ImageFullOffsetBottom ov.ImageFullCutWidthxov.ImageFullCutHeight "
             "{ov.ImageFullCentreOffsetX,ov.ImageFullCentreOffsetY} "
             "ov.ImageFullFrameX,ov.ImageFullFrameY "
             "ov.ImageFullRegionWidthxov.ImageFullRegionHeight\n"
             "ov.Until = 3",
             contextOf(frames, 2)),
      (Lines{"5 16x14 {-1,-2} -7,-9 11x21", "0 0x0 {0,0} 0,0 32x48", "1 1x1 {-0.5,0.5} 0,0 1x1"}));
}

// The word a template names turned frames by says which way it reads them.
TEST(ExactWords, TheRotationWordTellsTheTurn) {
  EXPECT_EQ(templateTurn(Lines{"a", "rotate: ov.ImageRotatedAnticlockwise"}), Turn::Anticlockwise);
  EXPECT_EQ(templateTurn(Lines{"\"rotated\": ov.ImageRotated"}), Turn::Clockwise);
  EXPECT_EQ(templateTurn(Lines{"ov.ImageRotatedAnticlockwise", "ov.ImageRotated"}),
            Turn::Clockwise);
  EXPECT_EQ(templateTurn(Lines{"ov.ImageX"}), Turn::Clockwise);
}

TEST(ExactWords, PixelFormOfEachDepth) {
  const FrameList frames = walkFrames();
  ExpansionContext context = contextOf(frames, 1);
  const struct {
    int32_t depth;
    bool transparent;
    bool premultiplied;
    std::string_view expected;
  } rows[] = {
      {kDepth32, false, false, "RGBA8888 32 false"},
      {kDepth32, false, true, "RGBA8888 32 true"},
      {kDepth24, false, false, "RGB888 24 false"},
      {kDepth8, true, false, "RGBA8888 8 false"},
      {kDepth4, false, false, "RGB888 4 false"},
      {kDepth4, true, true, "RGBA8888 4 true"},
      {kDepth1, false, false, "RGB888 1 false"},
      {kDepthAlpha, false, false, "RGB888 alpha false"},
  };
  for (const auto& row : rows) {
    context.colorDepth = row.depth;
    context.transparent = row.transparent;
    context.premultipliedAlpha = row.premultiplied;
    EXPECT_EQ(expand("ov.SheetFormat ov.SheetDepth ov.SheetPremultiplied", context),
              Lines{std::string(row.expected)});
  }
}

// Words are found where the template's text names them; what a value puts
// into a line is never read as a word, a tag or a marker.
TEST(ExactWords, ValuesAreNeverSearchedAgain) {
  FrameList frames = walkFrames();
  frames[0].name = "ov.Repeat.png";
  frames[1].name = "ov.ImageX.png";
  frames[2].name = "ov.ImageIndex.png";
  const ExpansionContext context = contextOf(frames, 1);
  EXPECT_EQ(expand("ov.Repeat\n<ov.ImageBase>\nov.Until = 3", context),
            (Lines{"<ov.Repeat>", "<ov.ImageX>", "<ov.ImageIndex>"}));
  // The longest name wins; a word's name is whole or not a word.
  EXPECT_EQ(expand("ov.ImageFileJSON ov.ImageFileXMLx ov.ImageFil", context),
            (Lines{"ov.Repeat.png ov.Repeat.pngx ov.ImageFil"}));
  // The tags keep their rules in the text around the words: an inserted
  // ov.ImageCount is replaced, an inserted ov.ImageIndex is no word. (A frame
  // named ov.Repeat.png makes such a line a marker line, as before.)
  frames[0].name = "walk1.png";
  frames[1].name = "ov.ImageCount.png";
  EXPECT_EQ(expand("ov.Repeat\nov.ImageName ov.ImageIndex\nov.Until = 3", context),
            (Lines{"walk1 0", "3 1", "ov.ImageIndex 2"}));
  // A marker is a marker only in the text outside the words.
  EXPECT_EQ(expand("ov.Rov.Commaepeat\nx", context), (Lines{"ov.Repeat", "x"}));
}

TEST(ExactWords, EscapedFormsOfEveryNameBearingWord) {
  FrameList frames = walkFrames();
  frames[0].name = "a\"<b> c.png";
  ExpansionContext context = contextOf(frames, 1);
  context.sheetPath = "/o/it's 1.png";
  EXPECT_EQ(expand("ov.ImageNameJSON|ov.ImageFileJSON|ov.ImageBaseJSON|ov.SheetNameJSON|"
                   "ov.SheetBaseJSON",
                   context),
            (Lines{"a\\\"<b> c|a\\\"<b> c.png|a\\\"<b> c|it's 1.png|it's 1"}));
  EXPECT_EQ(expand("ov.ImageNameXML|ov.ImageFileXML|ov.ImageBaseXML|ov.SheetNameXML|"
                   "ov.SheetBaseXML",
                   context),
            (Lines{"a&quot;&lt;b&gt; c|a&quot;&lt;b&gt; c.png|a&quot;&lt;b&gt; c|it&apos;s 1.png|"
                   "it&apos;s 1"}));
  EXPECT_EQ(expand("ov.ImageNameCSS|ov.ImageFileCSS|ov.ImageBaseCSS|ov.SheetNameCSS|"
                   "ov.SheetBaseCSS",
                   context),
            (Lines{"a\\\"\\<b\\>\\ c|a\\\"\\<b\\>\\ c\\.png|a\\\"\\<b\\>\\ c|it\\'s\\ 1\\.png|"
                   "it\\'s\\ 1"}));
  // A class name has no blank: each character that separates the classes of
  // a class attribute is a "-".
  EXPECT_EQ(expand("ov.ImageClass|ov.ImageClassJSON|ov.ImageClassXML|ov.ImageClassCSS", context),
            (Lines{"a\"<b>-c|a\\\"<b>-c|a&quot;&lt;b&gt;-c|a\\\"\\<b\\>-c"}));
  frames[0].name = "t\tl\nf\fc\r\v.png";
  EXPECT_EQ(expand("ov.ImageClassJSON", context), (Lines{"t-l-f-c-\\u000b"}));
}

TEST(ExactWords, AnimationWordsAndTheFrameRate) {
  const FrameList frames = hostileFrames();
  const AnimationList animations = {{"a\"<b> c", 0, 3}, {"ov.Comma", 3, 0}, {"last", 3, 5}};
  ExpansionContext context = contextOf(frames, 2);
  context.animations = animations;
  EXPECT_EQ(expand("ov.EachAnimation\n"
                   "ov.AnimationName|ov.AnimationNameJSON|ov.AnimationNameXML|ov.AnimationNameCSS "
                   "ov.AnimationIndex/ov.AnimationCount ov.AnimationFrameCount "
                   "ov.AnimationFirstIndex-ov.AnimationLastIndex "
                   "ov.AnimationFirstNumber-ov.AnimationLastNumber\n"
                   "ov.NextAnimation",
                   context),
            (Lines{"a\"<b> c|a\\\"<b> c|a&quot;&lt;b&gt; c|a\\\"\\<b\\>\\ c 0/3 3 0-2 1-3",
                   // Without frames, its last index is below its first.
                   "ov.Comma|ov.Comma|ov.Comma|ov\\.Comma 1/3 0 0--1 1-0",
                   "last|last|last|last 2/3 5 3-7 4-8"}));
  // The rate and each frame's duration in whole milliseconds, the nearest.
  const std::pair<int64_t, std::string> rates[] = {
      {10, "10 100"}, {12, "12 83"}, {7, "7 143"}, {60, "60 17"}, {0, "1 1000"}};
  for (const auto& [rate, expected] : rates) {
    context.frameRate = rate;
    EXPECT_EQ(expand("ov.FrameRate ov.FrameDuration", context), (Lines{expected})) << rate;
  }
}

// The gallery's templates that write animations, with the animation loop,
// write exactly what they wrote before it (testdata/gallery_before_animations/)
// for a sheet built without an animations option, with Retina or without, on
// one of several sheets.
TEST(ExactWords, GalleryTemplatesWithTheLoopWriteWhatTheyWroteBefore) {
  for (const char* name :
       {"JSON Hash.txt", "Aseprite JSON.txt", "Godot SpriteFrames.txt", "Defold Tilesource.txt"}) {
    const std::string today =
        testing::readFile(std::string(OZ_TESTDATA_DIR) + "/gallery_before_animations/" + name);
    const std::string rewritten =
        testing::readFile(std::string(OZ_SOURCE_DIR) + "/templates/" + name);
    ASSERT_FALSE(today.empty()) << name;
    ASSERT_NE(rewritten.find("ov.EachAnimation"), std::string::npos) << name;
    for (const FrameList& frames : {walkFrames(), hostileFrames()}) {
      for (const bool retina : {false, true}) {
        BuildOptions options;
        options.retina = retina;
        options.savePath = "/out/my sheet.v2.png";
        BuiltSheet sheet{frames, 111, 63, "/out/my sheet.v2-2.png", {}};
        sheet.animations = animationsOnSheet({}, frames.size(), sheet.path);
        const ExpansionContext context = makeExpansionContext(sheet, options, 1, 3);
        EXPECT_EQ(expandText(rewritten, context), expandText(today, context))
            << name << " frames " << frames.size() << " retina " << retina;
      }
    }
  }
}

// ov.Comma is "," on every pass of its block but the last.
TEST(ExactWords, CommaSeparatesThePassesOfABlock) {
  const FrameList frames = walkFrames();
  const ExpansionContext context = contextOf(frames, 1);
  struct Case {
    std::string text;
    Lines expected;
  };
  const std::vector<Case> cases = {
      {"[\nov.Repeat\n  ov.ImageIndexov.Comma\nov.Until = ov.ImageCount\n]",
       {"[", "  0,", "  1,", "  2", "]"}},
      {"ov.Repeat\nov.ImageNumberov.Comma\nov.Until = 1", {"1"}},
      {"ov.Repeat\nov.ImageNumberov.Comma\nov.Until = 5", {"1,", "2,", "3,", "3,", "3"}},
      // Outside any block, and with no ov.Until after it, a line goes out once.
      {"aov.Comma\nov.Repeat\nbov.Comma\nov.Until = 2\ncov.Comma", {"a", "b,", "b", "c"}},
      {"ov.Repeat\nxov.Comma\nov.Until = 3 ov.Repeat\ny", {"x", "y"}},
      {"ov.Repeat\nxov.Comma", {"x"}},
      // Two blocks each end without it; the bound is read with the words' values.
      {"ov.Repeat\nAov.Comma\nov.Until = ov.Rows\nov.Repeat\nBov.Comma\nov.Until = ov.Columns",
       {"A", "B,", "B,", "B"}},
      // An ov.Repeat inside an open block does not nest: the passes start
      // after it, and the first bound holds.
      {"ov.Repeat\nouter ov.ImageNumberov.Comma\nov.Repeat\ninner ov.ImageNumberov.Comma\n"
       "ov.Until = 3\nend ov.ImageNumberov.Comma\nov.Until = 9",
       {"outer 1", "inner 1,", "inner 2,", "inner 3", "end 3"}},
      // The line after an extension line is read in its place.
      {"ov.Repeat\nxov.Comma\nov.Extension\nov.Until = 2", {"x,", "x"}},
      // Before any ov.Repeat the template's start opens the block.
      {"head ov.ImageNumberov.Comma\nov.Until = 3", {"head 1,", "head 2,", "head 3"}},
      // On a marker line it gives nothing.
      {"ov.Repeat ov.Comma\nx\nov.Until = 2 ov.Comma", {"x", "x"}},
  };
  for (const Case& c : cases) EXPECT_EQ(expand(c.text, context), c.expected) << c.text;
}

}  // namespace
}  // namespace oz
