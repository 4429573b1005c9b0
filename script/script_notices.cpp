#include "script/script_notices.h"

#include <map>

#include "script/class_name.h"
#include "script/escape.h"
#include "script/exact_words.h"
#include "script/layout_lines.h"
#include "script/template_scan.h"

namespace oz {
namespace {

// Which words the written lines of a template name, as far as the notices ask.
struct NamedWords {
  bool frameSize = false;
  bool framePosition = false;
  bool spacing = false;
  bool margin = false;
  bool extrude = false;
  bool imageClass = false;
  bool rotated = false;
  bool offset = false;

  void note(WordValue value) {
    switch (value) {
      case WordValue::ImageFullWidth:
      case WordValue::ImageFullHeight:
      case WordValue::ImageSourceWidth:
      case WordValue::ImageSourceHeight:
      case WordValue::ImageFullSourceWidth:
      case WordValue::ImageFullSourceHeight:
        frameSize = true;
        return;
      case WordValue::ImageFullX:
      case WordValue::ImageFullY:
        framePosition = true;
        return;
      case WordValue::Spacing:
      case WordValue::FullSpacing:
        spacing = true;
        return;
      case WordValue::Margin:
      case WordValue::FullMargin:
        margin = true;
        return;
      case WordValue::Extrude:
      case WordValue::FullExtrude:
        extrude = true;
        return;
      case WordValue::ImageClass:
        imageClass = true;
        return;
      case WordValue::ImageRotated:
        rotated = true;
        return;
      case WordValue::ImageOffsetX:
      case WordValue::ImageOffsetY:
      case WordValue::ImageFullOffsetX:
      case WordValue::ImageFullOffsetY:
      case WordValue::ImageFullOffsetBottom:
      case WordValue::ImageFullCentreOffsetX:
      case WordValue::ImageFullCentreOffsetY:
      case WordValue::ImageFullFrameX:
      case WordValue::ImageFullFrameY:
        offset = true;
        return;
      default:
        return;
    }
  }
};

NamedWords namedWords(std::span<const std::string> lines) {
  const TemplateScan scan(lines, std::nullopt);
  NamedWords named;
  for (size_t i = 0; i < scan.size(); ++i) {
    const ScannedLine& line = scan.line(i);
    if (line.repeat || line.until || line.extension) continue;
    for (const TagUse& use : scan.uses(line)) {
      named.frameSize = named.frameSize || use.tag == kImageWidth || use.tag == kImageHeight;
      named.framePosition = named.framePosition || use.tag == kImageX || use.tag == kImageY;
    }
    for (const ExactUse& use : scan.exactUses(line)) named.note(use.word->value);
  }
  return named;
}

// Class names are compared as a style sheet reads them: in their CSS form,
// which turns what is not UTF-8 into U+FFFD as every escaped form does.
std::optional<ClassNameClash> firstClassNameClash(std::span<const FrameEntry> frames) {
  std::map<std::string, const FrameEntry*> seen;
  for (const FrameEntry& frame : frames) {
    const std::string name = htmlClassName(frameBase(frame.name));
    std::string key;
    appendEscaped(name, Escape::Css, &key);
    const auto [at, added] = seen.emplace(std::move(key), &frame);
    if (!added) return ClassNameClash{at->second->name, frame.name, name};
  }
  return std::nullopt;
}

// The file name of the first frame `untold` holds for, if any.
template <typename Predicate>
std::optional<std::string> firstFrame(std::span<const FrameEntry> frames, Predicate untold) {
  for (const FrameEntry& frame : frames) {
    if (untold(frame)) return frame.name;
  }
  return std::nullopt;
}

}  // namespace

ScriptNotices scriptNotices(std::span<const std::string> lines, const ExpansionContext& context) {
  std::vector<std::string> linesKept;
  const NamedWords named = namedWords(linesForLayout(lines, context.packed, &linesKept));
  ScriptNotices notices;
  if (named.imageClass) notices.classNameClash = firstClassNameClash(context.frames);
  if (named.frameSize && !named.framePosition) {
    const bool packed = context.packed;
    const FramesApart apart{named.spacing && !packed ? 0 : context.spacing,
                            named.margin && !packed ? 0 : context.border,
                            named.extrude && !packed ? 0 : context.extrude, packed};
    if (apart != FramesApart{}) notices.framesApart = apart;
  }
  if (!named.rotated) {
    notices.turnedUntold =
        firstFrame(context.frames, [](const FrameEntry& f) { return f.rotated; });
  }
  if (!named.offset) {
    notices.trimmedUntold =
        firstFrame(context.frames, [](const FrameEntry& f) { return f.trimmed(); });
  }
  return notices;
}

}  // namespace oz
