// Whole-file replacement for the files the user may have linked into the
// support directory from elsewhere.
#pragma once

#include <string>
#include <string_view>

namespace oz {

// Replaces the file at `path` with `bytes` through a temporary file and a
// rename. When `path` is a symbolic link, the file it points to is replaced
// and the link stays. False on failure, and then the old content is whole.
bool replaceFile(const std::string& path, std::string_view bytes);

// Creates the file at `path`, or cuts an existing one, to zero bytes, as an
// ordinary open would: a read-only file is refused, a link is followed.
bool truncateOrCreate(const std::string& path);

}  // namespace oz
