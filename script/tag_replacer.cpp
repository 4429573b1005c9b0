#include "script/tag_replacer.h"

#include <charconv>

#include "script/text_replace.h"

namespace oz {
namespace {

// The order matters: a value inserted by one tag is searched by the tags after
// it, so a frame named "ov.ImageCount.png" yields the frame count.
enum TagIndex {
  kImageX,
  kImageY,
  kImageWidth,
  kImageHeight,
  kImageName,
  kImageNumber,
  kImageCount,
  kSheetWidth,
  kSheetHeight,
  kSheetName,
  kSheetNumber,
};

std::string decimal(int64_t value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  return std::string(digits, result.ptr);
}

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::string_view fileNamePart(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string frameBaseName(std::string_view name) {
  // Four characters, not bytes: a UTF-8 sequence is never cut in two.
  size_t start = name.size();
  for (int characters = 0; characters < 4 && start > 0; ++characters) {
    do {
      --start;
    } while (start > 0 && isContinuationByte(name[start]));
  }
  if (start == name.size()) return std::string(name);
  return removeAll(name, name.substr(start));
}

TagReplacer::TagReplacer(const ExpansionContext& context)
    : divisor_(context.divisor > 0 ? context.divisor : 1),
      tags_{{
          {"ov.ImageX", {}},
          {"ov.ImageY", {}},
          {"ov.ImageWidth", {}},
          {"ov.ImageHeight", {}},
          {"ov.ImageName", {}},
          {"ov.ImageNumber", {}},
          {"ov.ImageCount", decimal(static_cast<int64_t>(context.frames.size()))},
          {"ov.SheetWidth", {}},
          {"ov.SheetHeight", {}},
          {"ov.SheetName", std::string(fileNamePart(context.sheetPath))},
          {"ov.SheetNumber", context.sheetNumber},
      }} {
  tags_[kSheetWidth].value = halved(context.sheetWidth);
  tags_[kSheetHeight].value = halved(context.sheetHeight);
}

std::string TagReplacer::halved(int64_t value) const {
  // Integer division rounds toward zero, as the halving must.
  return decimal(value / divisor_);
}

void TagReplacer::selectFrame(const FrameEntry* frame) {
  if (frameSelected_ && frame == frame_) return;
  frame_ = frame;
  frameSelected_ = true;
  const FrameEntry none;
  const FrameEntry& f = frame != nullptr ? *frame : none;
  tags_[kImageX].value = halved(f.x);
  tags_[kImageY].value = halved(f.y);
  tags_[kImageWidth].value = halved(f.width);
  tags_[kImageHeight].value = halved(f.height);
  tags_[kImageName].value = frameBaseName(f.name);
  tags_[kImageNumber].value = decimal(f.number);
}

std::string_view TagReplacer::replace(std::string_view line) {
  // Every tag starts with "ov.", so most lines are done after one scan.
  if (!contains(line, "ov.")) return line;
  std::string_view current = line;
  for (const Tag& tag : tags_) {
    if (!contains(current, tag.name)) continue;
    std::string& out = current.data() == scratchA_.data() ? scratchB_ : scratchA_;
    out.clear();
    appendReplacingAll(current, tag.name, tag.value, &out);
    current = out;
  }
  return current;
}

}  // namespace oz
