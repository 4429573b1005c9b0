#include "store/settings_document.h"

#include <algorithm>
#include <limits>

namespace oz {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

std::string latin1ToUtf8(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text += c;
    } else {
      text += static_cast<char>(0xC0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}

SettingsEntry parseLine(std::string_view line) {
  if (line.front() == ';') {
    line.remove_prefix(1);
    if (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    return {SettingsEntry::Kind::Comment, {}, std::string(line)};
  }
  if (line.front() == '[') {
    line.remove_prefix(1);
    return {SettingsEntry::Kind::Group, std::string(line.substr(0, line.find(']'))), {}};
  }
  const size_t equals = line.find('=');
  std::string_view key = line.substr(0, equals);
  while (!key.empty() && isBlank(key.back())) key.remove_suffix(1);
  std::string_view value = equals == std::string_view::npos ? "" : line.substr(equals + 1);
  while (!value.empty() && isBlank(value.front())) value.remove_prefix(1);
  return {SettingsEntry::Kind::Key, std::string(key), std::string(value)};
}

// A stored line ends at the first line break, which the file format cannot hold.
std::string_view firstLine(std::string_view text) {
  return text.substr(0, text.find_first_of("\r\n"));
}

}  // namespace

bool settingsKeyReadsBack(std::string_view key) {
  if (key.find_first_of("\r\n=") != std::string_view::npos) return false;
  if (key.empty()) return true;
  return !isBlank(key.front()) && !isBlank(key.back()) && key.front() != ';' && key.front() != '[';
}

std::vector<SettingsEntry> parseSettingsText(std::string_view bytes) {
  std::string converted;
  std::string_view text;
  if (bytes.size() > 2 && bytes.starts_with(kByteOrderMark)) {
    text = bytes.substr(kByteOrderMark.size());
  } else {
    converted = latin1ToUtf8(bytes);
    text = converted;
  }
  std::vector<SettingsEntry> entries;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
    if (!line.empty()) entries.push_back(parseLine(line));
    start = end + 1;
  }
  return entries;
}

std::string formatSettingsText(const std::vector<SettingsEntry>& entries) {
  std::string text(kByteOrderMark);
  text += '\n';
  for (const SettingsEntry& entry : entries) {
    switch (entry.kind) {
      case SettingsEntry::Kind::Group:
        text += "[" + entry.name + "]";
        break;
      case SettingsEntry::Kind::Comment:
        text += "; " + entry.value;
        break;
      case SettingsEntry::Kind::Key:
        text += entry.name + " = " + entry.value;
        break;
    }
    text += '\n';
  }
  return text;
}

std::int64_t parseSettingsInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (isBlank(text[i]) || text[i] == '\v' || text[i] == '\f')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Accumulate towards the negative end, whose range is one larger, so that
  // the minimum itself parses without overflow.
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const int digit = text[i] - '0';
    if (value < (kMin + digit) / 10) {
      value = kMin;
      break;
    }
    value = value * 10 - digit;
  }
  if (negative) return value;
  return value == kMin ? std::numeric_limits<std::int64_t>::max() : -value;
}

SettingsDocument::SettingsDocument(std::vector<SettingsEntry> entries)
    : entries_(std::move(entries)) {}

void SettingsDocument::selectGroup(std::string_view name) {
  group_.reset();
  pendingGroup_.reset();
  name = firstLine(name);
  if (name.empty()) return;
  for (size_t i = 0; i < entries_.size(); ++i) {
    const SettingsEntry& entry = entries_[i];
    if (entry.kind == SettingsEntry::Kind::Group && equalIgnoringAsciiCase(entry.name, name)) {
      group_ = i;
      return;
    }
  }
  pendingGroup_ = std::string(name);
}

std::optional<std::pair<size_t, size_t>> SettingsDocument::groupRange() const {
  if (pendingGroup_) return std::nullopt;
  const size_t begin = group_ ? *group_ + 1 : 0;
  size_t end = begin;
  while (end < entries_.size() && entries_[end].kind != SettingsEntry::Kind::Group) ++end;
  return std::pair{begin, end};
}

std::optional<size_t> SettingsDocument::findKey(std::string_view key) const {
  const auto range = groupRange();
  if (!range) return std::nullopt;
  for (size_t i = range->first; i < range->second; ++i) {
    const SettingsEntry& entry = entries_[i];
    if (entry.kind == SettingsEntry::Kind::Key && equalIgnoringAsciiCase(entry.name, key)) return i;
  }
  return std::nullopt;
}

std::int64_t SettingsDocument::readInteger(std::string_view key, std::int64_t fallback) const {
  const auto found = findKey(key);
  return found ? parseSettingsInteger(entries_[*found].value) : fallback;
}

std::string SettingsDocument::readText(std::string_view key, std::string_view fallback) const {
  const auto found = findKey(key);
  return std::string(found ? trimBlanks(entries_[*found].value) : fallback);
}

bool SettingsDocument::writeInteger(std::string_view key, std::int64_t value) {
  return writeText(key, std::to_string(value));
}

bool SettingsDocument::writeText(std::string_view key, std::string_view value) {
  // Stored, such a key would come back as another one on the next reading
  // and be added anew on every write.
  if (!settingsKeyReadsBack(key)) return false;
  value = firstLine(value);
  if (pendingGroup_) {
    entries_.push_back({SettingsEntry::Kind::Group, std::move(*pendingGroup_), {}});
    pendingGroup_.reset();
    group_ = entries_.size() - 1;
  }
  changed_ = true;
  if (const auto found = findKey(key)) {
    entries_[*found].name = std::string(key);
    entries_[*found].value = std::string(value);
    return true;
  }
  const size_t end = groupRange()->second;
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(end),
                  {SettingsEntry::Kind::Key, std::string(key), std::string(value)});
  return true;
}

void SettingsDocument::removeKey(std::string_view key) {
  if (const auto found = findKey(key)) {
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(*found));
    changed_ = true;
  }
}

std::vector<SettingsKeyValue> SettingsDocument::listKeys() const {
  std::vector<SettingsKeyValue> keys;
  const auto range = groupRange();
  if (!range) return keys;
  for (size_t i = range->first; i < range->second; ++i) {
    const SettingsEntry& entry = entries_[i];
    if (entry.kind == SettingsEntry::Kind::Key) {
      keys.push_back({std::string(trimBlanks(entry.name)), std::string(trimBlanks(entry.value))});
    }
  }
  return keys;
}

}  // namespace oz
