#include "script/template_expansion.h"

#include <algorithm>
#include <optional>

#include "script/exact_line.h"
#include "script/exact_words.h"
#include "script/layout_lines.h"
#include "script/tag_replacer.h"
#include "script/template_scan.h"
#include "script/template_words.h"
#include "script/text_replace.h"
#include "script/until_bound.h"

namespace oz {
namespace {

// The frame pass `counter` reads: the counter-th of the list, or the last
// when there are fewer. By position, not by `number`: an animation's frames
// keep their numbers on the sheet.
const FrameEntry* frameAt(std::span<const FrameEntry> frames, int64_t counter) {
  if (frames.empty()) return nullptr;
  if (counter >= 1 && static_cast<uint64_t>(counter) <= frames.size()) {
    return &frames[counter - 1];
  }
  return &frames.back();
}

// What the next ov.Until line will decide for the pass a line is in.
enum class PassAhead {
  Another,       // another pass of the block follows
  Last,          // the pass is the block's last, or the line is written once
  OutsideBlock,  // no block is open around the line
};

// Expands a range of a template's lines against one context: the whole
// template against the sheet's, or an animation loop's lines against an
// animation's frames. Each range has a loop state of its own.
class RangeExpansion {
 public:
  // `moreAnimations`: set for an animation loop's lines, to whether another
  // animation follows this one. Everything given must outlive this.
  RangeExpansion(const TemplateScan& scan, const ExpansionContext& context, LineSink& sink,
                 TextSink* textSink, std::optional<bool> moreAnimations)
      : scan_(scan),
        context_(context),
        frames_(context.frames),
        sink_(sink),
        textSink_(textSink),
        moreAnimations_(moreAnimations),
        tags_(context),
        values_(context),
        exact_(scan, values_),
        lookAhead_(scan, values_) {}

  void selectAnimation(const AnimationValues& animation) { values_.selectAnimation(animation); }

  // Expands lines [begin, end); `end` is the template's end or the line that
  // closes the animation loop the range is. Returns the lines and runs
  // handed to the sink.
  size_t run(size_t begin, size_t end);

 private:
  PassAhead passAhead(size_t from, const FrameEntry* frame);
  bool commaWanted(size_t from, const FrameEntry* frame);
  size_t runAnimationLoop(const ScannedLine& opener);

