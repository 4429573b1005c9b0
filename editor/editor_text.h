// How an editor's text and a script file's lines map onto each other.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace oz {

// The editor read as lines for saving: every CR becomes LF, then the text is
// cut at each LF. An empty text gives no lines; a text ending in LF gives a
// last, empty line (so saving never loses a final blank line the user typed).
std::vector<std::string> editorTextToLines(std::string_view text);

// The editor's text after appending the lines of a script file one by one: a
// line appended to an empty text becomes the text, any other line is added
// after an LF. So empty lines at the start of a file do not appear.
std::string editorTextFromLines(const std::vector<std::string>& lines);

}  // namespace oz
