#include "script/layout_lines.h"

#include <cstddef>
#include <string_view>

#include "script/exact_words.h"
#include "script/text_replace.h"

namespace oz {
namespace {

// Both words start so; a line without it names neither.
constexpr std::string_view kIfPrefix = "ov.If";

// Whether `line` is for the layout: it names no word of the other one.
bool lineIsFor(std::string_view line, bool packed) {
  if (!contains(line, kIfPrefix)) return true;
  for (const ExactUse& use : findExactWords(line).uses) {
    if (use.word->value == (packed ? WordValue::IfGrid : WordValue::IfPacked)) return false;
  }
  return true;
}

}  // namespace

std::span<const std::string> linesForLayout(std::span<const std::string> lines, bool packed,
                                            std::vector<std::string>* kept) {
  size_t first = 0;
  while (first < lines.size() && lineIsFor(lines[first], packed)) ++first;
  if (first == lines.size()) return lines;
  kept->assign(lines.begin(), lines.begin() + static_cast<ptrdiff_t>(first));
  for (size_t i = first + 1; i < lines.size(); ++i) {
    if (lineIsFor(lines[i], packed)) kept->push_back(lines[i]);
  }
  return *kept;
}

}  // namespace oz