  const TemplateScan& scan_;
  const ExpansionContext& context_;
  const std::span<const FrameEntry> frames_;
  LineSink& sink_;
  TextSink* const textSink_;
  const std::optional<bool> moreAnimations_;
  TagReplacer tags_;
  ExactWordValues values_;
  ExactLine exact_;
  ExactLine lookAhead_;
  RunWordTexts runWords_;
  LoopState state_;
  bool repeatSeen_ = false;  // an ov.Repeat line was read in this range
  size_t end_ = 0;
};

// What the next ov.Until line will decide for the pass that reads from line
// `from` on, read ahead with the same frame (nothing before that line changes
// it). Outside a block past a finished one, and before the range's first
// ov.Repeat line when another ov.Repeat line or the range's end comes first.
// A line with an ov.Repeat line after it in an open block is written once.
PassAhead RangeExpansion::passAhead(size_t from, const FrameEntry* frame) {
  if (state_.finished) return PassAhead::OutsideBlock;
  const auto pass = [this](int64_t bound) {
    return state_.counter < bound ? PassAhead::Another : PassAhead::Last;
  };
  // The bound read, the passes start after the block's last ov.Repeat line.
  if (state_.boundFixed) return pass(state_.bound);
  const PassAhead noUntil = repeatSeen_ ? PassAhead::Last : PassAhead::OutsideBlock;
  for (size_t index = from; index < end_; ++index) {
    const ScannedLine* line = &scan_.line(index);
    if (line->extension) {
      if (++index == end_) break;
      line = &scan_.line(index);  // read in its place, not tested again
    }
    if (line->opensAnimations) {
      index = line->animationsEnd;  // its lines are a range of their own
      continue;
    }
    if (!line->mayHoldTags || line->animationMarker()) continue;
    std::string_view text;
    bool repeat = false;
    bool until = false;
    if (line->exactCount > 0) {
      const ExactLine::Markers markers = lookAhead_.replaceTags(*line, tags_);
      repeat = markers.repeat;
      until = markers.until;
      if (until && !repeat) text = lookAhead_.join(*line, frame, tags_, false);
    } else {
      text = tags_.replace(line->text);
      repeat = contains(text, kRepeatMarker);
      until = contains(text, kUntilMarker);
    }
    if (repeat) return noUntil;
    if (until) return pass(readUntilBound(text));
  }
  return noUntil;
}

// ov.Comma writes "," (and ov.Between lets its line be written) before
// another pass of its block, and on a line of an animation loop outside any
// block before another animation.
bool RangeExpansion::commaWanted(size_t from, const FrameEntry* frame) {
  switch (passAhead(from, frame)) {
    case PassAhead::Another:
      return true;
    case PassAhead::Last:
      return false;
    case PassAhead::OutsideBlock:
      break;
  }
  return moreAnimations_.value_or(false);
}

// Writes the loop's lines once per animation of the sheet, each time against
// the animation's frames; after the loop, the animation words describe the
// last. Returns the lines and runs handed to the sink.
size_t RangeExpansion::runAnimationLoop(const ScannedLine& opener) {
  const size_t begin = static_cast<size_t>(&opener - &scan_.line(0)) + 1;
  const size_t count = context_.animations.size();
  size_t writes = 0;
  for (size_t i = 0; i < count && !sink_.failed(); ++i) {
    if (i > 0) sink_.loopedBack();
    ExpansionContext animation = context_;
    animation.frames = animationFrames(context_, context_.animations[i]);
    RangeExpansion lines(scan_, animation, sink_, textSink_, i + 1 < count);
    lines.selectAnimation(animationValues(context_, i));
    writes += lines.run(begin, opener.animationsEnd);
  }
  if (count > 0) values_.selectAnimation(animationValues(context_, count - 1));
  return writes;
}

// Termination: a jump back goes to `loopStart` and adds 1 to `counter`, which
// only an `ov.Repeat` line met with `finished` on sets back to 1. The block is
// never finished while jumping back, and `loopStart` only moves forward past
// such a line, so no line resets the counter twice and every block runs at
// most `bound` passes. An animation loop is a range of its own, run once per
// animation, and never jumped into.
//
// Empty passes: a pass's lines, what they write and which markers they make
// depend only on where it starts, on the frame it reads and on whether
// `counter` is below `bound`. A pass that started by going back to
// `loopStart`, met no `ov.Repeat` line (the only line that moves it), wrote
// nothing and read the frame every later pass reads is therefore what every
// pass left of the block is: the block ends at once with `counter` at
// `bound`, as running them would leave it. So a huge bound on an empty loop
// costs nothing, and every output stays as it was.
size_t RangeExpansion::run(size_t begin, size_t end) {
  end_ = end;
  state_.loopStart = begin;
  const FrameEntry* const lastFrame = frames_.empty() ? nullptr : &frames_.back();
  const auto frameChangesUntil = static_cast<int64_t>(frames_.size());
  std::vector<std::string_view> pieces;
  std::string joined;
  const auto join = [&pieces, &joined]() -> std::string_view {
    joined.clear();
    for (std::string_view piece : pieces) joined.append(piece);
    return joined;
  };
  size_t position = begin;
  size_t writes = 0;  // lines and runs handed to the sink
  size_t writesAtPassStart = 0;
  bool passFromLoopStart = false;  // this pass went back to `loopStart` and met no ov.Repeat

  while (position < end && !sink_.failed()) {
    const FrameEntry* const current = frameAt(frames_, state_.counter);
    tags_.selectFrame(current);

    // When nothing inserted can form a tag or marker, a line's own tags and
    // markers are all there are, and its pieces are known without searching.
    const bool valuesInert = tags_.textValuesInert();
    if (textSink_ != nullptr && valuesInert) {
      if (const LineRun* run = scan_.runAt(position)) {
        piecesWithValues(*run, tags_, values_, current, &runWords_, &pieces);
        textSink_->write(pieces);
        ++writes;
        position = run->end;
        continue;
      }
    }

    const ScannedLine* read = &scan_.line(position++);
    if (read->extension) {
      // The line read in its place is not tested again; past the template's
      // end it is empty, and the line that closes the range is its marker.
      if (position == end && end < scan_.size()) continue;
      read = position < end ? &scan_.line(position++) : nullptr;
    }
    if (read == nullptr || !read->mayHoldTags) {
      sink_.line(read == nullptr ? std::string_view() : read->text);
      ++writes;
      continue;
    }
    if (read->animationMarker()) {
      if (read->opensAnimations) {
        writes += runAnimationLoop(*read);
        position = std::min(read->animationsEnd + 1, end);
      }
      continue;
    }

    const bool inert = valuesInert && read->inertJoins;
    std::string_view line;
    bool repeat = read->repeat;
    bool until = read->until;
    if (read->exactCount > 0) {
      const ExactLine::Markers markers = exact_.replaceTags(*read, tags_);
      repeat = markers.repeat;
      until = markers.until;
      const bool another =
          (read->comma || read->between) && !repeat && !until && commaWanted(position, current);
      if (read->between && !repeat && !until && !another) continue;
      line = exact_.join(*read, current, tags_, another);
    } else if (inert) {
      piecesWithValues(scan_, *read, tags_, &pieces);
      line = join();
    } else {
      line = tags_.replace(read->text);
      repeat = contains(line, kRepeatMarker);
      until = contains(line, kUntilMarker);
    }

    if (repeat) {
      repeatSeen_ = true;
      state_.loopStart = position;
      if (state_.finished) state_ = LoopState{.loopStart = position};
      passFromLoopStart = false;
    }
    if (until) {
      if (!state_.boundFixed) {
        state_.bound = readUntilBound(line);
        state_.boundFixed = true;
      }
      const bool passesLeftAreEmpty = passFromLoopStart && writes == writesAtPassStart &&
                                      current == lastFrame && state_.counter >= frameChangesUntil;
      if (state_.counter < state_.bound && !passesLeftAreEmpty) {
        position = state_.loopStart;
        ++state_.counter;
        sink_.loopedBack();
        passFromLoopStart = true;
        writesAtPassStart = writes;
      } else {
        state_.counter = std::max(state_.counter, state_.bound);
        state_.finished = true;
      }
    }
    if (!repeat && !until) {
      sink_.line(line);
      ++writes;
    }
  }
  return writes;
}

}  // namespace

void expandTemplate(std::span<const std::string> lines, const ExpansionContext& context,
                    LineSink& sink) {
  std::vector<std::string> linesKept;
  lines = linesForLayout(lines, context.packed, &linesKept);
  // A sink with one fixed line ending can take runs of lines at once.
  TextSink* const textSink = dynamic_cast<TextSink*>(&sink);
  const TemplateScan scan(lines, textSink != nullptr
                                     ? std::optional<std::string_view>(textSink->ending())
                                     : std::nullopt);
  RangeExpansion(scan, context, sink, textSink, std::nullopt).run(0, scan.size());
}

}  // namespace oz
