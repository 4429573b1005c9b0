// The exact words of a template line: where they stand in the text as written
// and what they give for the sheet and one frame.
#pragma once

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "script/expansion_context.h"
#include "script/tag_replacer.h"
#include "script/template_words.h"

namespace oz {

// One exact word as written in a line, with the text between it and the word
// before.
struct ExactUse {
  std::string_view before;
  const ExactWord* word;
};

struct ExactWords {
  std::vector<ExactUse> uses;
  std::string_view tail;  // the text after the last word; all of it without words
};

// A frame's name less the ".png" every frame name ends in; only that one.
std::string_view frameBase(std::string_view name);

// The exact words of `line`, left to right; at one place the longest name
// wins ("ov.ImageFileJSON" over "ov.ImageFile").
ExactWords findExactWords(std::string_view line);

// What the animation words say of one animation.
struct AnimationValues {
  std::string_view name;
  int64_t index = 0;  // among the sheet's animations, from 0
  int64_t frameCount = 0;
  int64_t firstIndex = 0;  // ov.ImageIndex of its first frame
  int64_t lastIndex = -1;  // of its last; below firstIndex when it has none
};

// The values of the sheet's animation `index` (`context` being the sheet's);
// those of an animation without frames and without a name when there is no
// such animation.
AnimationValues animationValues(const ExpansionContext& context, size_t index);

// The frames of `animation` among the sheet's, as far as the sheet has them.
std::span<const FrameEntry> animationFrames(const ExpansionContext& context,
                                            const Animation& animation);

class ExactWordValues {
 public:
  // `context` must outlive the values. The animation words describe the
  // sheet's first animation until another is selected.
  explicit ExactWordValues(const ExpansionContext& context);

  void selectAnimation(const AnimationValues& animation) { animation_ = animation; }

  // Appends the value of `word` for `frame` (nullptr when there are no
  // frames: 0 and empty names), which `tags` has selected too: the escaped
  // forms of ov.ImageName are its value there. `passContinues` is what
  // ov.Comma needs: true when another pass of the block follows this one.
  void append(const ExactWord& word, const FrameEntry* frame, const TagReplacer& tags,
              bool passContinues, std::string* out) const;

 private:
  int64_t frameRate() const { return std::max<int64_t>(context_.frameRate, 1); }

  const ExpansionContext& context_;
  std::string_view sheetBase_;
  AnimationValues animation_;
};

}  // namespace oz
