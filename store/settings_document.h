// The in-memory image of a settings file: an ordered list of group, comment
// and key lines, with the lookups and edits the program makes on it. Names of
// groups and keys compare without regard to ASCII letter case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace oz {

struct SettingsEntry {
  enum class Kind { Group, Comment, Key };
  Kind kind = Kind::Key;
  std::string name;   // the group's name, or the key; empty for a comment
  std::string value;  // the key's value, or the comment's text; empty for a group

  bool operator==(const SettingsEntry&) const = default;
};

struct SettingsKeyValue {
  std::string key;
  std::string value;

  bool operator==(const SettingsKeyValue&) const = default;
};

// Reads a file's bytes: after a UTF-8 byte-order mark the rest is UTF-8 (kept
// byte for byte, valid or not), otherwise each byte is an ISO-8859-1
// character. Lines end at CR or LF, blank lines give no entry, leading blanks
// are skipped; ";" starts a comment, "[" a group (name up to the first "]"),
// anything else is a key up to the first "=" (trailing blanks dropped) with
// the value after it (leading blanks skipped). A line without "=" is a key
// with an empty value.
std::vector<SettingsEntry> parseSettingsText(std::string_view bytes);

// The file's bytes: the byte-order mark, an empty line, then one line per
// entry: "[name]", "; text" or "key = value", each ended by LF.
std::string formatSettingsText(const std::vector<SettingsEntry>& entries);

// Whether `key` written as a key line reads back as the same key: no line
// break and no "=" in it, no blank (space or tab) at either end, and no ";"
// or "[" first, which would make the line a comment or a group.
bool settingsKeyReadsBack(std::string_view key);

// A decimal integer as a settings value holds it: optional leading white
// space, an optional sign, then digits up to the first other character. No
// digits read as 0; a number beyond the signed 64-bit range saturates.
std::int64_t parseSettingsInteger(std::string_view text);

class SettingsDocument {
 public:
  SettingsDocument() = default;
  explicit SettingsDocument(std::vector<SettingsEntry> entries);

  const std::vector<SettingsEntry>& entries() const { return entries_; }
  // Set by every write and every removal that found its key, also when the
  // written value equals the stored one.
  bool changed() const { return changed_; }

  // Makes the first group called `name` current. Without one the group is
  // pending: reads find nothing and the next write appends the group line at
  // the end. The empty name selects the lines before the first group line.
  void selectGroup(std::string_view name);

  // The first key of the current group equal to `key`; `fallback` when there
  // is none. A value that does not start with a number reads as 0.
  std::int64_t readInteger(std::string_view key, std::int64_t fallback) const;
  // As above; the value without leading and trailing spaces and tabs.
  std::string readText(std::string_view key, std::string_view fallback) const;

  // Replaces the value of an existing key, which keeps its place and takes
  // the new spelling, or adds the key at the end of the current group. A
  // key that would not read back as itself (settingsKeyReadsBack) is not
  // written, and false is returned. Line breaks cannot be stored: the value
  // is cut at the first CR or LF.
  bool writeInteger(std::string_view key, std::int64_t value);
  bool writeText(std::string_view key, std::string_view value);

  // Removes the first matching key of the current group, if there is one.
  void removeKey(std::string_view key);

  // The key lines of the current group in file order, key and value without
  // leading and trailing spaces and tabs. Nothing for a pending group.
  std::vector<SettingsKeyValue> listKeys() const;

 private:
  // [begin, end) of the current group's lines; nullopt for a pending group.
  std::optional<std::pair<size_t, size_t>> groupRange() const;
  std::optional<size_t> findKey(std::string_view key) const;

  std::vector<SettingsEntry> entries_;
  std::optional<size_t> group_;  // index of the current group line; none = top of the file
  std::optional<std::string> pendingGroup_;  // a selected group not yet in the list
  bool changed_ = false;
};

}  // namespace oz
