#include "toolkit/shortcut.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

Shortcut make(std::string key, bool command, bool shift = false, bool alt = false,
              bool control = false) {
  return {command, shift, alt, control, std::move(key)};
}

TEST(ParseShortcut, ModifiersInAnyCaseAndOrder) {
  EXPECT_EQ(parseShortcut("Cmd+Q"), make("Q", true));
  EXPECT_EQ(parseShortcut("Shift+Cmd+S"), make("S", true, true));
  EXPECT_EQ(parseShortcut("cmd+shift+m"), make("M", true, true));
  EXPECT_EQ(parseShortcut("Alt+Cmd+E"), make("E", true, false, true));
  EXPECT_EQ(parseShortcut("CTRL+alt+x"), make("X", false, false, true, true));
}

TEST(ParseShortcut, FunctionKeysAreKeysNotLetters) {
  EXPECT_EQ(parseShortcut("F1"), make("F1", false));
  EXPECT_EQ(parseShortcut("shift+f12"), make("F12", false, true));
  EXPECT_EQ(parseShortcut("F13"), make("F13", false));  // no such key here: passed on as written
}

TEST(ParseShortcut, CarriageReturnIsReturnAlone) {
  EXPECT_EQ(parseShortcut("\r"), make("Return", false));
}

TEST(ParseShortcut, BackspaceAlwaysNeedsTheCommandKey) {
  EXPECT_EQ(parseShortcut("\b"), make("Backspace", true));
  EXPECT_EQ(parseShortcut("Cmd+\b"), make("Backspace", true));
  EXPECT_EQ(parseShortcut("backspace"), make("Backspace", true));
}

TEST(ParseShortcut, NoKeyNoShortcut) {
  EXPECT_EQ(parseShortcut(""), std::nullopt);
  EXPECT_EQ(parseShortcut("Cmd+Shift"), std::nullopt);
  EXPECT_EQ(parseShortcut("Cmd+"), std::nullopt);
}

TEST(ParseMenuItemText, SplitsAtTheFirstTab) {
  EXPECT_EQ(parseMenuItemText("Help\tF1"), (MenuItemText{"Help", make("F1", false)}));
  EXPECT_EQ(parseMenuItemText("Halvick Website"), (MenuItemText{"Halvick Website", std::nullopt}));
  EXPECT_EQ(parseMenuItemText("Create Sprite\t\r"),
            (MenuItemText{"Create Sprite", make("Return", false)}));
  EXPECT_EQ(parseMenuItemText("Odd\t"), (MenuItemText{"Odd", std::nullopt}));
}

}  // namespace
}  // namespace oz
