#include "messages/problem_text.h"

#include <algorithm>
#include <string_view>

#include "messages/problem_details.h"

namespace oz {
namespace {

// A problem's message. One that names a path or a script puts it between
// `text` and `after`; the others have no `after` and name nothing.
struct ProblemRow {
  std::string_view title;
  std::string_view text;
  std::string_view after = {};
};

constexpr std::string_view kWaitTitle = "Wait!";
constexpr std::string_view kSaveErrorTitle = "Save Error!";
constexpr std::string_view kOutOfMemoryTitle = "Out of Memory!";
constexpr std::string_view kSizeLimitTitle = "Image Size Limit!";

// The tables are switches without a default, so that a problem added without
// its message fails to compile.
constexpr ProblemRow rowFor(BuildProblem problem) {
  switch (problem) {
    case BuildProblem::NoSavePath:
      return {kWaitTitle, "You have not chosen where to save your sprite sheet/strip!"};
    case BuildProblem::NoImageFolder:
      return {kWaitTitle, "You have not selected an image folder!"};
    case BuildProblem::NoImages:
      return {kWaitTitle, "No png images were found in the image folder!"};
    case BuildProblem::SizeMismatch:
      return {"Image Size Error!",
              "Orvane Zozivi only supports images that share the same width and height. If you "
              "would like to create sprite sheets with various sized images, plus additional "
              "features, check out Orvane v2. A link to it can be found in the \"Help\" menu."};
    case BuildProblem::SizeLimit:
      return {kSizeLimitTitle,
              "The sprite image has exceeded the 8,192 pixel limit! Unable to create sprite "
              "sheet/strip."};
    case BuildProblem::WriteFailed:
      return {kSaveErrorTitle, "Unable to save the sprite sheet/strip to \"", "\"."};
    case BuildProblem::OutOfMemory:
      return {kOutOfMemoryTitle, "There is not enough memory to create the sprite sheet/strip."};
    case BuildProblem::SameFile:
      return {kWaitTitle, {}};  // names its two paths: sameFileText
    case BuildProblem::FrameTooLarge:
      return {kSizeLimitTitle, {}};  // names the frame and both sizes: oversizedFrameText
    case BuildProblem::FrameUnreadable:
      return {kWaitTitle, "The frame \"", "\" could not be read as a PNG image."};
    case BuildProblem::AnimationNamesClash:
      return {kWaitTitle, {}};  // names the two animations: animationNamesText
  }
  return {};
}

constexpr ProblemRow rowFor(ScriptProblem problem) {
  switch (problem) {
    case ScriptProblem::TemplateUnreadable:
      return {kWaitTitle, "The \"", "\" script could not be read."};
    case ScriptProblem::WriteFailed:
      return {kSaveErrorTitle, "Unable to save the script to \"", "\"."};
    case ScriptProblem::ClipboardTooLarge:
      return {kOutOfMemoryTitle, "There is not enough memory to copy the script to the clipboard."};
  }
  return {};
}

// "a spacing of 2 pixels, a border of 3 pixels and an extrusion of 1 pixel",
// naming only the options that are set; packed frames first.
std::string framesApartText(const FramesApart& apart) {
  std::vector<std::string> parts;
  if (apart.packed) parts.emplace_back("the frames packed");
  const auto add = [&parts](std::string_view what, int64_t pixels) {
    if (pixels == 0) return;
    parts.push_back(std::string(what) + std::to_string(pixels) +
                    (pixels == 1 ? " pixel" : " pixels"));
  };
  add("a spacing of ", apart.spacing);
  add("a border of ", apart.border);
  add("an extrusion of ", apart.extrude);
  std::string text;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) text += i + 1 == parts.size() ? " and " : ", ";
    text += parts[i];
  }
  return text;
}

ProblemText textOf(const ProblemRow& row, std::string_view subject) {
  ProblemText result{std::string(row.title), std::string(row.text), {}};
  if (!row.after.empty()) result.text.append(subject).append(row.after);
  return result;
}

}  // namespace

