// Replaces the eleven `ov.` tags of a template line by the values of the sheet
// and of one frame.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "script/expansion_context.h"
#include "script/template_words.h"

namespace oz {

// Indexes of kTagNames.
enum TagIndex : int {
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

// The three tags whose values are free text; every other value is a number.
constexpr bool isTextTag(int tag) {
  return tag == kImageName || tag == kSheetName || tag == kSheetNumber;
}

class TagReplacer {
 public:
  // `context` must outlive the replacer.
  explicit TagReplacer(const ExpansionContext& context);

  // Makes the image tags read `frame`; nullptr (no frames at all) gives 0 for
  // the numbers and an empty name.
  void selectFrame(const FrameEntry* frame) {
    if (!frameSelected_ || frame != frame_) setFrameValues(frame);
  }

  // `line` with every tag replaced, in table order: each tag's occurrences
  // left to right, the inserted values searched only by the tags after it.
  // The result is valid until the next call and while `line` is.
  std::string_view replace(std::string_view line);

  // Valid until the next selectFrame().
  std::string_view value(int tag) const { return values_[tag]; }

  // True when no text value can make a tag or marker name together with the
  // text around it: none holds "ov." or ends in "o" or "ov". Numbers never
  // can. Then the tags a line holds as written are all that replace() finds.
  bool textValuesInert() const { return imageNameInert_ && sheetTextsInert_; }

 private:
  void setFrameValues(const FrameEntry* frame);
  void setNumber(int tag, int64_t value);
  void setFrameName(std::string_view name);

  int64_t divisor_;
  std::array<std::string_view, kTagNames.size()> values_;
  std::array<std::array<char, 20>, kTagNames.size()> digits_;  // the numbers' texts
  std::string nameStorage_;  // a frame name with ".png" inside it as well as at the end
  const FrameEntry* frame_ = nullptr;
  bool frameSelected_ = false;
  bool imageNameInert_ = true;
  bool sheetTextsInert_ = true;
  std::string scratchA_;  // replacement results alternate between these two
  std::string scratchB_;
};

}  // namespace oz
