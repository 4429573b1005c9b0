#include "toolkit/shortcut.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

Shortcut make(std::string key, bool command, bool shift = false, bool alt = false,
              bool control = false) {
  return {command, shift, alt, control, std::move(key)};
}

TEST(ParseShortcut, ModifiersKeysAndTheSpecialCharacters) {
  const struct {
    const char* text;
    std::optional<Shortcut> shortcut;
  } cases[] = {
      // Modifiers in any case and order.
      {"Cmd+Q", make("Q", true)},
      {"Shift+Cmd+S", make("S", true, true)},
      {"cmd+shift+m", make("M", true, true)},
      {"Alt+Cmd+E", make("E", true, false, true)},
      {"CTRL+alt+x", make("X", false, false, true, true)},
      // Function keys are keys, not letters; unknown ones are passed on as written.
      {"F1", make("F1", false)},
      {"shift+f12", make("F12", false, true)},
      {"F13", make("F13", false)},
      // A carriage return is Return alone; Backspace always needs the command key.
      {"\r", make("Return", false)},
      {"\b", make("Backspace", true)},
      {"Cmd+\b", make("Backspace", true)},
      {"backspace", make("Backspace", true)},
      // No key, no shortcut.
      {"", std::nullopt},
      {"Cmd+Shift", std::nullopt},
      {"Cmd+", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(parseShortcut(c.text), c.shortcut) << c.text;
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