ProblemText problemText(const BuildRefusal& refusal) {
  ProblemText result = textOf(rowFor(refusal.problem), refusal.path);
  if (const auto* clash = std::get_if<RunFilesClash>(&refusal.cause)) {
    result.text = sameFileText(*clash);
  } else if (const auto* oversized = std::get_if<OversizedFrame>(&refusal.cause)) {
    result.text = oversizedFrameText(*oversized);
  } else if (const auto* overflow = std::get_if<PackedOverflow>(&refusal.cause)) {
    result.text = sizeLimitText(overflow->maxSize);
  } else if (const auto* names = std::get_if<AnimationNameClash>(&refusal.cause)) {
    result.text = animationNamesText(*names);
  }
  result.details = problemDetails(refusal);
  return result;
}

ProblemText problemText(const ScriptFailure& failure) {
  ProblemText result = textOf(rowFor(failure.problem), failure.subject);
  result.details = problemDetails(failure);
  return result;
}

std::optional<ProblemText> retinaRoundingNotice(const ExpansionContext& context) {
  if (context.divisor != 2 || context.frames.empty()) return std::nullopt;
  const FrameEntry& frame = context.frames.front();
  const bool oneSize = std::all_of(
      context.frames.begin(), context.frames.end(),
      [&](const FrameEntry& f) { return f.width == frame.width && f.height == frame.height; });
  if (oneSize && (frame.width % 2 != 0 || frame.height % 2 != 0)) {
    return ProblemText{
        "Retina",
        "The frames are " + std::to_string(frame.width) + " x " + std::to_string(frame.height) +
            " pixels: with Retina the script's halved positions and sizes are rounded down to "
            "whole pixels.",
        {}};
  }
  if (context.spacing % 2 != 0 || context.border % 2 != 0 || context.extrude % 2 != 0) {
    return ProblemText{"Retina",
                       "The spacing is " + std::to_string(context.spacing) + ", the border " +
                           std::to_string(context.border) + " and the extrusion " +
                           std::to_string(context.extrude) +
                           " pixels: with Retina the script's halved positions are "
                           "rounded down to whole pixels.",
                       {}};
  }
  // Packed frames have sizes and places of their own.
  const auto odd = [](const FrameEntry& f) {
    return (f.x | f.y | f.width | f.height | f.offsetX | f.offsetY | f.sourceWidth |
            f.sourceHeight) %
               2 !=
           0;
  };
  const auto first = std::find_if(context.frames.begin(), context.frames.end(), odd);
  if (first == context.frames.end()) return std::nullopt;
  return ProblemText{"Retina",
                     "Frames such as \"" + first->name + "\" (" + std::to_string(first->width) +
                         " x " + std::to_string(first->height) + " at " + std::to_string(first->x) +
                         ", " + std::to_string(first->y) +
                         ") have odd places or sizes: with Retina the script's halved positions "
                         "and sizes are rounded down to whole pixels.",
                     {}};
}

std::vector<ProblemText> noticeTexts(const ScriptNotices& notices) {
  std::vector<ProblemText> texts;
  if (const auto& clash = notices.classNameClash) {
    texts.push_back({"Class Names",
                     "The frames \"" + clash->first + "\" and \"" + clash->second +
                         "\" get the same class name, \"" + clash->className +
                         "\", so the script's rules cannot tell them apart: rename one of them.",
                     {}});
  }
  if (const auto& apart = notices.framesApart) {
    texts.push_back({"Frame Positions",
                     "The script gives the frames' size but not their places on the sheet: with " +
                         framesApartText(*apart) +
                         ", whatever steps through the sheet by the frame size draws the wrong "
                         "pixels.",
                     {}});
  }
  if (const auto& name = notices.turnedUntold) {
    texts.push_back({"Turned Frames",
                     "Frames such as \"" + *name +
                         "\" are stored turned on the sheet, but the script does not say which: "
                         "whatever reads it draws them on their side. Build without rotation for "
                         "this script.",
                     {}});
  }
  if (const auto& name = notices.trimmedUntold) {
    texts.push_back({"Trimmed Frames",
                     "Frames such as \"" + *name +
                         "\" are trimmed, but the script does not say where their visible part "
                         "lies in the whole frame: whatever reads it draws that part at the "
                         "frame's corner. Build without trimming for this script.",
                     {}});
  }
  return texts;
}

}  // namespace oz
