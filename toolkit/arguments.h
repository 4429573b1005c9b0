// Splitting a launch's argument text into the program's arguments.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace oz {

// Splits `text` at blanks (spaces and tabs) outside double quotation marks.
// A double-quoted part belongs to the argument it touches and keeps its
// blanks; the quotation marks themselves are dropped, so "" is an empty
// argument. An unclosed quotation runs to the end of the text.
std::vector<std::string> splitArguments(std::string_view text);

}  // namespace oz
