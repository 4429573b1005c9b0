#include "base/text_lines.h"

#include <cstdio>
#include <memory>

namespace oz {

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c != '\n' && c != '\r') {
      ++i;
      continue;
    }
    lines.emplace_back(text.substr(start, i - start));
    i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
    start = i;
  }
  // A final ending adds no empty line, but an empty text is one empty line.
  if (start < text.size() || lines.empty()) lines.emplace_back(text.substr(start));
  return lines;
}

bool readWholeFile(const std::string& path, std::string* out) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return false;
  out->clear();
  char buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) out->append(buffer, got);
  return std::ferror(file.get()) == 0;
}

}  // namespace oz
