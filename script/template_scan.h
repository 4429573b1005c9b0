// A template's lines searched once for their tags and markers, so that the
// passes of a block do not search the same text again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "script/exact_words.h"
#include "script/tag_replacer.h"

namespace oz {

// One tag as written in a line, with the text between it and the tag before.
struct TagUse {
  std::string_view before;
  int tag;  // a TagIndex
};

struct ScannedLine {
  std::string_view text;
  bool mayHoldTags = false;  // holds "ov."; without it the line is copied as it is
  bool extension = false;    // holds "ov.Extension"
  bool repeat = false;       // holds "ov.Repeat" as written
  bool until = false;        // holds "ov.Until" as written
  // No free-text tag (name, sheet name, sheet number) follows text that is
  // the first part of a tag or marker name, so an inserted value cannot
  // complete one.
  bool inertJoins = true;
  size_t firstUse = 0;  // this line's tags in TemplateScan::uses()
  size_t useCount = 0;
  std::string_view tail;  // the text after the last tag; all of it without tags
  // This line's exact words in TemplateScan::exactUses(). A line with any
  // has its tags replaced in the text between them, piece by piece.
  size_t firstExact = 0;
  size_t exactCount = 0;
  std::string_view exactTail;  // the text after the last exact word
  bool comma = false;          // holds ov.Comma
  bool between = false;        // holds ov.Between
  // Marker lines of the animation loop: they hold ov.EachAnimation or
  // ov.NextAnimation as written, and nothing else on them counts.
  bool eachAnimation = false;
  bool nextAnimation = false;
  // The ov.EachAnimation line that opens a loop, as the template is read
  // from its start: the loop's lines end at `animationsEnd`, its
  // ov.NextAnimation line or the template's end.
  bool opensAnimations = false;
  size_t animationsEnd = 0;

  bool animationMarker() const { return eachAnimation || nextAnimation; }
};

// One value of a run: a tag's or an exact word's.
struct RunValue {
  int tag = -1;                     // a TagIndex, or -1 for the word
  const ExactWord* word = nullptr;  // set when `tag` is -1
};

// Consecutive lines that need no decision: no marker, no extension line, no
// free-text tag that could join the text around it, and exact words only
// between text without tags and without ov.Comma. While the text values are
// inert too, their output is fixed text around values, line endings
// included, and can be handed over in one piece.
struct LineRun {
  size_t end = 0;                  // the first line after the run
  std::vector<std::string> texts;  // fixed text before each value and after the last
  std::vector<RunValue> values;    // texts.size() == values.size() + 1
};

class TemplateScan {
 public:
  // `lines` must outlive the scan. With an `ending`, runs of lines are
  // prepared for a sink that ends every line with it.
  TemplateScan(std::span<const std::string> lines, std::optional<std::string_view> ending);

  size_t size() const { return lines_.size(); }
  const ScannedLine& line(size_t index) const { return lines_[index]; }
  std::span<const TagUse> uses(const ScannedLine& line) const {
    return std::span<const TagUse>(uses_).subspan(line.firstUse, line.useCount);
  }
  std::span<const ExactUse> exactUses(const ScannedLine& line) const {
    return std::span<const ExactUse>(exactUses_).subspan(line.firstExact, line.exactCount);
  }
  // The run that starts at line `index`, or nullptr.
  const LineRun* runAt(size_t index) const {
    return runAt_.empty() || runAt_[index] < 0 ? nullptr : &runs_[runAt_[index]];
  }

 private:
  void pairAnimationMarkers();
  void prepareRuns(std::string_view ending);

  std::vector<ScannedLine> lines_;
  std::vector<TagUse> uses_;
  std::vector<ExactUse> exactUses_;
  std::vector<LineRun> runs_;
  std::vector<int> runAt_;  // per line: the run starting there, or -1
};

// Where a run's exact words are written for one pass: all of them one after
// another, and where each ends.
struct RunWordTexts {
  std::string text;
  std::vector<size_t> ends;
};

// Cuts `run` into its fixed texts and the values between them: the tags'
// from `tags`, the exact words' for `frame` from `words`, written into
// `wordTexts`, which the pieces then point into.
void piecesWithValues(const LineRun& run, const TagReplacer& tags, const ExactWordValues& words,
                      const FrameEntry* frame, RunWordTexts* wordTexts,
                      std::vector<std::string_view>* pieces);

// Cuts `line` into its text between tags and the values of `tags` in their
// place, in one pass; joined, the pieces are what TagReplacer::replace gives
// when the line's joins and the text values are inert. The pieces point into
// the line and into `tags`.
void piecesWithValues(const TemplateScan& scan, const ScannedLine& line, const TagReplacer& tags,
                      std::vector<std::string_view>* pieces);

}  // namespace oz
