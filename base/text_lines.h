// Reading whole files and cutting text into lines, as scripts and templates
// are read: a line ends at LF, at CR, or at CR LF (one ending); an ending after
// the last line is optional; an empty text is one empty line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace oz {

std::vector<std::string> splitLines(std::string_view text);

// Reads the whole file at `path` into `out`. False when it cannot be read.
bool readWholeFile(const std::string& path, std::string* out);

}  // namespace oz
