// The export options: what the main window's controls choose, what the
// settings file keeps and what the command line's options set. One type with
// its defaults and limits, so that the three always agree.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "sheet/color_depth.h"
#include "sheet/layout/sheet_size.h"

namespace oz {

inline constexpr int32_t kMaxSpriteNumber = 9999;
inline constexpr int32_t kMaxSpacing = 64;
inline constexpr int32_t kMaxBorder = 64;
inline constexpr int32_t kMaxExtrude = 16;
inline constexpr int32_t kMaxTrimThreshold = 254;  // 255 would cut every pixel away
inline constexpr int32_t kMaxFrameRate = 60;       // what the Sheet Preview plays at most

// Which quantiser makes the 8- and 4-bit palettes.
enum class PaletteQuantiser : int32_t {
  Network,  // the self-organising network: the palettes sheets have always had
  KMeans,   // the network's palette refined by k-means: closer colours, a little slower
};

// The quantisers' names on the command line and in the settings file, in the
// enum's order.
inline constexpr std::array<std::string_view, 2> kQuantiserNames{"network", "kmeans"};

// Where a sheet's animations come from.
enum class AnimationSource : int32_t {
  None,      // one animation of every frame, named after the sheet
  Folders,   // each subfolder of the image folder, and the folder's own frames
  Prefixes,  // frames grouped by their names less a trailing number
};

// The sources' names on the command line and in the settings file, in the
// enum's order.
inline constexpr std::array<std::string_view, 3> kAnimationSourceNames{"none", "folders",
                                                                       "prefixes"};

// The frame rate the script gives when none is chosen: with animations, the
// rate the Sheet Preview starts at; without, the rate the one-animation
// templates have always written.
inline constexpr int32_t kAnimationsFrameRate = 12;
inline constexpr int32_t kSheetAnimationFrameRate = 10;

struct SpriteOptions {
  bool strip = false;             // one row; otherwise a grid of `columns` frames per row
  std::string columns = "4";      // as typed: leading blanks, optional sign, digits (0 if none)
  int32_t colorDepth = kDepth32;  // a ColorDepth; any other value counts as 32-bit
  bool dithering = false;         // palette depths only
  PaletteQuantiser quantiser = PaletteQuantiser::Network;  // 8- and 4-bit palettes
  bool removeAlpha = false;         // 24-bit only: nearly transparent pixels become the background
  bool pink = false;                // background RGB 255 0 255 instead of black
  bool transparent = false;         // 8- and 4-bit: keep alpha in the palette ("Transparent")
  bool premultipliedAlpha = false;  // colour stored multiplied by alpha; straight otherwise
  bool powerOf2 = false;            // pad each sheet dimension up to a power of two
  bool retina = false;              // the script's positions and sizes halved
  int32_t spriteNumber = 0;         // the script's sheet number, 0..kMaxSpriteNumber
  int32_t spacing = 0;              // transparent pixels between cells, 0..kMaxSpacing
  int32_t border = 0;               // transparent pixels around the sheet, 0..kMaxBorder
  int32_t extrude = 0;              // each frame's edges repeated outward, 0..kMaxExtrude
  bool bleed = false;               // straight alpha only: invisible pixels take visible colours
  bool dedupe = false;              // a frame equal to an earlier one shares its cell
  // The packed layout: frames of any size packed tightly, in place of the
  // strip or grid (`strip` and `columns` then do nothing).
  bool packed = false;
  int32_t maxSize = static_cast<int32_t>(kSheetSizeLimit);  // packed: largest side, 1..8192
  bool square = false;                                      // packed: sheets as wide as high
  bool trim = false;          // packed: each frame cut to its pixels of alpha above the threshold
  int32_t trimThreshold = 0;  // 0..kMaxTrimThreshold
  bool rotate = false;        // packed: a frame may be stored turned by 90 degrees
  bool multipack = false;     // packed: several sheets when the frames do not fit one
  AnimationSource animations = AnimationSource::None;
  int32_t frameRate = 0;  // frames per second, 1..kMaxFrameRate; 0: none chosen (frameRateOf)

  bool operator==(const SpriteOptions&) const = default;
};

// The frames per second the script gives: the chosen rate, or the default
// for the sheet's animations.
constexpr int32_t frameRateOf(const SpriteOptions& options) {
  if (options.frameRate > 0) return options.frameRate;
  return options.animations == AnimationSource::None ? kSheetAnimationFrameRate
                                                     : kAnimationsFrameRate;
}

}  // namespace oz
