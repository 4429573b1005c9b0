// The parts of a path that names are made of: its file name, and that name
// less its extension.
#pragma once

#include <string_view>

namespace oz {

// Everything after the last "/" of `path`; all of it when it holds none.
std::string_view fileNamePart(std::string_view path);

// A file name less its extension: from its last "." on, unless that dot
// starts the name (".png" stays as it is).
std::string_view withoutExtension(std::string_view name);

}  // namespace oz
