// The packed build: frames of any size, trimmed to their visible pixels when
// asked, packed onto the smallest sheet under the largest size (or onto as
// many as it takes), turned where that packs tighter when allowed.
#pragma once

#include "sheet/build_steps.h"

namespace oz {

// Builds the frames, their sizes read from their headers, as `options` asks
// (`options.packed` is set). Every check that can refuse the build runs
// before anything is written, and the sheets take their names only once all
// of them are complete.
BuildOutcome buildPacked(const BuildOptions& options, Frames& frames, Progress& progress);

}  // namespace oz
