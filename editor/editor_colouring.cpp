#include "editor/editor_colouring.h"

namespace oz {
namespace {

Colour toColour(const HighlightColor& c) { return Colour{c.red, c.green, c.blue, c.alpha}; }

}  // namespace

EditorColouring editorColouring(const Highlighting& highlighting) {
  EditorColouring colouring;
  colouring.text = toColour(kDefaultTextColor);
  colouring.foreground.reserve(highlighting.spans.size());
  for (const ColorSpan& span : highlighting.spans) {
    colouring.foreground.push_back({span.start, span.length, toColour(colorOf(span.kind))});
  }
  colouring.background.reserve(highlighting.shades.size());
  for (const ShadeRange& shade : highlighting.shades) {
    colouring.background.push_back({shade.start, shade.length, toColour(kLoopShade)});
  }
  return colouring;
}

}  // namespace oz
