// The colour depth choices, in the order of the "Color Depth" list: the index
// the settings file stores and the sheet build takes. Everything the window,
// the command line, the settings file and the sheet writer need to know about
// a depth is in its row of kDepths.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace oz {

enum ColorDepth : int32_t {
  kDepth32 = 0,
  kDepth24 = 1,
  kDepth8 = 2,
  kDepth4 = 3,
  kDepth1 = 4,
  kDepthAlpha = 5,
};

// How a depth's sheet is stored.
enum class SheetForm {
  Rgba,      // 32 bits a pixel
  Rgb,       // 24 bits a pixel, laid over white
  Palette8,  // 256 colours
  Palette4,  // 16 colours
  Palette1,  // black and white
};

// Where the background colour replaces nearly transparent pixels.
enum class BackgroundUse {
  Never,            // every pixel keeps its colour
  Always,           // the palette depths, which have no alpha
  WithRemoveAlpha,  // 24-bit, when "Remove Alpha" is ticked
};

struct DepthInfo {
  std::string_view label;    // the "Color Depth" list's entry
  std::string_view cliWord;  // the command line's --depth value
  SheetForm form;            // how the written sheet stores its pixels
  bool ditheringAllowed;     // "Dithering" applies
  bool transparencyAllowed;  // the "Transparent" background applies: a palette with alpha
  BackgroundUse background;
};

inline constexpr std::array<DepthInfo, 6> kDepths = {{
    {"32-bit", "32", SheetForm::Rgba, false, false, BackgroundUse::Never},
    {"24-bit", "24", SheetForm::Rgb, false, false, BackgroundUse::WithRemoveAlpha},
    {"8-bit", "8", SheetForm::Palette8, true, true, BackgroundUse::Always},
    {"4-bit", "4", SheetForm::Palette4, true, true, BackgroundUse::Always},
    // Two colours leave no room for transparency: 1-bit stays opaque.
    {"1-bit", "1", SheetForm::Palette1, true, false, BackgroundUse::Always},
    // The alpha channel written as grey in an opaque 24-bit sheet.
    {"Alpha", "alpha", SheetForm::Rgb, false, false, BackgroundUse::Never},
}};

constexpr bool isColorDepth(int64_t depth) {
  return depth >= 0 && depth < static_cast<int64_t>(kDepths.size());
}

// The row of `depth`; a value outside the list counts as 32-bit.
constexpr const DepthInfo& depthInfo(int64_t depth) {
  return kDepths[isColorDepth(depth) ? static_cast<size_t>(depth) : size_t{kDepth32}];
}

// Whether the sheet at `depth` is a palette that keeps alpha: the "Transparent"
// background chosen where it applies. Elsewhere the choice is ignored.
constexpr bool keepsTransparency(int64_t depth, bool transparent) {
  return transparent && depthInfo(depth).transparencyAllowed;
}

// Whether the background colour replaces nearly transparent pixels at `depth`
// (unless the sheet keeps transparency).
constexpr bool usesBackground(int64_t depth, bool removeAlpha) {
  const BackgroundUse use = depthInfo(depth).background;
  return use == BackgroundUse::Always || (use == BackgroundUse::WithRemoveAlpha && removeAlpha);
}

// Whether a sheet of `depth` can keep its transparency in the palette
// ("Transparent"): 8 and 4 bits. 1-bit has only its two colours.
constexpr bool transparentAllowed(int64_t depth) { return depthInfo(depth).transparencyAllowed; }

}  // namespace oz
