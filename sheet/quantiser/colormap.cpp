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

// Sorts map.colours[0, map.netsize) by green (a later entry moves up only when
// its green is strictly smaller), calling swapped(i, s) after entries i and s
// trade places, and fills netindex.
template <class OnSwap>
void sortAndIndex(Colormap& map, OnSwap swapped) {
  const int netsize = map.netsize;
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
      std::swap(map.colours[i], map.colours[smallpos]);
      swapped(i, smallpos);
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
}

}  // namespace

Colormap finishNetwork(Network& net, const GammaTable& gt) {
  Colormap map;
  map.netsize = net.netsize;
  for (int i = 0; i < net.netsize; ++i) map.colours[i] = colourOf(net, i, gt);
  sortAndIndex(map, [&net](int a, int b) { swapNeurons(net, a, b); });
  return map;
}

Colormap sortedColormap(std::span<const GammaColour> colours, std::array<uint8_t, 256>& order) {
  Colormap map;
  map.netsize = static_cast<int>(colours.size());
  for (int i = 0; i < map.netsize; ++i) {
    map.colours[i] = colours[i];
    order[i] = static_cast<uint8_t>(i);
  }
  sortAndIndex(map, [&order](int a, int b) { std::swap(order[a], order[b]); });
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
