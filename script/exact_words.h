// The exact words of a template line: where they stand in the text as written
// and what they give for the sheet and one frame.
#pragma once

#include <optional>
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

class ExactWordValues {
 public:
  // `context` must outlive the values.
  explicit ExactWordValues(const ExpansionContext& context);

  // Appends the value of `word` for `frame` (nullptr when there are no
  // frames: 0 and empty names), which `tags` has selected too: the escaped
  // forms of ov.ImageName are its value there. `passContinues` is what
  // ov.Comma needs: true when another pass of the block follows this one.
  void append(const ExactWord& word, const FrameEntry* frame, const TagReplacer& tags,
              bool passContinues, std::string* out) const;

 private:
  const ExpansionContext& context_;
  std::string_view sheetBase_;
};

}  // namespace oz
