// Tag highlighting of a script text: which `ov.` words take which colour and
// which loop blocks are shaded. A pure computation; the window applies the
// result through the toolkit.
//
// Positions and lengths are UTF-16 code units of the text, the unit in which
// the editor's text storage addresses ranges.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "toolkit/toolkit.h"

namespace oz {

enum class HighlightKind : uint8_t {
  DefaultText,  // all text, and `ov.` words that name no known tag
  ImageTag,     // ov.ImageX, ... ov.ImageCount and the exact words of a frame
  SheetTag,     // ov.SheetWidth, ... ov.SheetNumber and the exact words of the sheet
  ControlTag,   // ov.Extension, ov.Repeat, ov.Until, ov.Comma, the animation loop's markers
};

inline constexpr Colour kDefaultTextColor{0.75, 0.375, 0.0, 1.0};
inline constexpr Colour kImageTagColor{1.0, 0.75, 0.5, 1.0};
inline constexpr Colour kSheetTagColor{0.95, 0.95, 0.95, 1.0};
inline constexpr Colour kControlTagColor{0.9, 0.125, 0.0, 1.0};
// Background of a loop block, drawn over the editor's own background.
inline constexpr Colour kLoopShade{0.0, 0.0, 0.0, 0.4};

constexpr Colour colourOf(HighlightKind kind) {
  switch (kind) {
    case HighlightKind::ImageTag:
      return kImageTagColor;
    case HighlightKind::SheetTag:
      return kSheetTagColor;
    case HighlightKind::ControlTag:
      return kControlTagColor;
    case HighlightKind::DefaultText:
      break;
  }
  return kDefaultTextColor;
}

// A known tag word and the colour family it takes.
struct TagSpan {
  int start;
  int length;
  HighlightKind kind;
  friend bool operator==(const TagSpan&, const TagSpan&) = default;
};

struct ShadeRange {
  int start;
  int length;
  friend bool operator==(const ShadeRange&, const ShadeRange&) = default;
};

// Everything one recolouring applies: the whole text first takes the default
// colour and loses its shading, then each span takes its colour and each range
// the loop shade. Only words of a known tag get a span (an unknown `ov.` word
// keeps the default colour). Spans are in text order and do not overlap;
// shaded ranges likewise, because a block that is shaded again (a second
// ov.Until after one ov.Repeat) is reported once with its longer extent.
struct Highlighting {
  std::vector<TagSpan> spans;
  std::vector<ShadeRange> shades;
};

// Computes the highlighting of `utf8Text` into `out`, reusing its buffers so
// that recolouring on every keystroke does not allocate once warm.
void computeHighlighting(std::string_view utf8Text, Highlighting* out);

Highlighting computeHighlighting(std::string_view utf8Text);

// The highlighting as the colours the toolkit applies.
EditorColouring editorColouring(const Highlighting& highlighting);

}  // namespace oz
