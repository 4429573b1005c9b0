// Finishing the trained network: its colours in gamma space sorted by green,
// the index that tells the search where to start, and the palette.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "sheet/quantiser/network.h"
#include "sheet/quantiser/reduction.h"

namespace oz {

// A neuron after learning, as whole numbers: colour in gamma space, alpha linear.
struct GammaColour {
  int red = 0;
  int green = 0;
  int blue = 0;
  int alpha = 0;
  bool operator==(const GammaColour&) const = default;
};

struct Colormap {
  int netsize = 0;
  std::array<GammaColour, 256> colours{};  // sorted by non-decreasing green
  std::array<int, 256> netindex{};         // by green level: where the search starts
};

// Sorts the neurons of `net` in place by colormap green (a later neuron moves up
// only when its green is strictly smaller) and returns the sorted colormap with
// its netindex. Bias and freq are left where they were: learning is over.
Colormap finishNetwork(Network& net, const GammaTable& gt);

// A colormap of `colours` (at most 256) sorted and indexed as finishNetwork
// sorts a network's; order[k] is the position in `colours` of sorted entry k.
Colormap sortedColormap(std::span<const GammaColour> colours, std::array<uint8_t, 256>& order);

// The palette entry of each neuron, in the network's (sorted) order: colours and
// alpha mapped back out of the network.
std::array<PaletteColour, 256> paletteOf(const Network& net);

}  // namespace oz
