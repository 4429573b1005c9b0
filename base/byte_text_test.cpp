#include "base/byte_text.h"

#include <gtest/gtest.h>

#include <random>

namespace oz {
namespace {

// The UTF-8 bytes of the stand-in for each of `bytes`.
std::string standIns(std::string_view bytes) {
  std::string text;
  for (const char c : bytes) {
    const char32_t code = kByteStandInBase + static_cast<uint8_t>(c);
    text += static_cast<char>(0xE0 | (code >> 12));
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  }
  return text;
}

// Characters an editor keeps, the neighbours of the stand-ins among them, are
// shown and saved as themselves.
TEST(ByteText, ValidCharactersAreShownAsThemselves) {
  const std::string unchanged[] = {
      "", std::string("ov.ImageX\t\0\x7F", 12),
      // é, €, an emoji outside the first plane, a leading byte-order mark and
      // U+FEFF elsewhere.
      "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xEF\xBB\xBFov.", "a\xEF\xBB\xBF",
      // U+F6FF and U+F77F just below the stand-ins, U+F800 just above them,
      // U+FFFD and U+10FFFD.
      "\xEF\x9B\xBF", "\xEF\x9D\xBF", "\xEF\xA0\x80", "\xEF\xBF\xBD", "\xF4\x8F\xBF\xBD"};
  for (const std::string& bytes : unchanged) {
    EXPECT_EQ(bytesToText(bytes), bytes) << testing::PrintToString(bytes);
    EXPECT_EQ(textToBytes(bytes), bytes) << testing::PrintToString(bytes);
  }
}

TEST(ByteText, BytesOutsideCharactersAndCharactersAnEditorWouldChangeAreShownByteByByte) {
  struct Case {
    std::string bytes;
    std::string text;
  };
  std::vector<Case> cases = {
      {"caf\xE9", "caf" + standIns("\xE9")},  // Latin-1 é
      {"\xE9z\xE9\n\xFF", standIns("\xE9") + "z" + standIns("\xE9") + "\n" + standIns("\xFF")},
      {"\xE2\x82x", standIns("\xE2\x82") + "x"},        // cut short by ASCII
      {"\xEF\x9E\x7F", standIns("\xEF\x9E") + "\x7F"},  // likewise
      {"a\xE2\x80\xA8z", "a" + standIns("\xE2\x80\xA8") + "z"},
  };
  const std::string wholly[] = {
      // Cut short at the end, continuation bytes alone, overlong "/" in two and
      // three bytes, a surrogate, above U+10FFFF, never in UTF-8.
      "\xE2\x82", "\x80\xBF", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
      "\xF5\xFE",
      // The stand-ins U+F780 (the first), U+F7E9 (for E9) and U+F7FF (the last).
      "\xEF\x9E\x80", "\xEF\x9F\xA9", "\xEF\x9F\xBF",
      // U+2028, U+2029, U+FDD0, U+FDEF, U+FFFE, U+1FFFF and U+10FFFF.
      "\xE2\x80\xA8", "\xE2\x80\xA9", "\xEF\xB7\x90", "\xEF\xB7\xAF", "\xEF\xBF\xBE",
      "\xF0\x9F\xBF\xBF", "\xF4\x8F\xBF\xBF"};
  for (const std::string& bytes : wholly) cases.push_back({bytes, standIns(bytes)});
  for (const Case& c : cases) {
    const std::string text = bytesToText(c.bytes);
    EXPECT_EQ(text, c.text) << testing::PrintToString(c.bytes);
    EXPECT_TRUE(isValidUtf8(text)) << testing::PrintToString(c.bytes);
    EXPECT_EQ(textToBytes(text), c.bytes) << testing::PrintToString(c.bytes);
  }
}

TEST(ByteText, AnyBytesComeBackExactly) {
  std::mt19937 random(20240611);
  // Mostly high bytes, so that sequences form, break and hit the stand-ins.
  const std::string pool = "ab\n\r\x80\x9E\x9F\xA0\xA9\xBF\xC3\xE2\xED\xEF\xF0\xF4\xFF";
  std::uniform_int_distribution<size_t> pick(0, pool.size() - 1);
  std::uniform_int_distribution<size_t> length(0, 12);
  for (int round = 0; round < 20000; ++round) {
    std::string bytes;
    for (size_t n = length(random); n > 0; --n) bytes += pool[pick(random)];
    const std::string text = bytesToText(bytes);
    ASSERT_TRUE(isValidUtf8(text)) << testing::PrintToString(bytes);
    ASSERT_EQ(textToBytes(text), bytes) << testing::PrintToString(bytes);
  }
}

TEST(IsValidUtf8, RefusesWhatUtf8Forbids) {
  EXPECT_TRUE(isValidUtf8(""));
  EXPECT_TRUE(isValidUtf8("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xEF\x9F\xA9"));
  for (const char* bad : {"\xE9", "\xC3", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xBF\xBF",
                          "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80"}) {
    EXPECT_FALSE(isValidUtf8(bad)) << testing::PrintToString(std::string(bad));
  }
}

}  // namespace
}  // namespace oz
