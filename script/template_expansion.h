// Expansion of a template: tags replaced by the sheet's values, and the lines
// between `ov.Repeat` and `ov.Until` repeated once per frame or a fixed number
// of times.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "script/expansion_context.h"
#include "script/line_sink.h"

namespace oz {

// The one loop state of an expansion; blocks do not nest and share it.
struct LoopState {
  int64_t counter = 1;      // current pass, and the number of the frame the image tags read
  int64_t bound = 1;        // passes asked for by the block's first `ov.Until` line
  bool boundFixed = false;  // `bound` has been read in the current block
  bool finished = false;    // an `ov.Until` line has ended the block
  size_t loopStart = 0;     // line index just after the last `ov.Repeat` line read;
                            // the template's first line until one is read
};

// Expands `lines` (the whole template, as splitLines gives it) against
// `context`, handing each output line in order to `sink`. Always ends; its
// time grows linearly with the lines it reads and writes, never with the
// output written so far. With no frames the image tags give 0 and an empty
// name. A TextSink is handed whole runs of lines at once. The expansion ends
// early once the sink has failed.
void expandTemplate(std::span<const std::string> lines, const ExpansionContext& context,
                    LineSink& sink);

}  // namespace oz
