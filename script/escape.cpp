#include "script/escape.h"

#include <cstdint>

namespace oz {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0
// when its first byte starts none (a stray continuation byte, an overlong
// form, a surrogate, a value past U+10FFFF, a cut-off sequence).
size_t utf8SequenceLength(std::string_view text) {
  const auto byte = [&text](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t lead = byte(0);
  if (lead < 0x80) return 1;
  size_t length = 0;
  uint8_t low = 0x80;
  uint8_t high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
  }
  return length;
}

void appendHex(uint8_t value, int digits, std::string* out) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
    out->push_back(kDigits[(value >> shift) & 15]);
}

void appendJson(char c, std::string* out) {
  switch (c) {
    case '"':
      out->append("\\\"");
      return;
    case '\\':
      out->append("\\\\");
      return;
    case '\b':
      out->append("\\b");
      return;
    case '\f':
      out->append("\\f");
      return;
    case '\n':
      out->append("\\n");
      return;
    case '\r':
      out->append("\\r");
      return;
    case '\t':
      out->append("\\t");
      return;
    default:
      break;
  }
  if (static_cast<uint8_t>(c) < 0x20) {
    out->append("\\u");
    appendHex(static_cast<uint8_t>(c), 4, out);
  } else {
    out->push_back(c);
  }
}

void appendXml(char c, std::string* out) {
  switch (c) {
    case '&':
      out->append("&amp;");
      return;
    case '<':
      out->append("&lt;");
      return;
    case '>':
      out->append("&gt;");
      return;
    case '"':
      out->append("&quot;");
      return;
    case '\'':
      out->append("&apos;");
      return;
    case '\t':
      out->append("&#9;");
      return;
    case '\n':
      out->append("&#10;");
      return;
    case '\r':
      out->append("&#13;");
      return;
    default:
      break;
  }
  if (static_cast<uint8_t>(c) < 0x20) {
    out->append(kReplacementCharacter);
  } else {
    out->push_back(c);
  }
}

bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

bool keptInCssIdentifier(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isAsciiDigit(c) || c == '-' ||
         c == '_';
}

// `at` is the character's offset in the whole identifier `text`.
void appendCss(std::string_view text, size_t at, std::string* out) {
  const char c = text[at];
  if (c == '\0') {
    out->append(kReplacementCharacter);
    return;
  }
  const bool leadingDigit = isAsciiDigit(c) && (at == 0 || (at == 1 && text[0] == '-'));
  if (static_cast<uint8_t>(c) < 0x20 || c == 0x7F || leadingDigit) {
    out->push_back('\\');
    appendHex(static_cast<uint8_t>(c), static_cast<uint8_t>(c) < 16 ? 1 : 2, out);
    out->push_back(' ');
    return;
  }
  // A lone "-" is no identifier; escaped, it is one.
  if (keptInCssIdentifier(c) && !(c == '-' && text.size() == 1)) {
    out->push_back(c);
    return;
  }
  out->push_back('\\');
  out->push_back(c);
}

}  // namespace

void appendEscaped(std::string_view text, Escape escape, std::string* out) {
  if (escape == Escape::None) {
    out->append(text);
    return;
  }
  for (size_t at = 0; at < text.size();) {
    const size_t length = utf8SequenceLength(text.substr(at));
    if (length == 0) {
      out->append(kReplacementCharacter);
      ++at;
      continue;
    }
    if (length > 1) {
      out->append(text.substr(at, length));  // non-ASCII is kept by all three
    } else if (escape == Escape::Json) {
      appendJson(text[at], out);
    } else if (escape == Escape::Xml) {
      appendXml(text[at], out);
    } else {
      appendCss(text, at, out);
    }
    at += length;
  }
}

}  // namespace oz
