// The network works on colours in a gamma of 1.8; these are the mappings into
// that space (the gamma table) and back out of it (for colours and for alpha).
#pragma once

#include <array>

namespace oz {

inline constexpr double kGamma = 1.8;

// gt[v] = 255 x (v / 255)^(1 / 1.8), rounded to the nearest integer, halves away
// from zero. Integral values kept as doubles because the network adds them to
// doubles everywhere.
using GammaTable = std::array<double, 256>;

GammaTable makeGammaTable();

// A neuron's colour component back to a byte: floor((v / 255)^1.8 x 256), at
// most 255; 0 for negative values.
int unGammaColour(double v);

// A neuron's alpha back to a byte (alpha is never gamma-mapped): floor(v / 255 x 256),
// at most 255; 0 for negative values.
int unGammaAlpha(double v);

}  // namespace oz
