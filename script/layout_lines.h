// The lines of a template that a build of one layout expands: a line that
// names ov.IfPacked is for packed sheets only, one that names ov.IfGrid for
// strips and grid sheets only. The other layout's lines are taken out before
// anything else, as if the template did not hold them, so a format can add
// fields for trimmed and turned frames and still write for a grid sheet what
// it wrote before.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace oz {

// The lines of `lines` for a build laid out packed (`packed`) or not: `lines`
// itself when no line names either word, else the lines kept, copied into
// `kept`, which must outlive the result.
std::span<const std::string> linesForLayout(std::span<const std::string> lines, bool packed,
                                            std::vector<std::string>* kept);

}  // namespace oz
