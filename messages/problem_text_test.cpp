#include "messages/problem_text.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace oz {
namespace {

const std::string kSizeErrorText =
    "Orvane Zozivi only supports images that share the same width and height. If you would "
    "like to create sprite sheets with various sized images, plus additional features, check out "
    "Orvane v2. A link to it can be found in the \"Help\" menu.";
const std::string kSizeLimitText =
    "The sprite image has exceeded the 8,192 pixel limit! Unable to create sprite sheet/strip.";
const std::string kNoImagesText = "No png images were found in the image folder!";

FrameEntry frame(int64_t number, std::string name, int64_t width, int64_t height) {
  return {number, std::move(name), 0, 0, width, height};
}
BuildRefusal sizeError(const FrameEntry& first, const FrameEntry& differing) {
  return {BuildProblem::SizeMismatch, {}, DifferingFrame{first, differing}};
}
BuildRefusal sizeLimit(const OversizedSheet& sheet) { return {BuildProblem::SizeLimit, {}, sheet}; }
BuildRefusal noImages(const RefusalCause& cause) {
  return {BuildProblem::NoImages, "/art/walk/", cause};
}

// The messages the command line prints are checked by its runs, the missing
// folder's by the main window's Create; these are the others.
TEST(ProblemText, EveryBuildProblemAndTheClipboardProblemHaveTheirMessages) {
  const struct {
    ProblemText actual, expected;
  } cases[] = {
      {problemText(BuildRefusal{BuildProblem::SizeMismatch, {}}),
       {"Image Size Error!", kSizeErrorText, ""}},
      {problemText(BuildRefusal{BuildProblem::SizeLimit, {}}),
       {"Image Size Limit!", kSizeLimitText, ""}},
      {problemText(BuildRefusal{BuildProblem::OutOfMemory, {}}),
       {"Out of Memory!", "There is not enough memory to create the sprite sheet/strip.", ""}},
      {problemText(ScriptFailure{ScriptProblem::ClipboardTooLarge, {}}),
       {"Out of Memory!", "There is not enough memory to copy the script to the clipboard.", ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected);
}

// The title and the text stay as they are; the details say what was found.
TEST(ProblemText, DetailsSayWhatToChange) {
  const struct {
    BuildRefusal refusal;
    std::string text, details;
  } cases[] = {
      {sizeError(frame(1, "walk1.png", 32, 48), frame(2, "walk2.png", 33, 48)), kSizeErrorText,
       "\"walk2.png\" is 33 x 48 pixels, but \"walk1.png\" is 32 x 48 pixels."},
      {sizeError(frame(1, "walk1.png", 1024, 48), frame(300, "walk300.png", 0, 0)), kSizeErrorText,
       "\"walk300.png\" is not a PNG image that can be read, but the 299 frames before it, from "
       "\"walk1.png\" on, are 1,024 x 48 pixels."},
      {sizeError(frame(1, "._walk1.png", 0, 0), frame(3, "walk1.png", 8, 8)), kSizeErrorText,
       "\"walk1.png\" is 8 x 8 pixels, but the 2 frames before it, from \"._walk1.png\" on, are "
       "not PNG images that can be read."},
      {sizeLimit({8256, 48, 129, 64, 48, true, 129, {1, 128}, false}), kSizeLimitText,
       "The sheet would be 8,256 x 48 pixels: 129 frames of 64 x 48 in one row. They do not fit "
       "in a strip; as a sheet, any number of columns from 1 to 128 fits."},
      {sizeLimit({128, 9600, 300, 64, 64, false, 2, {3, 128}, false}), kSizeLimitText,
       "The sheet would be 128 x 9,600 pixels: 300 frames of 64 x 64 in rows of 2. With "
       "\"Sheet\", any number of columns from 3 to 128 fits."},
      {sizeLimit({8190, 12288, 5, 2730, 4096, false, 2, {3, 3}, false}), kSizeLimitText,
       "The sheet would be 8,190 x 12,288 pixels: 5 frames of 2,730 x 4,096 in rows of 2. With "
       "\"Sheet\", only 3 columns fit."},
      {sizeLimit({64, 1088000, 17000, 64, 64, false, 1, {}, false}), kSizeLimitText,
       "The sheet would be 64 x 1,088,000 pixels: 17,000 frames of 64 x 64 in rows of 1. They do "
       "not fit in any number of columns."},
      {sizeLimit({8256, 48, 129, 64, 48, true, 129, {1, 128}, true}), kSizeLimitText,
       "The sheet would be 8,256 x 48 pixels: 129 distinct frames of 64 x 48 in one row. They do "
       "not fit in a strip; as a sheet, any number of columns from 1 to 128 fits."},
      {sizeLimit({9000, 10, 1, 9000, 10, true, 1, {}, false}), kSizeLimitText,
       "The sheet would be 9,000 x 10 pixels: 1 frame of 9,000 x 10 in one row. One frame alone "
       "is past the limit."},
      {noImages(FolderUnlistable{ENOENT}), kNoImagesText,
       "The folder \"/art/walk/\" does not exist."},
      {noImages(FolderUnlistable{ENOTDIR}), kNoImagesText, "\"/art/walk/\" is not a folder."},
      {noImages(FolderUnlistable{EACCES}), kNoImagesText,
       "You have no permission to open the folder \"/art/walk/\"."},
      {noImages(NoFrameFiles{12}), kNoImagesText,
       "The folder \"/art/walk/\" holds no file whose name ends in \".png\" in small letters; 12 "
       "names end in capitals, such as \".PNG\", which are not taken."},
      {noImages(NoDecodableFrame{1, "walk.png"}), kNoImagesText,
       "\"walk.png\", the folder's one file ending in \".png\", is not a PNG image that can be "
       "read."},
      {noImages(NoDecodableFrame{3, "a.png"}), kNoImagesText,
       "None of the folder's 3 files ending in \".png\", from \"a.png\" on, is a PNG image that "
       "can be read."},
      // The other form is said by the command line's run.
      {{BuildProblem::AnimationNamesClash, {}, AnimationNameClash{"walk", "walk", "", "walk"}},
       "Two animations are named \"walk\"! Unable to create sprite sheet/strip.",
       "The frames directly in the image folder form an animation named after the folder, and so "
       "do the frames of its subfolder \"walk\": rename the subfolder."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.details);
    const ProblemText problem = problemText(c.refusal);
    EXPECT_EQ(problem.text, c.text);
    EXPECT_EQ(problem.details, c.details);
  }
  EXPECT_EQ(problemText(BuildRefusal{BuildProblem::WriteFailed, "/art/out/walk.png",
                                     SheetNotWritten{FolderFault::Full}})
                .details,
            "The disk that holds the folder \"/art/out/\" is full.");
  EXPECT_EQ(
      problemText(ScriptFailure{
                      ScriptProblem::WriteFailed, "walk.plist", {}, {}, FolderFault::NoPermission})
          .details,
      "You have no permission to write in the folder \"./\".");
  const ProblemText large = problemText(ScriptFailure{ScriptProblem::TemplateUnreadable, "plist",
                                                      "/s/plist.txt", ReadResult::TooLarge});
  EXPECT_EQ(large, (ProblemText{"Wait!", "The \"plist\" script could not be read.",
                                "The file \"/s/plist.txt\" is larger than 64 MB, far more than a "
                                "template needs; it is not read."}));
}

TEST(ProblemText, OneFileNamedTwiceIsSaidWithBothPaths) {
  const auto text = [](RunFile file, RunFile other) {
    const ProblemText problem = problemText(
        BuildRefusal{BuildProblem::SameFile, {}, RunFilesClash{file, "/a/x", other, "b/x"}});
    EXPECT_EQ(problem.title, "Wait!");
    EXPECT_EQ(problem.details, "");
    return problem.text;
  };
  EXPECT_EQ(text(RunFile::Sheet, RunFile::Script),
            "The sprite sheet/strip \"/a/x\" and the script \"b/x\" are the same file! Nothing was "
            "saved; save them to two different files.");
  EXPECT_EQ(text(RunFile::Sheet, RunFile::Frame),
            "The sprite sheet/strip \"/a/x\" and the frame \"b/x\" are the same file! Nothing was "
            "saved; choose another file for the sprite sheet/strip.");
  EXPECT_EQ(text(RunFile::Script, RunFile::Template),
            "The script \"/a/x\" and the script's template \"b/x\" are the same file! Nothing was "
            "saved; choose another file for the script.");
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
                         "the script's halved positions are rounded down to whole pixels.",
                         ""}));
  context.divisor = 1;
  EXPECT_EQ(retinaRoundingNotice(context), std::nullopt);
}

