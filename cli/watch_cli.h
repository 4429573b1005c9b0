// --watch: builds once, then again after every change to a frame, the image
// folder or the template, until a signal ends it or a watched folder goes.
#pragma once

#include <cstdio>

#include "cli/cli_options.h"

namespace oz {

// Each build prints one line, its time of day, "written" or "unchanged" and
// how long it took. A refused build, a frame caught half-written among them,
// waits for the next change and prints its reason once, until the reason
// changes. Returns 128 + the signal that ended the watch (130 for Ctrl-C),
// kExitRefused when a watched folder was removed or renamed or could not be
// watched, kExitUsage for a refusal that no change of files can cure.
int runWatch(const CliRequest& request, std::FILE* out, std::FILE* err);

}  // namespace oz
