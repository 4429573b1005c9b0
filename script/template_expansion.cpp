#include "script/template_expansion.h"

#include "script/tag_replacer.h"
#include "script/text_replace.h"
#include "script/until_bound.h"

namespace oz {
namespace {

constexpr std::string_view kExtensionMarker = "ov.Extension";
constexpr std::string_view kRepeatMarker = "ov.Repeat";
constexpr std::string_view kUntilMarker = "ov.Until";

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

}  // namespace

// Termination: a jump back goes to `loopStart` and adds 1 to `counter`, which
// only an `ov.Repeat` line met with `finished` on sets back to 1. The block is
// never finished while jumping back, and `loopStart` only moves forward past
// such a line, so no line resets the counter twice and every block runs at
// most `bound` passes.
void expandTemplate(std::span<const std::string> lines, const ExpansionContext& context,
                    LineSink& sink) {
  const std::span<const FrameEntry> frames = context.frames;
  TagReplacer tags(context);
  LoopState state;
  const FrameEntry* current = frames.empty() ? nullptr : &frames.front();
  size_t position = 0;

  while (position < lines.size()) {
    if (current != nullptr && current->number != state.counter) {
      current = frameNumbered(frames, state.counter);
    }
    tags.selectFrame(current);

    std::string_view raw = lines[position++];
    if (contains(raw, kExtensionMarker)) {
      // The line read in its place is not tested again; past the end it is empty.
      raw = position < lines.size() ? std::string_view(lines[position++]) : std::string_view();
    }

    const std::string_view line = tags.replace(raw);
    const bool repeat = contains(line, kRepeatMarker);
    const bool until = contains(line, kUntilMarker);
    if (repeat) {
      state.loopStart = position;
      if (state.finished) state = LoopState{.loopStart = position};
    }
    if (until) {
      if (!state.boundFixed) {
        state.bound = readUntilBound(line);
        state.boundFixed = true;
      }
      if (state.counter < state.bound) {
        position = state.loopStart;
        ++state.counter;
      } else {
        state.finished = true;
      }
    }
    if (!repeat && !until) sink.line(line);
  }
}

}  // namespace oz
