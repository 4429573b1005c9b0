#include "script/exact_line.h"

#include "script/template_words.h"
#include "script/text_replace.h"

namespace oz {

ExactLine::Markers ExactLine::replaceTags(const ScannedLine& line, TagReplacer& tags) {
  const std::span<const ExactUse> uses = scan_.exactUses(line);
  pieces_.resize(uses.size() + 1);
  replaced_.resize(uses.size() + 1);
  Markers markers;
  for (size_t i = 0; i <= uses.size(); ++i) {
    const std::string_view written = i < uses.size() ? uses[i].before : line.exactTail;
    // Without "ov." a piece holds no tag and no marker: it stays as written.
    if (!contains(written, kWordPrefix)) {
      pieces_[i] = written;
      continue;
    }
    replaced_[i].assign(tags.replace(written));
    pieces_[i] = replaced_[i];
    markers.repeat = markers.repeat || contains(pieces_[i], kRepeatMarker);
    markers.until = markers.until || contains(pieces_[i], kUntilMarker);
  }
  return markers;
}

std::string_view ExactLine::join(const ScannedLine& line, const FrameEntry* frame,
                                 const TagReplacer& tags, bool passContinues) {
  const std::span<const ExactUse> uses = scan_.exactUses(line);
  text_.clear();
  for (size_t i = 0; i < uses.size(); ++i) {
    text_.append(pieces_[i]);
    values_.append(*uses[i].word, frame, tags, passContinues, &text_);
  }
  text_.append(pieces_[uses.size()]);
  return text_;
}

}  // namespace oz
