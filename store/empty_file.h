// Empty files for the stores: a new script, the settings file of a first run.
#pragma once

#include <string>

namespace oz {

// Creates the file at `path`, or cuts an existing one, to zero bytes, as an
// ordinary open would: a read-only file is refused, a link is followed. The
// open does not wait: a FIFO with no reader is refused.
bool truncateOrCreate(const std::string& path);

}  // namespace oz
