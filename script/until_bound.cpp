#include "script/until_bound.h"

#include <limits>
#include <string>

#include "script/template_words.h"
#include "script/text_replace.h"

namespace oz {
namespace {

// The value of `c` as a digit of `base`, or -1.
int digitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') {
    value = c - '0';
  } else if (c >= 'a' && c <= 'f') {
    value = c - 'a' + 10;
  } else if (c >= 'A' && c <= 'F') {
    value = c - 'A' + 10;
  }
  return value < base ? value : -1;
}

}  // namespace

int64_t readUntilBound(std::string_view line) {
  std::string text = removeAll(line, kUntilMarker);
  text = removeAll(text, "=");
  text = removeAll(text, " ");

  size_t i = text.find_first_not_of('\t');
  if (i == std::string::npos) return 0;
  bool negative = false;
  if (text[i] == '-' || text[i] == '+') negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && (text[i] == '$' || text[i] == '%')) base = text[i++] == '$' ? 16 : 2;

  // Accumulated as a magnitude that stops at one past the largest bound, so
  // that both signs saturate without overflow.
  constexpr uint64_t kLimit = static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) + 1;
  uint64_t magnitude = 0;
  for (int digit; i < text.size() && (digit = digitValue(text[i], base)) >= 0; ++i) {
    if (magnitude > (kLimit - digit) / base) {
      magnitude = kLimit;
    } else {
      magnitude = magnitude * base + digit;
    }
  }
  if (negative) {
    return magnitude >= kLimit ? std::numeric_limits<int64_t>::min()
                               : -static_cast<int64_t>(magnitude);
  }
  return magnitude >= kLimit ? std::numeric_limits<int64_t>::max()
                             : static_cast<int64_t>(magnitude);
}

}  // namespace oz
