#include "store/settings_document.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

namespace oz {
namespace {

using Kind = SettingsEntry::Kind;

SettingsEntry group(std::string name) { return {Kind::Group, std::move(name), {}}; }
SettingsEntry comment(std::string text) { return {Kind::Comment, {}, std::move(text)}; }
SettingsEntry key(std::string name, std::string value) {
  return {Kind::Key, std::move(name), std::move(value)};
}

TEST(SettingsText, ReadsLinesOfEveryKind) {
  const std::string bytes =
      "\xEF\xBB\xBF\n\n  ; a note\r;;twice\r\n[Settings] trailing\r\n"
      "\tColor Depth \t= \t3  \n[open\nflag\n=bare\n\xFF\xFE ok = \xC3\n";
  const std::vector<SettingsEntry> expected = {
      comment("a note"), comment(";twice"), group("Settings"), key("Color Depth", "3  "),
      group("open"),     key("flag", ""),   key("", "bare"),   key("\xFF\xFE ok", "\xC3")};
  EXPECT_EQ(parseSettingsText(bytes), expected);
}

TEST(SettingsText, WithoutTheMarkEachByteIsLatin1) {
  EXPECT_EQ(parseSettingsText("caf\xE9=\xFF"), (std::vector{key("caf\xC3\xA9", "\xC3\xBF")}));
  // Two bytes are too short to hold the mark.
  EXPECT_EQ(parseSettingsText("\xEF\xBB"), (std::vector{key("\xC3\xAF\xC2\xBB", "")}));
  EXPECT_TRUE(parseSettingsText("\xEF\xBB\xBF").empty());
}

TEST(SettingsText, IntegersSaturateAndNonNumbersReadZero) {
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
  const struct {
    const char* text;
    std::int64_t value;
  } cases[] = {
      {"", 0},
      {"yes", 0},
      {"  42x", 42},
      {"\t-7", -7},
      {"+5", 5},
      {"- 5", 0},
      {"007", 7},
      {"9223372036854775807", kMax},
      {"9223372036854775808", kMax},
      {"123456789012345678901234567890", kMax},
      {"-9223372036854775808", kMin},
      {"-9223372036854775809", kMin},
      {"-99999999999999999999", kMin},
  };
  for (const auto& c : cases) EXPECT_EQ(parseSettingsInteger(c.text), c.value) << c.text;
}

class SettingsDocumentTest : public ::testing::Test {
 protected:
  SettingsDocument doc_{parseSettingsText(
      "top = 1\n[Settings]\nStrip = 1\n; kept\nColumns = 12  \n[Other]\nStrip = 2\n"
      "[settings]\nStrip = 3\n")};
};

TEST_F(SettingsDocumentTest, LookupsIgnoreCaseAndStayInTheFirstGroupOfTheName) {
  doc_.selectGroup("SETTINGS");
  EXPECT_EQ(doc_.readInteger("strip", 9), 1);
  EXPECT_EQ(doc_.readText("columns", "4"), "12");
  EXPECT_EQ(doc_.readInteger("top", 9), 9);
  EXPECT_EQ(doc_.readText("Missing", "dflt"), "dflt");
  doc_.selectGroup("");
  EXPECT_EQ(doc_.readInteger("top", 9), 1);
  doc_.selectGroup("Nowhere");
  EXPECT_EQ(doc_.readInteger("top", 9), 9);
  EXPECT_TRUE(doc_.listKeys().empty());
  EXPECT_FALSE(doc_.changed());
}

TEST_F(SettingsDocumentTest, WritesKeepPlacesAndAppendAtTheEndOfTheGroup) {
  doc_.selectGroup("settings");
  doc_.writeInteger("STRIP", 1);  // the same value still counts as a change
  EXPECT_TRUE(doc_.changed());
  doc_.writeText("Pink", "0");
  doc_.selectGroup("");
  doc_.writeInteger("first", -3);
  doc_.selectGroup("Tab ID's");
  doc_.writeInteger("plist", 7);
  doc_.writeText("multi", "a\rb");
  const std::vector<SettingsEntry> expected = {
      key("top", "1"),   key("first", "-3"),     group("Settings"), key("STRIP", "1"),
      comment("kept"),   key("Columns", "12  "), key("Pink", "0"),  group("Other"),
      key("Strip", "2"), group("settings"),      key("Strip", "3"), group("Tab ID's"),
      key("plist", "7"), key("multi", "a")};
  EXPECT_EQ(doc_.entries(), expected);
}

TEST_F(SettingsDocumentTest, RemoveAndListStayInTheCurrentGroup) {
  doc_.selectGroup("Other");
  doc_.removeKey("Columns");
  EXPECT_FALSE(doc_.changed());
  doc_.selectGroup("Settings");
  EXPECT_EQ(doc_.listKeys(), (std::vector<SettingsKeyValue>{{"Strip", "1"}, {"Columns", "12"}}));
  doc_.removeKey("strip");
  EXPECT_TRUE(doc_.changed());
  EXPECT_EQ(doc_.listKeys(), (std::vector<SettingsKeyValue>{{"Columns", "12"}}));
  doc_.selectGroup("Other");
  EXPECT_EQ(doc_.readInteger("Strip", 0), 2);
}

// Text made of the characters that matter to the format, and a few others.
std::string randomText(std::mt19937& rng, size_t maxLength) {
  static constexpr char kAlphabet[] = " \t=[];aZ09\xC3\xA9\xFF\r\n";
  std::string text(std::uniform_int_distribution<size_t>(0, maxLength)(rng), ' ');
  for (char& c : text) c = kAlphabet[std::uniform_int_distribution<size_t>(0, 15)(rng)];
  return text;
}

// Every key of up to three characters from those that matter to the format:
// the document writes exactly the keys whose line the reader gives back as
// written, and a key it refuses leaves it unchanged.
TEST(SettingsTextProperty, KeysAreWrittenExactlyWhenTheReaderGivesThemBack) {
  static constexpr std::string_view kAlphabet = " \t\v=[];#a\xC3\r\n";
  std::vector<std::string> keys = {""};
  for (size_t from = 0, length = 0; length < 3; ++length) {
    const size_t to = keys.size();
    for (size_t i = from; i < to; ++i) {
      for (char c : kAlphabet) keys.push_back(keys[i] + c);
    }
    from = to;
  }
  size_t written = 0;
  for (const std::string& name : keys) {
    const std::vector<SettingsEntry> lines = {group("g"), key(name, "5")};
    const bool readsBack = parseSettingsText(formatSettingsText(lines)) == lines;
    EXPECT_EQ(settingsKeyReadsBack(name), readsBack) << ::testing::PrintToString(name);
    SettingsDocument doc;
    doc.selectGroup("g");
    EXPECT_EQ(doc.writeInteger(name, 5), readsBack) << ::testing::PrintToString(name);
    EXPECT_EQ(doc.changed(), readsBack);
    EXPECT_EQ(doc.entries().size(), readsBack ? 2u : 0u);
    written += readsBack;
  }
  EXPECT_GT(written, 0u);
  EXPECT_LT(written, keys.size());
}

TEST(SettingsTextProperty, AnyTextReadsTheSameAfterBeingWrittenBack) {
  std::mt19937 rng(20240611);
  for (int round = 0; round < 2000; ++round) {
    const std::vector<SettingsEntry> entries = parseSettingsText(randomText(rng, 60));
    EXPECT_EQ(parseSettingsText(formatSettingsText(entries)), entries);
  }
}

}  // namespace
}  // namespace oz
