#include "editor/find_text.h"

#include <algorithm>

namespace oz {
namespace {

char folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool matchesAt(std::string_view text, size_t at, std::string_view needle) {
  for (size_t i = 0; i < needle.size(); ++i) {
    if (folded(text[at + i]) != folded(needle[i])) return false;
  }
  return true;
}

// The first match starting in [from, last], or npos.
size_t firstFrom(std::string_view text, std::string_view needle, size_t from, size_t last) {
  for (size_t at = from; at <= last; ++at) {
    if (matchesAt(text, at, needle)) return at;
  }
  return std::string_view::npos;
}

// The last match starting in [first, to], or npos.
size_t lastUpTo(std::string_view text, std::string_view needle, size_t first, size_t to) {
  for (size_t at = to + 1; at-- > first;) {
    if (matchesAt(text, at, needle)) return at;
  }
  return std::string_view::npos;
}

}  // namespace

std::optional<FindMatch> findMatch(std::string_view text, std::string_view needle,
                                   TextRange selection, FindDirection direction) {
  if (needle.empty() || needle.size() > text.size()) return std::nullopt;
  const size_t lastStart = text.size() - needle.size();
  const size_t selectionEnd = std::min(selection.start + selection.length, text.size());
  size_t at = std::string_view::npos;
  bool wrapped = false;
  if (direction == FindDirection::Next) {
    if (selectionEnd <= lastStart) at = firstFrom(text, needle, selectionEnd, lastStart);
    if (at == std::string_view::npos) {
      at = firstFrom(text, needle, 0, lastStart);
      wrapped = true;
    }
  } else {
    // A match ending before the selection starts begins at most here.
    if (selection.start >= needle.size()) {
      at = lastUpTo(text, needle, 0, std::min(selection.start - needle.size(), lastStart));
    }
    if (at == std::string_view::npos) {
      at = lastUpTo(text, needle, 0, lastStart);
      wrapped = true;
    }
  }
  if (at == std::string_view::npos) return std::nullopt;
  return FindMatch{{at, needle.size()}, wrapped};
}

}  // namespace oz
