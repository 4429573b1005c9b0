// Replaces the eleven `ov.` tags of a template line by the values of the sheet
// and of one frame.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "script/expansion_context.h"

namespace oz {

// A frame's `ov.ImageName`: its name with every occurrence of its last four
// characters (its ".png") removed; so "a.png.png" gives "a".
std::string frameBaseName(std::string_view name);

class TagReplacer {
 public:
  // `context` must outlive the replacer.
  explicit TagReplacer(const ExpansionContext& context);

  // Makes the image tags read `frame`; nullptr (no frames at all) gives 0 for
  // the numbers and an empty name.
  void selectFrame(const FrameEntry* frame);

  // `line` with every tag replaced, in table order: each tag's occurrences
  // left to right, the inserted values searched only by the tags after it.
  // The result is valid until the next call and while `line` is.
  std::string_view replace(std::string_view line);

 private:
  struct Tag {
    std::string_view name;
    std::string value;
  };

  std::string halved(int64_t value) const;

  int64_t divisor_;
  std::array<Tag, 11> tags_;
  const FrameEntry* frame_ = nullptr;
  bool frameSelected_ = false;
  std::string scratchA_;  // replacement results alternate between these two
  std::string scratchB_;
};

}  // namespace oz
