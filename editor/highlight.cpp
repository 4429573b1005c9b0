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

// ov.ImageRotate is coloured with its family although the template language
// does not replace it: users meet it in old scripts.
constexpr std::string_view kFamilyOnlyWord = "ov.ImageRotate";

struct NamedTag {
  std::string_view name;
  Tag tag;
};

constexpr Tag familyOf(std::string_view name) {
  return {name.starts_with("ov.Image") ? HighlightKind::ImageTag : HighlightKind::SheetTag,
          Role::Plain};
}

// Every word that takes a colour, sorted by name, so that a word is found
// in a few comparisons however many words the language has.
constexpr auto kNamedTags = [] {
  std::array<NamedTag, kTagNames.size() + kExactWords.size() + 4> tags{};
  size_t n = 0;
  for (std::string_view name : kTagNames) tags[n++] = {name, familyOf(name)};
  for (const ExactWord& word : kExactWords) {
    tags[n++] = {word.name, isControlWord(word.value) ? Tag{HighlightKind::ControlTag, Role::Plain}
                                                      : familyOf(word.name)};
  }
  tags[n++] = {kFamilyOnlyWord, familyOf(kFamilyOnlyWord)};
  tags[n++] = {kRepeatMarker, {HighlightKind::ControlTag, Role::Repeat}};
  tags[n++] = {kUntilMarker, {HighlightKind::ControlTag, Role::Until}};
  tags[n++] = {kExtensionMarker, {HighlightKind::ControlTag, Role::Plain}};
  std::sort(tags.begin(), tags.end(),
            [](const NamedTag& a, const NamedTag& b) { return a.name < b.name; });
  return tags;
}();

std::optional<Tag> findTag(std::string_view word) {
  const auto* found =
      std::lower_bound(kNamedTags.begin(), kNamedTags.end(), word,
                       [](const NamedTag& tag, std::string_view name) { return tag.name < name; });
  if (found == kNamedTags.end() || found->name != word) return std::nullopt;
  return found->tag;
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
