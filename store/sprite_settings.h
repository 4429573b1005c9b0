// The main window's export options and their keys in the settings group
// "Settings": reading them all at start-up, and writing one user action at a
// time. Every function selects the group "Settings" first.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "sheet/sprite_options.h"
#include "store/settings_store.h"

namespace oz {

inline constexpr std::string_view kSettingsGroup = "Settings";

// The layouts of "Layout", in the order of the window's list: the strip or
// grid the main window chooses, and the packed layout.
inline constexpr std::array<std::string_view, 2> kLayoutNames{"grid", "packed"};

// The largest sheet sizes the window offers, the ones mobile targets ask for;
// the last, the size limit, is the default.
inline constexpr std::array<int32_t, 4> kLargestSheetSizes{1024, 2048, 4096, 8192};
static_assert(kLargestSheetSizes.back() == kSheetSizeLimit);

// The stored options, defaults for missing keys. A flag is set only by the
// value 1 ("Strip" = yes chooses "Sheet"; no "Pink" chooses black); a depth
// outside 0..5 reads as 0; "Remove Alpha" is read only when the depth is 1;
// the sprite number is clamped to 0..kMaxSpriteNumber. "Premultiplied Alpha"
// and "Transparent" are read at every depth: an old file without them reads
// as straight alpha on the black or pink background. "Spacing", "Border" and
// "Extrude" are clamped to their ranges; missing, they and the two flags of
// the cells ("Alpha Bleeding", "Identical Frames Once") are 0. "Quantiser" is
// read at every depth; missing or not one of kQuantiserNames, it is the
// network. The packed layout's keys read as the grid and its defaults when
// missing: "Layout" not one of kLayoutNames is the grid, "Trim Threshold"
// outside 0..kMaxTrimThreshold is 0, "Largest Sheet Size" not one of
// kLargestSheetSizes is the size limit. "Animations" not one of
// kAnimationSourceNames is none; "Frame Rate" is clamped to 0..kMaxFrameRate,
// 0 (or missing) being none chosen.
SpriteOptions readSpriteSettings(SettingsStore& store);

// One function per user action, writing exactly the keys that action stores.
void writeStripChosen(SettingsStore& store);  // "Strip" = 1, then "Sheet" = 0
void writeSheetChosen(SettingsStore& store);  // "Sheet" = 1, then "Strip" = 0
void writePinkChosen(SettingsStore& store);   // "Pink" = 1, then "Black" = 0
void writeBlackChosen(SettingsStore& store);  // "Black" = 1, then "Pink" = 0
// "Columns" is stored only when the main window closes.
void writeColumns(SettingsStore& store, std::string_view columns);
void writeColorDepth(SettingsStore& store, int depth);
void writeDithering(SettingsStore& store, bool ticked);
void writeRemoveAlpha(SettingsStore& store, bool ticked);
void writeRetina(SettingsStore& store, bool ticked);
void writePowerOf2(SettingsStore& store, bool ticked);
void writeSpriteNumber(SettingsStore& store, int number);
// The "Sheet Options..." window's choices.
void writePremultipliedAlpha(SettingsStore& store, bool ticked);
void writeTransparent(SettingsStore& store, bool ticked);
void writeAlphaBleeding(SettingsStore& store, bool ticked);
void writeIdenticalFramesOnce(SettingsStore& store, bool ticked);
void writeSpacing(SettingsStore& store, int pixels);
void writeBorder(SettingsStore& store, int pixels);
void writeExtrude(SettingsStore& store, int pixels);
void writeQuantiser(SettingsStore& store, PaletteQuantiser quantiser);
void writePackedChosen(SettingsStore& store, bool packed);  // "Layout" = "packed" or "grid"
void writeTrim(SettingsStore& store, bool ticked);
void writeTrimThreshold(SettingsStore& store, int alpha);
void writeRotation(SettingsStore& store, bool ticked);
void writeSeveralSheets(SettingsStore& store, bool ticked);
void writeSquareSheets(SettingsStore& store, bool ticked);
void writeLargestSheetSize(SettingsStore& store, int pixels);
void writeAnimations(SettingsStore& store, AnimationSource source);
void writeFrameRate(SettingsStore& store, int framesPerSecond);  // 0: none chosen

}  // namespace oz
