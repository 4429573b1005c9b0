#include "sheet/quantiser/test_vector.h"

#include <cctype>
#include <cstdlib>

namespace oz::testing {
namespace {

// The case files are one flat JSON object whose values are integers, booleans,
// hex strings and (nested) arrays of those. Each member is read by finding its
// key and reading the value after it.
class Reader {
 public:
  explicit Reader(std::string_view json) : json_(json) {}

  // The text of member `key`'s value, up to its end; empty when missing.
  std::string_view value(std::string_view key) const {
    const std::string quoted = "\"" + std::string(key) + "\":";
    const size_t at = json_.find(quoted);
    if (at == std::string_view::npos) return {};
    const size_t start = at + quoted.size();
    size_t end = start;
    int depth = 0;
    bool inString = false;
    for (; end < json_.size(); ++end) {
      const char c = json_[end];
      if (c == '"') {
        inString = !inString;
      } else if (!inString) {
        if (c == '[') ++depth;
        if (c == ']') --depth;
        if ((c == ',' || c == '}') && depth == 0) break;
      }
    }
    return json_.substr(start, end - start);
  }

 private:
  std::string_view json_;
};

// Every integer in `text`, in order (nesting ignored).
std::vector<int64_t> integers(std::string_view text) {
  std::vector<int64_t> out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '-') {
      char* end = nullptr;
      const std::string rest(text.substr(i, 24));
      out.push_back(std::strtoll(rest.c_str(), &end, 10));
      i += static_cast<size_t>(end - rest.c_str());
    }
  }
  return out;
}

// The bytes of every hex string in `text`, one vector per string.
std::optional<std::vector<std::vector<uint8_t>>> hexStrings(std::string_view text) {
  std::vector<std::vector<uint8_t>> out;
  for (size_t open = text.find('"'); open != std::string_view::npos;
       open = text.find('"', text.find('"', open + 1) + 1)) {
    const size_t close = text.find('"', open + 1);
    if (close == std::string_view::npos || (close - open - 1) % 2 != 0) return std::nullopt;
    std::vector<uint8_t>& bytes = out.emplace_back();
    for (size_t i = open + 1; i < close; i += 2) {
      const std::string pair(text.substr(i, 2));
      if (!std::isxdigit(static_cast<unsigned char>(pair[0])) ||
          !std::isxdigit(static_cast<unsigned char>(pair[1]))) {
        return std::nullopt;
      }
      bytes.push_back(static_cast<uint8_t>(std::stoi(pair, nullptr, 16)));
    }
  }
  return out;
}

}  // namespace

std::optional<ReductionCase> parseReductionCase(std::string_view json, std::string* error) {
  const Reader reader(json);
  const auto size = integers(reader.value("width"));
  const auto height = integers(reader.value("height"));
  const auto bits = integers(reader.value("bits"));
  const std::string_view dither = reader.value("dither");
  const auto colours = integers(reader.value("palette_rgb"));
  const auto alphas = integers(reader.value("palette_alpha"));
  const auto input = hexStrings(reader.value("input_rgb_hex"));
  const auto rows = hexStrings(reader.value("packed_rows_hex"));
  if (size.size() != 1 || height.size() != 1 || bits.size() != 1 ||
      (dither != "true" && dither != "false") || colours.size() != 3 * alphas.size() || !input ||
      input->size() != 1 || !rows) {
    *error = "a member is missing or malformed";
    return std::nullopt;
  }
  ReductionCase c{static_cast<int32_t>(size[0]),
                  static_cast<int32_t>(height[0]),
                  static_cast<int32_t>(bits[0]),
                  dither == "true",
                  std::move(input->front()),
                  {},
                  std::move(*rows)};
  for (size_t i = 0; i < alphas.size(); ++i) {
    c.palette.push_back(PaletteColour{
        static_cast<uint8_t>(colours[3 * i]), static_cast<uint8_t>(colours[3 * i + 1]),
        static_cast<uint8_t>(colours[3 * i + 2]), static_cast<uint8_t>(alphas[i])});
  }
  return c;
}

}  // namespace oz::testing
