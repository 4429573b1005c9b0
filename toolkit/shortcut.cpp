#include "toolkit/shortcut.h"

#include <array>
#include <vector>

namespace oz {
namespace {

std::string upper(std::string_view word) {
  std::string result(word);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

bool isFunctionKey(const std::string& upperWord) {
  static const std::array<std::string_view, 12> kKeys = {"F1", "F2", "F3", "F4",  "F5",  "F6",
                                                         "F7", "F8", "F9", "F10", "F11", "F12"};
  for (std::string_view key : kKeys) {
    if (upperWord == key) return true;
  }
  return false;
}

// The key's canonical name, from a word already known to be no modifier.
std::string keyName(std::string_view word) {
  if (word == "\r") return "Return";
  if (word == "\b") return "Backspace";
  const std::string u = upper(word);
  if (u.size() == 1 || isFunctionKey(u)) return u;
  if (u == "RETURN") return "Return";
  if (u == "BACKSPACE") return "Backspace";
  return std::string(word);
}

std::vector<std::string_view> splitWords(std::string_view text) {
  std::vector<std::string_view> words;
  size_t start = 0;
  while (start <= text.size()) {
    size_t plus = text.find('+', start);
    if (plus == std::string_view::npos) plus = text.size();
    if (plus > start) words.push_back(text.substr(start, plus - start));
    start = plus + 1;
  }
  return words;
}

}  // namespace

std::optional<Shortcut> parseShortcut(std::string_view description) {
  Shortcut shortcut;
  for (std::string_view word : splitWords(description)) {
    const std::string u = upper(word);
    if (u == "CMD") {
      shortcut.command = true;
    } else if (u == "SHIFT") {
      shortcut.shift = true;
    } else if (u == "ALT") {
      shortcut.alt = true;
    } else if (u == "CTRL") {
      shortcut.control = true;
    } else {
      shortcut.key = keyName(word);
    }
  }
  if (shortcut.key.empty()) return std::nullopt;
  // Backspace deletes text in every editor; only with the command key may it
  // reach a menu item.
  if (shortcut.key == "Backspace") shortcut.command = true;
  return shortcut;
}

MenuItemText parseMenuItemText(std::string_view text) {
  const size_t tab = text.find('\t');
  if (tab == std::string_view::npos) return {std::string(text), std::nullopt};
  return {std::string(text.substr(0, tab)), parseShortcut(text.substr(tab + 1))};
}

}  // namespace oz
