#include "editor/highlight.h"

#include <array>
#include <string_view>

namespace oz {
namespace {

enum class Role : uint8_t { kPlain, kRepeat, kUntil };

struct Tag {
  std::string_view word;
  HighlightKind kind;
  Role role;
};

// ov.ImageRotate and ov.Columns are coloured with their families although the
// template language replaces neither of them: users meet them in old scripts.
constexpr std::array<Tag, 16> kTags{{
    {"ov.ImageX", HighlightKind::kImageTag, Role::kPlain},
    {"ov.ImageY", HighlightKind::kImageTag, Role::kPlain},
    {"ov.ImageWidth", HighlightKind::kImageTag, Role::kPlain},
    {"ov.ImageHeight", HighlightKind::kImageTag, Role::kPlain},
    {"ov.ImageRotate", HighlightKind::kImageTag, Role::kPlain},
    {"ov.ImageName", HighlightKind::kImageTag, Role::kPlain},
    {"ov.ImageNumber", HighlightKind::kImageTag, Role::kPlain},
    {"ov.ImageCount", HighlightKind::kImageTag, Role::kPlain},
    {"ov.SheetWidth", HighlightKind::kSheetTag, Role::kPlain},
    {"ov.SheetHeight", HighlightKind::kSheetTag, Role::kPlain},
    {"ov.SheetName", HighlightKind::kSheetTag, Role::kPlain},
    {"ov.SheetNumber", HighlightKind::kSheetTag, Role::kPlain},
    {"ov.Columns", HighlightKind::kSheetTag, Role::kPlain},
    {"ov.Extension", HighlightKind::kControlTag, Role::kPlain},
    {"ov.Repeat", HighlightKind::kControlTag, Role::kRepeat},
    {"ov.Until", HighlightKind::kControlTag, Role::kUntil},
}};

constexpr std::string_view kPrefix = "ov.";

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

const Tag* findTag(std::string_view word) {
  for (const Tag& tag : kTags) {
    if (tag.word == word) return &tag;
  }
  return nullptr;
}

// UTF-16 code units of the valid UTF-8 bytes [p, end): one per character that
// starts with a non-continuation byte, and a second one for the four-byte
// sequences, which become surrogate pairs.
int utf16Units(const char* p, const char* end) {
  int units = 0;
  for (; p < end; ++p) {
    const auto byte = static_cast<unsigned char>(*p);
    units += (byte & 0xC0) != 0x80;
    units += byte >= 0xF0;
  }
  return units;
}

}  // namespace

void computeHighlighting(std::string_view text, Highlighting* out) {
  out->spans.clear();
  out->shades.clear();
  const size_t n = text.size();
  size_t countedBytes = 0;  // text before this byte offset is counted in `units`
  int units = 0;
  // Start of the last ov.Repeat met; an ov.Until does not reset it, so an
  // ov.Until with no ov.Repeat before it shades from the start of the text.
  int blockStart = 0;
  for (size_t p = text.find(kPrefix); p != std::string_view::npos; p = text.find(kPrefix, p)) {
    units += utf16Units(text.data() + countedBytes, text.data() + p);
    size_t e = p + kPrefix.size();
    while (e < n && isAsciiLetter(text[e])) ++e;
    const int start = units;
    const int length = static_cast<int>(e - p);  // ASCII only: bytes are code units
    units += length;
    countedBytes = e;

    if (const Tag* tag = findTag(text.substr(p, e - p))) {
      if (tag->role == Role::kRepeat) blockStart = start;
      if (tag->role == Role::kUntil) {
        const ShadeRange shade{blockStart, start + length - blockStart};
        // Shading a shaded block again replaces its shade, never darkens it.
        if (!out->shades.empty() && out->shades.back().start == blockStart) {
          out->shades.back() = shade;
        } else {
          out->shades.push_back(shade);
        }
      }
      out->spans.push_back({start, length, tag->kind});
    }
    p = e;
  }
}

Highlighting computeHighlighting(std::string_view text) {
  Highlighting result;
  computeHighlighting(text, &result);
  return result;
}

}  // namespace oz
