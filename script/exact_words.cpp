#include "script/exact_words.h"

#include <algorithm>
#include <charconv>

#include "base/path_parts.h"
#include "script/class_name.h"
#include "sheet/color_depth.h"

namespace oz {
namespace {

void appendNumber(int64_t value, std::string* out) {
  char digits[20];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out->append(digits, result.ptr);
}

// `halves` / 2, exactly: a whole number, or one and a half written with ".5"
// (-1 gives "-0.5", which integer division would make "0").
void appendHalves(int64_t halves, std::string* out) {
  if (halves % 2 == 0) return appendNumber(halves / 2, out);
  if (halves < 0) out->push_back('-');
  const int64_t magnitude = halves < 0 ? -halves : halves;
  appendNumber(magnitude / 2, out);
  out->append(".5");
}

// The texture format the sheet's pixels need once decoded, in the names
// texture packers and libGDX use: alpha kept (32-bit, or a palette that keeps
// it) or not.
std::string_view textureFormat(const ExpansionContext& context) {
  if (context.colorDepth == kDepth8 || context.colorDepth == kDepth4) {
    return context.transparent ? "RGBA8888" : "RGB888";
  }
  return depthInfo(context.colorDepth).form == SheetForm::Rgba ? "RGBA8888" : "RGB888";
}

}  // namespace

std::string_view frameBase(std::string_view name) {
  return name.ends_with(".png") ? name.substr(0, name.size() - 4) : name;
}

ExactWords findExactWords(std::string_view line) {
  ExactWords found;
  size_t from = 0;
  for (size_t at = line.find(kWordPrefix); at != std::string_view::npos;) {
    const ExactWord* longest = nullptr;
    for (const ExactWord& word : kExactWords) {
      if (line.substr(at).starts_with(word.name) &&
          (longest == nullptr || word.name.size() > longest->name.size())) {
        longest = &word;
      }
    }
    if (longest == nullptr) {
      at = line.find(kWordPrefix, at + 1);
      continue;
    }
    found.uses.push_back({line.substr(from, at - from), longest});
    from = at + longest->name.size();
    at = line.find(kWordPrefix, from);
  }
  found.tail = line.substr(from);
  return found;
}

std::span<const FrameEntry> animationFrames(const ExpansionContext& context,
                                            const Animation& animation) {
  const size_t first = std::min(animation.first, context.frames.size());
  return context.frames.subspan(first, std::min(animation.count, context.frames.size() - first));
}

AnimationValues animationValues(const ExpansionContext& context, size_t index) {
  if (index >= context.animations.size()) return {};
  const Animation& animation = context.animations[index];
  const std::span<const FrameEntry> frames = animationFrames(context, animation);
  AnimationValues values{.name = animation.name,
                         .index = static_cast<int64_t>(index),
                         .frameCount = static_cast<int64_t>(frames.size())};
  if (!frames.empty()) {
    values.firstIndex = frames.front().number - 1;
    values.lastIndex = frames.back().number - 1;
  }
  return values;
}

ExactWordValues::ExactWordValues(const ExpansionContext& context)
    : context_(context),
      sheetBase_(withoutExtension(fileNamePart(context.sheetPath))),
      animation_(animationValues(context, 0)) {}

void ExactWordValues::append(const ExactWord& word, const FrameEntry* frame,
                             const TagReplacer& tags, bool passContinues, std::string* out) const {
  const FrameEntry none;
  const FrameEntry& f = frame != nullptr ? *frame : none;
  const auto text = [&](std::string_view value) { appendEscaped(value, word.escape, out); };
  switch (word.value) {
    case WordValue::ImageIndex:
      return appendNumber(frame != nullptr ? f.number - 1 : 0, out);
    case WordValue::ImageName:
      return text(tags.value(kImageName));
    case WordValue::ImageFile:
      return text(f.name);
    case WordValue::ImageBase:
      return text(frameBase(f.name));
    case WordValue::ImageClass:
      return text(htmlClassName(frameBase(f.name)));
    case WordValue::ImageFullX:
      return appendNumber(f.x, out);
    case WordValue::ImageFullY:
      return appendNumber(f.y, out);
    case WordValue::ImageFullWidth:
      return appendNumber(f.width, out);
    case WordValue::ImageFullHeight:
      return appendNumber(f.height, out);
    case WordValue::ImageSourceWidth:
      return appendNumber(f.sourceWidth / context_.divisor, out);
    case WordValue::ImageSourceHeight:
      return appendNumber(f.sourceHeight / context_.divisor, out);
    case WordValue::ImageFullSourceWidth:
      return appendNumber(f.sourceWidth, out);
    case WordValue::ImageFullSourceHeight:
      return appendNumber(f.sourceHeight, out);
    case WordValue::ImageOffsetX:
      return appendNumber(f.offsetX / context_.divisor, out);
    case WordValue::ImageOffsetY:
      return appendNumber(f.offsetY / context_.divisor, out);
    case WordValue::ImageFullOffsetX:
      return appendNumber(f.offsetX, out);
    case WordValue::ImageFullOffsetY:
      return appendNumber(f.offsetY, out);
    case WordValue::ImageTrimmed:
      return text(frame != nullptr && f.trimmed() ? "true" : "false");
    case WordValue::ImageRotated:
      return text(f.rotated ? "true" : "false");
    case WordValue::ImageFullOffsetBottom:
      return appendNumber(f.sourceHeight - f.offsetY - f.height, out);
    case WordValue::ImageFullCutWidth:
      return appendNumber(f.sourceWidth - f.width, out);
    case WordValue::ImageFullCutHeight:
      return appendNumber(f.sourceHeight - f.height, out);
    // The stored rectangle's centre less the whole frame's, y counted up.
    case WordValue::ImageFullCentreOffsetX:
      return appendHalves(2 * f.offsetX + f.width - f.sourceWidth, out);
    case WordValue::ImageFullCentreOffsetY:
      return appendHalves(f.sourceHeight - 2 * f.offsetY - f.height, out);
    case WordValue::ImageFullFrameX:
      return appendNumber(-f.offsetX, out);
    case WordValue::ImageFullFrameY:
      return appendNumber(-f.offsetY, out);
    case WordValue::ImageFullRegionWidth:
      return appendNumber(f.rotated ? f.height : f.width, out);
    case WordValue::ImageFullRegionHeight:
      return appendNumber(f.rotated ? f.width : f.height, out);
    case WordValue::IfPacked:
    case WordValue::IfGrid:
      return;
    case WordValue::SheetName:
      return text(tags.value(kSheetName));
    case WordValue::SheetBase:
      return text(sheetBase_);
    case WordValue::SheetFullWidth:
      return appendNumber(context_.sheetWidth, out);
    case WordValue::SheetFullHeight:
      return appendNumber(context_.sheetHeight, out);
    case WordValue::SheetIndex:
      return appendNumber(context_.sheetIndex, out);
    case WordValue::SheetCount:
      return appendNumber(context_.sheetCount, out);
    case WordValue::SheetScale:
      return appendNumber(context_.divisor, out);
    case WordValue::SheetFormat:
      return text(textureFormat(context_));
    case WordValue::SheetDepth:
      return text(depthInfo(context_.colorDepth).cliWord);
    case WordValue::SheetPremultiplied:
      return text(context_.premultipliedAlpha ? "true" : "false");
    case WordValue::Columns:
      return appendNumber(context_.columns, out);
    case WordValue::Rows:
      return appendNumber(context_.rows, out);
    // Halved with Retina, as the positions are.
    case WordValue::Spacing:
      return appendNumber(context_.spacing / context_.divisor, out);
    case WordValue::Margin:
      return appendNumber(context_.border / context_.divisor, out);
    case WordValue::Extrude:
      return appendNumber(context_.extrude / context_.divisor, out);
    // For formats that give the tile size in the sheet's own pixels.
    case WordValue::FullSpacing:
      return appendNumber(context_.spacing, out);
    case WordValue::FullMargin:
      return appendNumber(context_.border, out);
    case WordValue::FullExtrude:
      return appendNumber(context_.extrude, out);
    case WordValue::Comma:
      if (passContinues) out->push_back(',');
      return;
    case WordValue::AnimationName:
      return text(animation_.name);
    case WordValue::AnimationIndex:
      return appendNumber(animation_.index, out);
    case WordValue::AnimationCount:
      return appendNumber(static_cast<int64_t>(context_.animations.size()), out);
    case WordValue::AnimationFrameCount:
      return appendNumber(animation_.frameCount, out);
    case WordValue::AnimationFirstIndex:
      return appendNumber(animation_.firstIndex, out);
    case WordValue::AnimationLastIndex:
      return appendNumber(animation_.lastIndex, out);
    // For formats that count frames or tiles from 1.
    case WordValue::AnimationFirstNumber:
      return appendNumber(animation_.firstIndex + 1, out);
    case WordValue::AnimationLastNumber:
      return appendNumber(animation_.lastIndex + 1, out);
    case WordValue::FrameRate:
      return appendNumber(frameRate(), out);
    // Whole milliseconds, the nearest: 83 at 12 frames a second.
    case WordValue::FrameDuration:
      return appendNumber((2000 / frameRate() + 1) / 2, out);
    case WordValue::Between:        // decides whether its line is written at all
    case WordValue::EachAnimation:  // marker lines are never written
    case WordValue::NextAnimation:
      return;
  }
}

}  // namespace oz
