// The files of a build that writes several sheets: each sheet, and the script
// written for it, is its path numbered.
#pragma once

#include <cstdint>
#include <string>

namespace oz {

// The file of sheet `index` (from 0) of a build that writes `count` sheets:
// `path` itself when there is one, else `path` with "-1", "-2", ... before
// the extension of its file name (from its last "."; a name that has none, or
// only a leading one, takes the number at its end). So "out/walk.png" gives
// "out/walk-1.png" and "out/walk-2.png".
std::string numberedPath(const std::string& path, int64_t index, int64_t count);

}  // namespace oz
