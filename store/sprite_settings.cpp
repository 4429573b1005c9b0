#include "store/sprite_settings.h"

#include <algorithm>
#include <iterator>

namespace oz {
namespace {

bool readFlag(const SettingsStore& store, std::string_view key) {
  return store.readInteger(key, 0) == 1;
}

void writeFlag(SettingsStore& store, std::string_view key, bool value) {
  store.selectGroup(kSettingsGroup);
  store.writeInteger(key, value ? 1 : 0);
}

// Another group may be selected (the Script Editor keeps its own), so every
// write selects "Settings" first.
void writeNumber(SettingsStore& store, std::string_view key, int number) {
  store.selectGroup(kSettingsGroup);
  store.writeInteger(key, number);
}

// The chosen option of a pair goes first, as the file has always shown it.
void writeChoice(SettingsStore& store, std::string_view chosen, std::string_view other) {
  store.selectGroup(kSettingsGroup);
  store.writeInteger(chosen, 1);
  store.writeInteger(other, 0);
}

// A choice stored by name: the position of the name in `names`, or the
// first choice when the key is missing or names none of them.
template <typename Choice, size_t count>
Choice readNamed(const SettingsStore& store, std::string_view key,
                 const std::array<std::string_view, count>& names) {
  const std::string stored = store.readText(key, names[0]);
  const auto named = std::find(names.begin(), names.end(), stored);
  return named == names.end() ? Choice{} : static_cast<Choice>(std::distance(names.begin(), named));
}

template <typename Choice, size_t count>
void writeNamed(SettingsStore& store, std::string_view key,
                const std::array<std::string_view, count>& names, Choice choice) {
  store.selectGroup(kSettingsGroup);
  store.writeText(key, names[static_cast<size_t>(choice)]);
}

}  // namespace

SpriteOptions readSpriteSettings(SettingsStore& store) {
  store.selectGroup(kSettingsGroup);
  SpriteOptions settings;
  settings.strip = readFlag(store, "Strip");
  settings.columns = store.readText("Columns", settings.columns);
  const std::int64_t depth = store.readInteger("Color Depth", kDepth32);
  if (isColorDepth(depth)) settings.colorDepth = static_cast<int32_t>(depth);
  // "Remove Alpha" only applies where it decides the background; under any
  // other depth a stored tick is not shown.
  settings.removeAlpha = depthInfo(depth).background == BackgroundUse::WithRemoveAlpha &&
                         readFlag(store, "Remove Alpha");
  settings.dithering = readFlag(store, "Dithering");
  settings.pink = readFlag(store, "Pink");
  settings.retina = readFlag(store, "Retina");
  settings.powerOf2 = readFlag(store, "Power of 2");
  settings.transparent = readFlag(store, "Transparent");
  settings.premultipliedAlpha = readFlag(store, "Premultiplied Alpha");
  settings.bleed = readFlag(store, "Alpha Bleeding");
  settings.dedupe = readFlag(store, "Identical Frames Once");
  const auto readPixels = [&](std::string_view key, int32_t largest) {
    return static_cast<int32_t>(std::clamp<std::int64_t>(store.readInteger(key, 0), 0, largest));
  };
  settings.spacing = readPixels("Spacing", kMaxSpacing);
  settings.border = readPixels("Border", kMaxBorder);
  settings.extrude = readPixels("Extrude", kMaxExtrude);
  settings.quantiser = readNamed<PaletteQuantiser>(store, "Quantiser", kQuantiserNames);
  settings.packed = readNamed<size_t>(store, "Layout", kLayoutNames) == 1;
  settings.trim = readFlag(store, "Trim Transparent Edges");
  const std::int64_t threshold = store.readInteger("Trim Threshold", 0);
  if (threshold >= 0 && threshold <= kMaxTrimThreshold) {
    settings.trimThreshold = static_cast<int32_t>(threshold);
  }
  settings.rotate = readFlag(store, "Allow Rotation");
  settings.multipack = readFlag(store, "Several Sheets When Needed");
  settings.square = readFlag(store, "Square Sheets");
  const std::int64_t largest = store.readInteger("Largest Sheet Size", kSheetSizeLimit);
  if (std::ranges::find(kLargestSheetSizes, largest) != kLargestSheetSizes.end()) {
    settings.maxSize = static_cast<int32_t>(largest);
  }
  settings.animations = readNamed<AnimationSource>(store, "Animations", kAnimationSourceNames);
  settings.frameRate = readPixels("Frame Rate", kMaxFrameRate);
  settings.spriteNumber = static_cast<int32_t>(
      std::clamp<std::int64_t>(store.readInteger("Sprite Number", 0), 0, kMaxSpriteNumber));
  return settings;
}

void writeStripChosen(SettingsStore& store) { writeChoice(store, "Strip", "Sheet"); }
void writeSheetChosen(SettingsStore& store) { writeChoice(store, "Sheet", "Strip"); }
void writePinkChosen(SettingsStore& store) { writeChoice(store, "Pink", "Black"); }
void writeBlackChosen(SettingsStore& store) { writeChoice(store, "Black", "Pink"); }

void writeColumns(SettingsStore& store, std::string_view columns) {
  store.selectGroup(kSettingsGroup);
  store.writeText("Columns", columns);
}

void writeColorDepth(SettingsStore& store, int depth) {
  store.selectGroup(kSettingsGroup);
  store.writeInteger("Color Depth", depth);
}

void writeDithering(SettingsStore& store, bool ticked) { writeFlag(store, "Dithering", ticked); }
void writeRemoveAlpha(SettingsStore& store, bool ticked) {
  writeFlag(store, "Remove Alpha", ticked);
}
void writeRetina(SettingsStore& store, bool ticked) { writeFlag(store, "Retina", ticked); }
void writePowerOf2(SettingsStore& store, bool ticked) { writeFlag(store, "Power of 2", ticked); }

void writeSpriteNumber(SettingsStore& store, int number) {
  store.selectGroup(kSettingsGroup);
  store.writeInteger("Sprite Number", number);
}

void writePremultipliedAlpha(SettingsStore& store, bool ticked) {
  writeFlag(store, "Premultiplied Alpha", ticked);
}
void writeTransparent(SettingsStore& store, bool ticked) {
  writeFlag(store, "Transparent", ticked);
}
void writeAlphaBleeding(SettingsStore& store, bool ticked) {
  writeFlag(store, "Alpha Bleeding", ticked);
}
void writeIdenticalFramesOnce(SettingsStore& store, bool ticked) {
  writeFlag(store, "Identical Frames Once", ticked);
}
void writeSpacing(SettingsStore& store, int pixels) { writeNumber(store, "Spacing", pixels); }
void writeBorder(SettingsStore& store, int pixels) { writeNumber(store, "Border", pixels); }
void writeExtrude(SettingsStore& store, int pixels) { writeNumber(store, "Extrude", pixels); }

void writeQuantiser(SettingsStore& store, PaletteQuantiser quantiser) {
  writeNamed(store, "Quantiser", kQuantiserNames, quantiser);
}

void writeAnimations(SettingsStore& store, AnimationSource source) {
  writeNamed(store, "Animations", kAnimationSourceNames, source);
}

void writeFrameRate(SettingsStore& store, int framesPerSecond) {
  writeNumber(store, "Frame Rate", framesPerSecond);
}

void writePackedChosen(SettingsStore& store, bool packed) {
  store.selectGroup(kSettingsGroup);
  store.writeText("Layout", kLayoutNames[packed ? 1 : 0]);
}
void writeTrim(SettingsStore& store, bool ticked) {
  writeFlag(store, "Trim Transparent Edges", ticked);
}
void writeTrimThreshold(SettingsStore& store, int alpha) {
  writeNumber(store, "Trim Threshold", alpha);
}
void writeRotation(SettingsStore& store, bool ticked) {
  writeFlag(store, "Allow Rotation", ticked);
}
void writeSeveralSheets(SettingsStore& store, bool ticked) {
  writeFlag(store, "Several Sheets When Needed", ticked);
}
void writeSquareSheets(SettingsStore& store, bool ticked) {
  writeFlag(store, "Square Sheets", ticked);
}
void writeLargestSheetSize(SettingsStore& store, int pixels) {
  writeNumber(store, "Largest Sheet Size", pixels);
}

}  // namespace oz
