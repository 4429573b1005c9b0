#include "base/byte_text.h"

#include <cstdint>

namespace oz {
namespace {

constexpr char32_t kFirstStandIn = kByteStandInBase + 0x80;
constexpr char32_t kLastStandIn = kByteStandInBase + 0xFF;

struct Decoded {
  size_t length = 0;  // bytes of the sequence; 0 when it is no valid one
  char32_t code = 0;
};

// The well-formed UTF-8 sequence at `at`, by the table of RFC 3629: the
// second byte's range depends on the first so that overlong forms,
// surrogates and values above U+10FFFF are refused.
Decoded decodeAt(std::string_view bytes, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(bytes[at + i]); };
  const uint8_t lead = byte(0);
  if (lead < 0x80) return {1, lead};
  size_t length = 0;
  uint8_t low = 0x80;
  uint8_t high = 0xBF;
  char32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {};
  }
  if (bytes.size() - at < length) return {};
  for (size_t i = 1; i < length; ++i) {
    const uint8_t next = byte(i);
    if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF)) return {};
    code = (code << 6) | (next & 0x3F);
  }
  return {length, code};
}

// Characters a text editor would not keep as they are.
bool shownAsBytes(char32_t code) {
  const bool standIn = code >= kFirstStandIn && code <= kLastStandIn;
  const bool separator = code == 0x2028 || code == 0x2029;
  const bool nonCharacter = (code >= 0xFDD0 && code <= 0xFDEF) || (code & 0xFFFE) == 0xFFFE;
  return standIn || separator || nonCharacter;
}

// The UTF-8 bytes of the stand-in for `byte` (0x80 to 0xFF): EF, 9E or 9F, and one more.
void appendStandIn(std::string& out, uint8_t byte) {
  const char32_t code = kByteStandInBase + byte;
  out += static_cast<char>(0xE0 | (code >> 12));
  out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
  out += static_cast<char>(0x80 | (code & 0x3F));
}

}  // namespace

std::string bytesToText(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  size_t at = 0;
  while (at < bytes.size()) {
    const Decoded decoded = decodeAt(bytes, at);
    if (decoded.length == 0) {
      appendStandIn(text, static_cast<uint8_t>(bytes[at]));
      ++at;
      continue;
    }
    if (shownAsBytes(decoded.code)) {
      for (size_t i = 0; i < decoded.length; ++i) {
        appendStandIn(text, static_cast<uint8_t>(bytes[at + i]));
      }
    } else {
      text.append(bytes, at, decoded.length);
    }
    at += decoded.length;
  }
  return text;
}

std::string textToBytes(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  size_t at = 0;
  while (at < text.size()) {
    const Decoded decoded = decodeAt(text, at);
    if (decoded.length == 0) {
      bytes += text[at++];  // not from bytesToText; kept as it is
      continue;
    }
    if (decoded.code >= kFirstStandIn && decoded.code <= kLastStandIn) {
      bytes += static_cast<char>(decoded.code - kByteStandInBase);
    } else {
      bytes.append(text, at, decoded.length);
    }
    at += decoded.length;
  }
  return bytes;
}

bool isValidUtf8(std::string_view bytes) {
  size_t at = 0;
  while (at < bytes.size()) {
    const size_t length = decodeAt(bytes, at).length;
    if (length == 0) return false;
    at += length;
  }
  return true;
}

}  // namespace oz
