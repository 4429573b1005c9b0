#include "script/escape.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

std::string escaped(std::string_view text, Escape escape) {
  std::string out;
  appendEscaped(text, escape, &out);
  return out;
}

struct Row {
  std::string_view name;
  std::string_view json;
  std::string_view xml;
  std::string_view css;
};

// Each hostile character in every form; the readers of each format are run
// over whole scripts by the gallery's test.
TEST(Escape, HostileCharactersInEveryForm) {
  const Row rows[] = {
      {"walk1", "walk1", "walk1", "walk1"},
      {"say\"hi", "say\\\"hi", "say&quot;hi", "say\\\"hi"},
      {"back\\slash", "back\\\\slash", "back\\slash", "back\\\\slash"},
      {"it's <a&b>", "it's <a&b>", "it&apos;s &lt;a&amp;b&gt;", "it\\'s\\ \\<a\\&b\\>"},
      {"my walk.1", "my walk.1", "my walk.1", "my\\ walk\\.1"},
      {"tab\there\n", "tab\\there\\n", "tab&#9;here&#10;", "tab\\9 here\\a "},
      {"\x01\x1f", "\\u0001\\u001f", "\xEF\xBF\xBD\xEF\xBF\xBD", "\\1 \\1f "},
      {"gr\xC3\xBC\xC3\x9F \xE6\xAD\xA9", "gr\xC3\xBC\xC3\x9F \xE6\xAD\xA9",
       "gr\xC3\xBC\xC3\x9F \xE6\xAD\xA9", "gr\xC3\xBC\xC3\x9F\\ \xE6\xAD\xA9"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(escaped(row.name, Escape::Json), row.json) << row.name;
    EXPECT_EQ(escaped(row.name, Escape::Xml), row.xml) << row.name;
    EXPECT_EQ(escaped(row.name, Escape::Css), row.css) << row.name;
    EXPECT_EQ(escaped(row.name, Escape::None), row.name);
  }
}

// An identifier cannot start with a digit, with "-" and a digit, or be "-".
TEST(Escape, CssIdentifierStarts) {
  EXPECT_EQ(escaped("1up", Escape::Css), "\\31 up");
  EXPECT_EQ(escaped("-2", Escape::Css), "-\\32 ");
  EXPECT_EQ(escaped("-", Escape::Css), "\\-");
  EXPECT_EQ(escaped("--x", Escape::Css), "--x");
  EXPECT_EQ(escaped("a1", Escape::Css), "a1");
  EXPECT_EQ(escaped(std::string_view("\0x", 2), Escape::Css), "\xEF\xBF\xBDx");
}

// None of the formats can carry bytes that are not UTF-8.
TEST(Escape, BytesThatAreNotUtf8BecomeReplacementCharacters) {
  const std::string_view bad[] = {"\xFF", "\xC0\xAF", "\xED\xA0\x80", "\xE6\xAD", "\x80"};
  for (std::string_view text : bad) {
    for (Escape escape : {Escape::Json, Escape::Xml, Escape::Css}) {
      const std::string out = escaped(text, escape);
      EXPECT_FALSE(out.empty());
      EXPECT_EQ(out.find_first_not_of("\xEF\xBF\xBD"), std::string::npos) << text;
    }
  }
  EXPECT_EQ(escaped("a\xF0\x9F\x98\x80z", Escape::Json), "a\xF0\x9F\x98\x80z");
}

}  // namespace
}  // namespace oz
