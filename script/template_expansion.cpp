#include "script/template_expansion.h"

#include <algorithm>

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

// The frame whose `number` is `counter`, or the last frame when none has it.
// Frames are numbered by position, so the direct look-up almost always hits
// and a block over N frames stays linear in N.
const FrameEntry* frameNumbered(std::span<const FrameEntry> frames, int64_t counter) {
  if (counter >= 1 && static_cast<uint64_t>(counter) <= frames.size() &&
      frames[counter - 1].number == counter) {
    return &frames[counter - 1];
  }
  for (const FrameEntry& frame : frames) {
    if (frame.number == counter) return &frame;
  }
  return &frames.back();
}

// Whether the pass that reads from line `from` on is followed by another that
// reads these lines again: what the next ov.Until line will decide, read
// ahead with the same frame (nothing before that line changes it). False past
// a finished block, when no ov.Until line follows, and when an ov.Repeat line
// comes first, since the reading then goes back to that line, not here.
bool passContinues(const TemplateScan& scan, size_t from, const LoopState& state, TagReplacer& tags,
                   ExactLine& exact, const FrameEntry* frame) {
  if (state.finished) return false;
  // The bound read, the passes start after the block's last ov.Repeat line.
  if (state.boundFixed) return state.counter < state.bound;
  for (size_t index = from; index < scan.size(); ++index) {
    const ScannedLine* line = &scan.line(index);
    if (line->extension) {
      if (++index == scan.size()) break;
      line = &scan.line(index);  // read in its place, not tested again
    }
    if (!line->mayHoldTags) continue;
    std::string_view text;
    bool repeat = false;
    bool until = false;
    if (line->exactCount > 0) {
      const ExactLine::Markers markers = exact.replaceTags(*line, tags);
      repeat = markers.repeat;
      until = markers.until;
      if (until && !repeat) text = exact.join(*line, frame, tags, false);
    } else {
      text = tags.replace(line->text);
      repeat = contains(text, kRepeatMarker);
      until = contains(text, kUntilMarker);
    }
    if (repeat) return false;
    if (until) return state.counter < readUntilBound(text);
  }
  return false;
}

// The largest counter whose pass may read another frame than the last:
// from the next counter on, every pass reads the last frame (or none).
int64_t lastFrameChange(std::span<const FrameEntry> frames) {
  auto largest = static_cast<int64_t>(frames.size());
  for (const FrameEntry& frame : frames) largest = std::max(largest, frame.number);
  return largest;
}

}  // namespace

// Termination: a jump back goes to `loopStart` and adds 1 to `counter`, which
// only an `ov.Repeat` line met with `finished` on sets back to 1. The block is
// never finished while jumping back, and `loopStart` only moves forward past
// such a line, so no line resets the counter twice and every block runs at
// most `bound` passes.
//
// Empty passes: a pass's lines, what they write and which markers they make
// depend only on where it starts, on the frame it reads and on whether
// `counter` is below `bound`. A pass that started by going back to
// `loopStart`, met no `ov.Repeat` line (the only line that moves it), wrote
// nothing and read the frame every later pass reads is therefore what every
// pass left of the block is: the block ends at once with `counter` at
// `bound`, as running them would leave it. So a huge bound on an empty loop
// costs nothing, and every output stays as it was.
void expandTemplate(std::span<const std::string> lines, const ExpansionContext& context,
                    LineSink& sink) {
  std::vector<std::string> linesKept;
  lines = linesForLayout(lines, context.packed, &linesKept);
  // A sink with one fixed line ending can take runs of lines at once.
  TextSink* const textSink = dynamic_cast<TextSink*>(&sink);
  const TemplateScan scan(lines, textSink != nullptr
                                     ? std::optional<std::string_view>(textSink->ending())
                                     : std::nullopt);
  const std::span<const FrameEntry> frames = context.frames;
  TagReplacer tags(context);
  const ExactWordValues exactValues(context);
  ExactLine exact(scan, exactValues);
  ExactLine lookAhead(scan, exactValues);
  RunWordTexts runWords;
  LoopState state;
  const FrameEntry* current = frames.empty() ? nullptr : &frames.front();
  std::vector<std::string_view> pieces;
  std::string joined;
  const auto join = [&pieces, &joined]() -> std::string_view {
    joined.clear();
    for (std::string_view piece : pieces) joined.append(piece);
    return joined;
  };
  size_t position = 0;
  const FrameEntry* const lastFrame = frames.empty() ? nullptr : &frames.back();
  const int64_t frameChangesUntil = lastFrameChange(frames);
  size_t writes = 0;  // lines and runs handed to the sink
  size_t writesAtPassStart = 0;
  bool passFromLoopStart = false;  // this pass went back to `loopStart` and met no ov.Repeat

  while (position < scan.size() && !sink.failed()) {
    if (current != nullptr && current->number != state.counter) {
      current = frameNumbered(frames, state.counter);
    }
    tags.selectFrame(current);

    // When nothing inserted can form a tag or marker, a line's own tags and
    // markers are all there are, and its pieces are known without searching.
    const bool valuesInert = tags.textValuesInert();
    if (textSink != nullptr && valuesInert) {
      if (const LineRun* run = scan.runAt(position)) {
        piecesWithValues(*run, tags, exactValues, current, &runWords, &pieces);
        textSink->write(pieces);
        ++writes;
        position = run->end;
        continue;
      }
    }

    const ScannedLine* read = &scan.line(position++);
    if (read->extension) {
      // The line read in its place is not tested again; past the end it is empty.
      read = position < scan.size() ? &scan.line(position++) : nullptr;
    }
    if (read == nullptr || !read->mayHoldTags) {
      sink.line(read == nullptr ? std::string_view() : read->text);
      ++writes;
      continue;
    }

    const bool inert = valuesInert && read->inertJoins;
    std::string_view line;
    bool repeat = read->repeat;
    bool until = read->until;
    if (read->exactCount > 0) {
      const ExactLine::Markers markers = exact.replaceTags(*read, tags);
      repeat = markers.repeat;
      until = markers.until;
      const bool continues = read->comma && !repeat && !until &&
                             passContinues(scan, position, state, tags, lookAhead, current);
      line = exact.join(*read, current, tags, continues);
    } else if (inert) {
      piecesWithValues(scan, *read, tags, &pieces);
      line = join();
    } else {
      line = tags.replace(read->text);
      repeat = contains(line, kRepeatMarker);
      until = contains(line, kUntilMarker);
    }

    if (repeat) {
      state.loopStart = position;
      if (state.finished) state = LoopState{.loopStart = position};
      passFromLoopStart = false;
    }
    if (until) {
      if (!state.boundFixed) {
        state.bound = readUntilBound(line);
        state.boundFixed = true;
      }
      const bool passesLeftAreEmpty = passFromLoopStart && writes == writesAtPassStart &&
                                      current == lastFrame && state.counter >= frameChangesUntil;
      if (state.counter < state.bound && !passesLeftAreEmpty) {
        position = state.loopStart;
        ++state.counter;
        sink.loopedBack();
        passFromLoopStart = true;
        writesAtPassStart = writes;
      } else {
        state.counter = std::max(state.counter, state.bound);
        state.finished = true;
      }
    }
    if (!repeat && !until) {
      sink.line(line);
      ++writes;
    }
  }
}

}  // namespace oz