// Packed frames differ: the notice names one whose place or size is odd.
TEST(ProblemText, RetinaNoticesAnOddPackedFrame) {
  // number, name, x, y, width, height, offsets, source size
  FrameList frames{{1, "a.png", 0, 0, 4, 2, 0, 0, 4, 2}, {2, "b.png", 4, 0, 6, 8, 0, 0, 6, 8}};
  ExpansionContext context;
  context.frames = frames;
  context.divisor = 2;
  EXPECT_EQ(retinaRoundingNotice(context), std::nullopt);
  frames[1].offsetY = 3;
  frames[1].sourceHeight = 11;
  EXPECT_EQ(retinaRoundingNotice(context),
            (ProblemText{"Retina",
                         "Frames such as \"b.png\" (6 x 8 at 4, 0) have odd places or sizes: with "
                         "Retina the script's halved positions and sizes are rounded down to "
                         "whole pixels.",
                         ""}));
}

// The packed layout's refusals name the frame, or say how many sheets it takes.
TEST(ProblemText, PackedRefusalsNameTheFrameAndTheSizes) {
  const FrameEntry trimmed{0, "hero.png", 0, 0, 3000, 200, 4, 0, 3004, 200};
  EXPECT_EQ(
      problemText(
          BuildRefusal{BuildProblem::FrameTooLarge, {}, OversizedFrame{trimmed, 3000, 200, 2048}}),
      (ProblemText{"Image Size Limit!",
                   "The frame \"hero.png\" is 3,000 x 200 pixels once trimmed, more than the "
                   "largest sheet, 2,048 x 2,048 pixels! Unable to create sprite sheet/strip.",
                   ""}));
  const FrameEntry whole{0, "bg.png", 0, 0, 2040, 20, 0, 0, 2040, 20};
  EXPECT_EQ(problemText(BuildRefusal{
                            BuildProblem::FrameTooLarge, {}, OversizedFrame{whole, 2052, 32, 2048}})
                .text,
            "The frame \"bg.png\" is 2,040 x 20 pixels, 2,052 x 32 with its extrusion and the "
            "sheet's border, more than the largest sheet, 2,048 x 2,048 pixels! Unable to create "
            "sprite sheet/strip.");
  EXPECT_EQ(
      problemText(BuildRefusal{BuildProblem::SizeLimit, {}, PackedOverflow{8192, 2, 1200, true}}),
      (ProblemText{"Image Size Limit!", kSizeLimitText,
                   "The 1,200 distinct frames would take 2 sheets of 8,192 x 8,192 pixels: "
                   "\"Several Sheets When Needed\" (--multipack) writes them."}));
  EXPECT_EQ(problemText(BuildRefusal{BuildProblem::FrameUnreadable, "x.png"}),
            (ProblemText{"Wait!", "The frame \"x.png\" could not be read as a PNG image.", ""}));
}

