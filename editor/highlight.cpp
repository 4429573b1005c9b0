#include "editor/highlight.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "script/template_words.h"

namespace oz {
namespace {

enum class Role : uint8_t { Plain, Repeat, Until };

struct Tag {
  HighlightKind kind;
  Role role;
};

// ov.ImageRotate and ov.Columns are coloured with their families although the
// template language replaces neither of them: users meet them in old scripts.
constexpr std::array<std::string_view, 2> kFamilyOnlyWords = {"ov.ImageRotate", "ov.Columns"};

bool isOneOf(std::string_view word, auto const& words) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

std::optional<Tag> findTag(std::string_view word) {
  if (word == kRepeatMarker) return Tag{HighlightKind::ControlTag, Role::Repeat};
  if (word == kUntilMarker) return Tag{HighlightKind::ControlTag, Role::Until};
  if (word == kExtensionMarker) return Tag{HighlightKind::ControlTag, Role::Plain};
  if (!isOneOf(word, kTagNames) && !isOneOf(word, kFamilyOnlyWords)) return std::nullopt;
  const bool image = word.starts_with("ov.Image");
  return Tag{image ? HighlightKind::ImageTag : HighlightKind::SheetTag, Role::Plain};
}

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

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
  for (size_t p = text.find(kWordPrefix); p != std::string_view::npos;
       p = text.find(kWordPrefix, p)) {
    units += utf16Units(text.data() + countedBytes, text.data() + p);
    size_t e = p + kWordPrefix.size();
    while (e < n && isAsciiLetter(text[e])) ++e;
    const int start = units;
    const int length = static_cast<int>(e - p);  // ASCII only: bytes are code units
    units += length;
    countedBytes = e;

    if (const std::optional<Tag> tag = findTag(text.substr(p, e - p))) {
      if (tag->role == Role::Repeat) blockStart = start;
      if (tag->role == Role::Until) {
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

EditorColouring editorColouring(const Highlighting& highlighting) {
  EditorColouring colouring;
  colouring.text = kDefaultTextColor;
  colouring.foreground.reserve(highlighting.spans.size());
  for (const TagSpan& span : highlighting.spans) {
    colouring.foreground.push_back({span.start, span.length, colourOf(span.kind)});
  }
  colouring.background.reserve(highlighting.shades.size());
  for (const ShadeRange& shade : highlighting.shades) {
    colouring.background.push_back({shade.start, shade.length, kLoopShade});
  }
  return colouring;
}

}  // namespace oz
