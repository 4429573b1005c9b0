#include "script/tag_replacer.h"

#include <charconv>

#include "base/path_parts.h"
#include "script/template_words.h"
#include "script/text_replace.h"

namespace oz {
namespace {

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Every tag and marker name starts with kWordPrefix, so text can only start one
// inside itself by holding kWordPrefix or by ending in a first part of it.
bool isInert(std::string_view text) {
  return !contains(text, kWordPrefix) && !text.ends_with('o') && !text.ends_with("ov");
}

// The last four characters of `name` (fewer if it is shorter); a UTF-8
// sequence is never cut in two.
std::string_view lastFourCharacters(std::string_view name) {
  size_t start = name.size();
  for (int characters = 0; characters < 4 && start > 0; ++characters) {
    do {
      --start;
    } while (start > 0 && isContinuationByte(name[start]));
  }
  return name.substr(start);
}

}  // namespace

TagReplacer::TagReplacer(const ExpansionContext& context)
    : divisor_(context.divisor > 0 ? context.divisor : 1) {
  setNumber(kImageCount, static_cast<int64_t>(context.frames.size()));
  // Integer division rounds toward zero, as the halving must.
  setNumber(kSheetWidth, context.sheetWidth / divisor_);
  setNumber(kSheetHeight, context.sheetHeight / divisor_);
  values_[kSheetName] = fileNamePart(context.sheetPath);
  values_[kSheetNumber] = context.sheetNumber;
  sheetTextsInert_ = isInert(values_[kSheetName]) && isInert(values_[kSheetNumber]);
}

void TagReplacer::setNumber(int tag, int64_t value) {
  char* digits = digits_[tag].data();
  const auto result = std::to_chars(digits, digits + digits_[tag].size(), value);
  values_[tag] = std::string_view(digits, result.ptr - digits);
}

// `ov.ImageName` is the name with every occurrence of its last four
// characters (its ".png") removed; so "a.png.png" gives "a".
void TagReplacer::setFrameName(std::string_view name) {
  const std::string_view suffix = lastFourCharacters(name);
  if (name.find(suffix) == name.size() - suffix.size()) {
    // The usual case, only at the end: the name less its end, not copied.
    values_[kImageName] = name.substr(0, name.size() - suffix.size());
  } else {
    nameStorage_.clear();
    appendReplacingAll(name, suffix, {}, &nameStorage_);
    values_[kImageName] = nameStorage_;
  }
  imageNameInert_ = isInert(values_[kImageName]);
}

void TagReplacer::setFrameValues(const FrameEntry* frame) {
  frame_ = frame;
  frameSelected_ = true;
  const FrameEntry none;
  const FrameEntry& f = frame != nullptr ? *frame : none;
  setNumber(kImageX, f.x / divisor_);
  setNumber(kImageY, f.y / divisor_);
  setNumber(kImageWidth, f.width / divisor_);
  setNumber(kImageHeight, f.height / divisor_);
  setFrameName(frame != nullptr ? std::string_view(frame->name) : std::string_view());
  setNumber(kImageNumber, f.number);
}

std::string_view TagReplacer::replace(std::string_view line) {
  if (!contains(line, kWordPrefix)) return line;
  std::string_view current = line;
  for (size_t tag = 0; tag < kTagNames.size(); ++tag) {
    if (!contains(current, kTagNames[tag])) continue;
    std::string& out = current.data() == scratchA_.data() ? scratchB_ : scratchA_;
    out.clear();
    appendReplacingAll(current, kTagNames[tag], values_[tag], &out);
    current = out;
  }
  return current;
}

}  // namespace oz
