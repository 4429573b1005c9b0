// Test support: images for the reduction tests, and what a reduction gives.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "sheet/quantiser/reduction.h"

namespace oz::testing {

// Every byte random.
std::vector<uint8_t> noiseImage(int32_t width, int32_t height, uint32_t seed);

// What sprites look like to the quantiser: a white background with rectangles of
// a dozen flat colours and a few shaded ones, so colours repeat heavily.
std::vector<uint8_t> spriteImage(int32_t width, int32_t height, uint32_t seed);

// The same kind of picture with transparency, 4 bytes per pixel: a clear
// background (alpha 0, its colour bytes left as noise), opaque rectangles
// with a soft edge of falling alpha around them, and a few translucent ones.
std::vector<uint8_t> alphaSpriteImage(int32_t width, int32_t height, uint32_t seed);

// Everything a reduction gives for an image: its palette and its packed rows.
// Empty when `reduction` is nullptr.
struct Reduced {
  std::vector<PaletteColour> palette;
  std::vector<std::vector<uint8_t>> rows;
  bool operator==(const Reduced&) const = default;
};

Reduced drain(std::unique_ptr<Reduction> reduction, int32_t height);

}  // namespace oz::testing
