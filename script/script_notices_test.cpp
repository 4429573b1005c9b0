#include "script/script_notices.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/text_lines.h"
#include "script/example_scripts.h"

namespace oz {
namespace {

FrameList framesNamed(std::vector<std::string> names) {
  FrameList frames;
  for (size_t i = 0; i < names.size(); ++i) {
    frames.push_back({.number = static_cast<int64_t>(i) + 1,
                      .name = names[i],
                      .x = static_cast<int64_t>(i) * 37,
                      .width = 37,
                      .height = 21,
                      .sourceWidth = 37,
                      .sourceHeight = 21});
  }
  return frames;
}

ExpansionContext contextOf(std::span<const FrameEntry> frames) {
  ExpansionContext context;
  context.frames = frames;
  return context;
}

ScriptNotices noticesOf(std::string_view text, const ExpansionContext& context) {
  return scriptNotices(splitLines(text), context);
}

std::string_view exampleText(std::string_view fileName) {
  for (const ExampleScript& example : exampleScripts()) {
    if (example.fileName == fileName) return example.text;
  }
  return {};
}

TEST(ScriptNotices, FramesApartOnlyWhereTheTemplateStepsByTheFrameSize) {
  const FrameList frames = framesNamed({"a.png", "b.png"});
  ExpansionContext context = contextOf(frames);
  context.spacing = 2;
  context.border = 3;
  context.extrude = 1;
  const FramesApart all{2, 3, 1};
  // The HTML5 example gives the size alone; the other examples give positions.
  EXPECT_EQ(noticesOf(exampleText("HTML5.txt"), context).framesApart, all);
  for (const ExampleScript& example : exampleScripts()) {
    if (example.fileName == "HTML5.txt") continue;
    EXPECT_EQ(noticesOf(example.text, context), ScriptNotices{}) << example.fileName;
  }
  EXPECT_EQ(noticesOf("w=ov.ImageFullWidth h=ov.ImageSourceHeight", context).framesApart, all);
  EXPECT_EQ(noticesOf("ov.ImageWidth ov.ImageFullY", context), ScriptNotices{});
  // A template that names an option steps over it: Defold's tile source
  // names spacing and extrusion, but has no border.
  EXPECT_EQ(noticesOf("ov.ImageFullWidth ov.FullSpacing ov.Extrude", context).framesApart,
            (FramesApart{0, 3, 0}));
  EXPECT_EQ(noticesOf("ov.ImageHeight ov.Spacing ov.FullMargin ov.FullExtrude", context),
            ScriptNotices{});
  // Words on marker lines are never written.
  EXPECT_EQ(
      noticesOf("ov.Repeat ov.ImageX\nov.ImageWidth\nov.Until = 2 ov.ImageY", context).framesApart,
      all);
  // Frames that touch and start at the corner are where stepping finds them.
  context.spacing = context.border = context.extrude = 0;
  EXPECT_EQ(noticesOf(exampleText("HTML5.txt"), context), ScriptNotices{});
}

// A packed sheet's frames lie where the packer put them: a template that
// gives their size alone misses them whatever options it names.
TEST(ScriptNotices, PackedFramesAreApartWhateverTheTemplateNames) {
  const FrameList frames = framesNamed({"a.png", "b.png"});
  ExpansionContext context = contextOf(frames);
  context.packed = true;
  context.spacing = 2;
  EXPECT_EQ(noticesOf("ov.ImageFullWidth ov.FullSpacing", context).framesApart,
            (FramesApart{2, 0, 0, true}));
  EXPECT_EQ(noticesOf("ov.ImageFullWidth ov.ImageFullX", context), ScriptNotices{});
}

// A frame stored turned or trimmed is told of where the written lines name
// no word that says so; the first such frame is named.
TEST(ScriptNotices, TurnedAndTrimmedFramesTheTemplateDoesNotTell) {
  FrameList frames = framesNamed({"a.png", "b.png", "c.png"});
  frames[1].rotated = true;
  frames[2].offsetX = 1;
  frames[2].sourceWidth = 38;
  const ExpansionContext context = contextOf(frames);
  const ScriptNotices untold = noticesOf("ov.ImageFullX ov.ImageFullWidth", context);
  EXPECT_EQ(untold.turnedUntold, "b.png");
  EXPECT_EQ(untold.trimmedUntold, "c.png");
  EXPECT_EQ(noticesOf("ov.ImageRotatedAnticlockwise ov.ImageFullOffsetBottom ov.ImageX", context),
            ScriptNotices{});
  EXPECT_EQ(noticesOf("ov.ImageRotated ov.ImageFullCentreOffsetY ov.ImageX", context),
            ScriptNotices{});
  // Only written lines count: a line for the grid does not tell a packed sheet.
  ExpansionContext packed = context;
  packed.packed = true;
  EXPECT_EQ(noticesOf("ov.ImageX\nov.IfGrid ov.ImageRotated ov.ImageOffsetX", packed).turnedUntold,
            "b.png");
  EXPECT_EQ(noticesOf("ov.ImageX\nov.IfPacked ov.ImageRotated ov.ImageOffsetX", packed),
            ScriptNotices{});
}

TEST(ScriptNotices, FramesWhoseClassNamesAreTheSame) {
  const std::string_view css = ".sprite-ov.ImageClassCSS {";
  const FrameList frames = framesNamed({"walk 1.png", "a.png", "walk-1.png", "walk\t1.png"});
  const ExpansionContext context = contextOf(frames);
  EXPECT_EQ(noticesOf(css, context).classNameClash,
            (ClassNameClash{"walk 1.png", "walk-1.png", "walk-1"}));
  // Only a template that writes class names is told.
  EXPECT_EQ(noticesOf(".sprite-ov.ImageBaseCSS {", context), ScriptNotices{});
  EXPECT_EQ(noticesOf("ov.Repeat ov.ImageClass\nx\nov.Until = 4", context), ScriptNotices{});
  // Names apart that the style sheet reads alike: bytes that are not UTF-8.
  const FrameList bytes = framesNamed({"\xFF.png", "\xFE.png", "x.png"});
  EXPECT_EQ(noticesOf(css, contextOf(bytes)).classNameClash,
            (ClassNameClash{"\xFF.png", "\xFE.png", "\xFE"}));
  const FrameList apart = framesNamed({"walk 1.png", "walk_1.png", "Walk-1.png", "walk1.png"});
  EXPECT_EQ(noticesOf(css, contextOf(apart)), ScriptNotices{});
}

}  // namespace
}  // namespace oz
