// Case-sensitive replacement of every occurrence of a piece of text, left to
// right without overlaps, as the template language does it everywhere.
#pragma once

#include <string>
#include <string_view>

namespace oz {

// Appends `text` to `out` with every occurrence of `what` (not empty) replaced
// by `with`. The inserted text is not searched again.
void appendReplacingAll(std::string_view text, std::string_view what, std::string_view with,
                        std::string* out);

std::string removeAll(std::string_view text, std::string_view what);

inline bool contains(std::string_view text, std::string_view what) {
  return text.find(what) != std::string_view::npos;
}

}  // namespace oz
