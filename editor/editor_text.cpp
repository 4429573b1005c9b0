#include "editor/editor_text.h"

namespace oz {

std::vector<std::string> editorTextToLines(std::string_view text) {
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  std::string line;
  for (const char c : text) {
    if (c == '\r' || c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
    } else {
      line += c;
    }
  }
  lines.push_back(std::move(line));
  return lines;
}

std::string editorTextFromLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    if (!text.empty()) text += '\n';
    text += line;
  }
  return text;
}

}  // namespace oz
