// Script files are UTF-8 by intent but may hold any bytes. These functions
// show such bytes as valid UTF-8 text for editing and map the text back, so
// that text read from bytes and not edited gives the same bytes again.
//
// A byte that cannot be shown as part of a character stands for itself as
// the private-use character U+F700 + byte (U+F780 to U+F7FF; 0xE9 is shown
// as U+F7E9). Bytes below 0x80 are always characters, so 128 stand-ins do.
// Shown byte by byte in the same way, because a text editor would not keep
// them as they are: the stand-ins themselves (a file may hold U+F7E9 as its
// three bytes EF 9F A9), the line and paragraph separators U+2028 and
// U+2029, and the noncharacters (U+FDD0 to U+FDEF, and U+xFFFE and U+xFFFF
// in every plane). Everything else, a leading byte-order mark included, is
// shown as the character it is.
#pragma once

#include <string>
#include <string_view>

namespace oz {

// The stand-in for byte 0x80 + n is kByteStandInBase + 0x80 + n.
inline constexpr char32_t kByteStandInBase = 0xF700;

// Valid UTF-8 text showing `bytes`.
std::string bytesToText(std::string_view bytes);

// The bytes `text` shows: every stand-in becomes its byte, every other
// character its UTF-8 bytes. So a stand-in typed by the user is saved as
// the single byte it stands for.
std::string textToBytes(std::string_view text);

// Whether `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool isValidUtf8(std::string_view bytes);

}  // namespace oz
