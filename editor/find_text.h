// Finding a text in an editor's text: the next or the previous match from the
// selection, round the end when there is none before it.
#pragma once

#include <optional>
#include <string_view>

#include "toolkit/toolkit.h"

namespace oz {

enum class FindDirection { Next, Previous };

struct FindMatch {
  TextRange range;
  bool wrapped = false;  // found only after going round the end (or the start)
  bool operator==(const FindMatch&) const = default;
};

// The match of `needle` in `text` after `selection` (Next: starting at its
// end or later) or before it (Previous: ending before its start), else the
// first (or last) match round the other end. ASCII letters match in either
// case; every other byte only itself, so a match of UTF-8 text starts and
// ends on character boundaries. Nothing for an empty needle or no match.
std::optional<FindMatch> findMatch(std::string_view text, std::string_view needle,
                                   TextRange selection, FindDirection direction);

}  // namespace oz
