// Whether a path given on the command line names the file an open stream
// already writes to, such as "/dev/stdout" or the terminal standard output
// is on.
#pragma once

#include <cstdio>
#include <string>

namespace oz {

// True when `path` names the very file `stream` writes to (the same device
// and inode), whatever way it is spelled.
bool namesStreamFile(const std::string& path, std::FILE* stream);

}  // namespace oz
