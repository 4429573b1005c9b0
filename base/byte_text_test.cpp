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
      "",
      std::string("ov.ImageX\t\0\x7F", 12),
      "\xC3\xA9",          // é
      "\xE2\x82\xAC",      // €
      "\xF0\x9F\x98\x80",  // an emoji, outside the first plane
      "\xEF\xBB\xBFov.",   // a leading byte-order mark
      "a\xEF\xBB\xBF",     // U+FEFF elsewhere
      "\xEF\x9B\xBF",      // U+F6FF, just below the stand-ins
      "\xEF\x9D\xBF",      // U+F77F, just below the first stand-in
      "\xEF\xA0\x80",      // U+F800, just above them
      "\xEF\xBF\xBD",      // U+FFFD
      "\xF4\x8F\xBF\xBD",  // U+10FFFD
  };
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
  const Case cases[] = {
      {"caf\xE9", "caf" + standIns("\xE9")},  // Latin-1 é
      {"\xE9"
       "a\xE9\n\xFF",
       standIns("\xE9") + "a" + standIns("\xE9") + "\n" + standIns("\xFF")},
      {"\xE2\x82", standIns("\xE2\x82")},                  // cut short at the end
      {"\xE2\x82x", standIns("\xE2\x82") + "x"},           // cut short by ASCII
      {"\xEF\x9E\x7F", standIns("\xEF\x9E") + "\x7F"},     // likewise
      {"\x80\xBF", standIns("\x80\xBF")},                  // continuation bytes alone
      {"\xC0\xAF", standIns("\xC0\xAF")},                  // overlong "/"
      {"\xE0\x80\xAF", standIns("\xE0\x80\xAF")},          // overlong, three bytes
      {"\xED\xA0\x80", standIns("\xED\xA0\x80")},          // a surrogate
      {"\xF4\x90\x80\x80", standIns("\xF4\x90\x80\x80")},  // above U+10FFFF
      {"\xF5\xFE", standIns("\xF5\xFE")},                  // never in UTF-8
      {"\xEF\x9E\x80", standIns("\xEF\x9E\x80")},          // U+F780, the first stand-in
      {"\xEF\x9F\xA9", standIns("\xEF\x9F\xA9")},          // U+F7E9, the stand-in for E9
      {"\xEF\x9F\xBF", standIns("\xEF\x9F\xBF")},          // U+F7FF, the last stand-in
      {"a\xE2\x80\xA8"
       "b",
       "a" + standIns("\xE2\x80\xA8") + "b"},              // U+2028
      {"\xE2\x80\xA9", standIns("\xE2\x80\xA9")},          // U+2029
      {"\xEF\xB7\x90", standIns("\xEF\xB7\x90")},          // U+FDD0
      {"\xEF\xB7\xAF", standIns("\xEF\xB7\xAF")},          // U+FDEF
      {"\xEF\xBF\xBE", standIns("\xEF\xBF\xBE")},          // U+FFFE
      {"\xF0\x9F\xBF\xBF", standIns("\xF0\x9F\xBF\xBF")},  // U+1FFFF
      {"\xF4\x8F\xBF\xBF", standIns("\xF4\x8F\xBF\xBF")},  // U+10FFFF
  };
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
