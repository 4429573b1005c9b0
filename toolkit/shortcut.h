// Menu item texts: "label", or "label", a tab and a shortcut description.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace oz {

struct Shortcut {
  bool command = false;  // the platform's command key (Ctrl here)
  bool shift = false;
  bool alt = false;
  bool control = false;
  // "Return", "Backspace", "F1" to "F12", an upper-case letter, or another
  // key name as written.
  std::string key;
  bool operator==(const Shortcut&) const = default;
};

struct MenuItemText {
  std::string label;
  std::optional<Shortcut> shortcut;
  bool operator==(const MenuItemText&) const = default;
};

// Reads words joined by "+", in any letter case: CMD, SHIFT, ALT and CTRL are
// modifiers, F1 to F12 function keys, and the remaining word is the key. A
// carriage return as the key means Return alone; a backspace character means
// Backspace with the command modifier, so a plain Backspace is never a
// shortcut. Returns nothing when no key is named.
std::optional<Shortcut> parseShortcut(std::string_view description);

// Splits a menu item's text at its first tab.
MenuItemText parseMenuItemText(std::string_view text);

}  // namespace oz
