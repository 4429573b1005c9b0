#include "sheet/quantiser/colormap.h"

#include <utility>

namespace oz {
namespace {

GammaColour colourOf(const Network& net, int i, const GammaTable& gt) {
  return GammaColour{static_cast<int>(gt[unGammaColour(net.red[i])]),
                     static_cast<int>(gt[unGammaColour(net.green[i])]),
                     static_cast<int>(gt[unGammaColour(net.blue[i])]), unGammaAlpha(net.alpha[i])};
}

void swapNeurons(Network& net, int a, int b) {
  std::swap(net.alpha[a], net.alpha[b]);
  std::swap(net.blue[a], net.blue[b]);
  std::swap(net.green[a], net.green[b]);
  std::swap(net.red[a], net.red[b]);
}

}  // namespace

Colormap finishNetwork(Network& net, const GammaTable& gt) {
  Colormap map;
  const int netsize = net.netsize;
  map.netsize = netsize;
  for (int i = 0; i < netsize; ++i) map.colours[i] = colourOf(net, i, gt);

  int previouscol = 0;
  int startpos = 0;
  for (int i = 0; i < netsize; ++i) {
    int smallpos = i;
    int smallval = map.colours[i].green;
    for (int j = i + 1; j < netsize; ++j) {
      if (map.colours[j].green < smallval) {
        smallpos = j;
        smallval = map.colours[j].green;
      }
    }
    if (smallpos != i) {
      swapNeurons(net, i, smallpos);
      std::swap(map.colours[i], map.colours[smallpos]);
    }
    if (smallval != previouscol) {
      map.netindex[previouscol] = (startpos + i) >> 1;
      for (int g = previouscol + 1; g < smallval; ++g) map.netindex[g] = i;
      previouscol = smallval;
      startpos = i;
    }
  }
  map.netindex[previouscol] = (startpos + netsize - 1) >> 1;
  for (int g = previouscol + 1; g < 256; ++g) map.netindex[g] = netsize - 1;
  return map;
}

std::array<PaletteColour, 256> paletteOf(const Network& net) {
  std::array<PaletteColour, 256> palette{};
  for (int i = 0; i < net.netsize; ++i) {
    palette[i] = PaletteColour{static_cast<uint8_t>(unGammaColour(net.red[i])),
                               static_cast<uint8_t>(unGammaColour(net.green[i])),
                               static_cast<uint8_t>(unGammaColour(net.blue[i])),
                               static_cast<uint8_t>(unGammaAlpha(net.alpha[i]))};
  }
  return palette;
}

}  // namespace oz
