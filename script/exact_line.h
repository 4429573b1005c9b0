// The expansion of one template line that holds exact words: the tags are
// replaced in the text between the words, piece by piece, the markers are
// looked for there, and the words' values go in last, never searched again.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "script/exact_words.h"
#include "script/tag_replacer.h"
#include "script/template_scan.h"

namespace oz {

class ExactLine {
 public:
  // `scan` and `values` must outlive this.
  ExactLine(const TemplateScan& scan, const ExactWordValues& values)
      : scan_(scan), values_(values) {}

  struct Markers {
    bool repeat = false;
    bool until = false;
  };

  // Step one: replaces the tags of `line` (which holds exact words) with the
  // frame `tags` has selected; says which markers the pieces hold.
  Markers replaceTags(const ScannedLine& line, TagReplacer& tags);

  // Step two: the whole line, the words' values for `frame` between the
  // pieces. Valid until the next call.
  std::string_view join(const ScannedLine& line, const FrameEntry* frame, const TagReplacer& tags,
                        bool passContinues);

 private:
  const TemplateScan& scan_;
  const ExactWordValues& values_;
  // The text before each word, then the tail: a view of the template where
  // the piece holds no tag, else of its replaced copy in replaced_.
  std::vector<std::string_view> pieces_;
  std::vector<std::string> replaced_;
  std::string text_;
};

}  // namespace oz