// The clash comes first; the options set apart are named as far as they are set.
TEST(ProblemText, NoticesOfAScriptItsReaderGetsWrong) {
  EXPECT_EQ(noticeTexts(ScriptNotices{}), std::vector<ProblemText>{});
  ScriptNotices notices{.classNameClash = ClassNameClash{"a b.png", "a-b.png", "a-b"},
                        .framesApart = FramesApart{2, 3, 1}};
  EXPECT_EQ(noticeTexts(notices),
            (std::vector<ProblemText>{
                {"Class Names",
                 "The frames \"a b.png\" and \"a-b.png\" get the same class name, \"a-b\", so "
                 "the script's rules cannot tell them apart: rename one of them.",
                 ""},
                {"Frame Positions",
                 "The script gives the frames' size but not their places on the sheet: with a "
                 "spacing of 2 pixels, a border of 3 pixels and an extrusion of 1 pixel, whatever "
                 "steps through the sheet by the frame size draws the wrong pixels.",
                 ""}}));
  notices = {.classNameClash = std::nullopt, .framesApart = FramesApart{0, 1, 4}};
  ASSERT_EQ(noticeTexts(notices).size(), 1u);
  EXPECT_NE(noticeTexts(notices)[0].text.find("with a border of 1 pixel and an extrusion of 4 "
                                              "pixels, whatever"),
            std::string::npos);
  notices.framesApart = FramesApart{0, 0, 0, true};
  EXPECT_NE(noticeTexts(notices)[0].text.find("with the frames packed, whatever"),
            std::string::npos);
  notices = {.classNameClash = std::nullopt,
             .framesApart = std::nullopt,
             .turnedUntold = "a.png",
             .trimmedUntold = "b.png"};
  const std::vector<ProblemText> told = noticeTexts(notices);
  ASSERT_EQ(told.size(), 2u);
  EXPECT_EQ(told[0].title, "Turned Frames");
  EXPECT_EQ(told[1].title, "Trimmed Frames");
  EXPECT_NE(told[0].text.find("\"a.png\""), std::string::npos);
  EXPECT_NE(told[1].text.find("\"b.png\""), std::string::npos);
}

}  // namespace
}  // namespace oz
