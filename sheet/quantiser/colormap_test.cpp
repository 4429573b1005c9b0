#include "sheet/quantiser/colormap.h"

#include <gtest/gtest.h>

#include <vector>

namespace oz {
namespace {

// Network values that come back through the colormap unchanged (gt of the
// colour mapped out of gamma space is the value itself): 0, 12, 22, 35, 55,
// 103 and 255 are such values.
Network networkOf(const std::vector<GammaColour>& neurons) {
  Network net = initialNetwork(static_cast<int>(neurons.size()), makeGammaTable());
  for (size_t i = 0; i < neurons.size(); ++i) {
    net.red[i] = neurons[i].red;
    net.green[i] = neurons[i].green;
    net.blue[i] = neurons[i].blue;
    net.alpha[i] = neurons[i].alpha;
  }
  return net;
}

void expectNetindex(const Colormap& map, const std::vector<std::pair<int, int>>& firstAndValue) {
  for (size_t n = 0; n < firstAndValue.size(); ++n) {
    const int end = n + 1 < firstAndValue.size() ? firstAndValue[n + 1].first : 256;
    for (int g = firstAndValue[n].first; g < end; ++g) {
      EXPECT_EQ(map.netindex[g], firstAndValue[n].second) << "netindex[" << g << "]";
    }
  }
}

TEST(FinishNetwork, SortsByGreenMovingALaterNeuronOnlyWhenStrictlySmaller) {
  const GammaTable gt = makeGammaTable();
  Network net =
      networkOf({{12, 103, 0, 255}, {22, 103, 0, 255}, {0, 35, 0, 200}, {0, 255, 0, 255}});
  const Colormap map = finishNetwork(net, gt);
  ASSERT_EQ(map.netsize, 4);
  // 35 swaps with the first 103, which lands behind the other 103.
  EXPECT_EQ(map.colours[0], (GammaColour{0, 35, 0, 200}));
  EXPECT_EQ(map.colours[1], (GammaColour{22, 103, 0, 255}));
  EXPECT_EQ(map.colours[2], (GammaColour{12, 103, 0, 255}));
  EXPECT_EQ(map.colours[3], (GammaColour{0, 255, 0, 255}));
  // The network itself is reordered with its colormap.
  EXPECT_EQ(net.green, (std::vector<double>{35, 103, 103, 255}));
  EXPECT_EQ(net.red, (std::vector<double>{0, 22, 12, 0}));

  // Each green level present points midway into its run; the levels between
  // point at the first entry above them.
  expectNetindex(map, {{0, 0}, {35, 0}, {36, 1}, {103, 2}, {104, 3}});
}

TEST(FinishNetwork, OneColourLeavesTheOrderAndIndexesItsMiddle) {
  const GammaTable gt = makeGammaTable();
  Network net = networkOf({{12, 55, 22, 255}, {12, 55, 22, 255}, {12, 55, 22, 255}});
  const Colormap map = finishNetwork(net, gt);
  expectNetindex(map, {{0, 0}, {55, 1}, {56, 2}});
}

TEST(FinishNetwork, GreensStartingAtZeroShareTheFirstRun) {
  const GammaTable gt = makeGammaTable();
  Network net = networkOf({{0, 0, 0, 0}, {0, 35, 0, 255}, {0, 0, 0, 16}, {0, 55, 0, 255}});
  const Colormap map = finishNetwork(net, gt);
  EXPECT_EQ(map.colours[1].alpha, 16);
  EXPECT_EQ(map.colours[2].green, 35);
  expectNetindex(map, {{0, 1}, {1, 2}, {35, 2}, {36, 3}});
}

TEST(Palette, MapsTheSortedNeuronsOutOfGammaSpace) {
  const GammaTable gt = makeGammaTable();
  Network net = networkOf({{255, 103, 12, 255}, {0, 35, 0, 240}, {-3, 300, 22, -1}});
  finishNetwork(net, gt);
  const auto palette = paletteOf(net);
  EXPECT_EQ(palette[0], (PaletteColour{0, 7, 0, 240}));
  EXPECT_EQ(palette[1], (PaletteColour{255, 50, 1, 255}));
  EXPECT_EQ(palette[2], (PaletteColour{0, 255, 3, 0}));  // out of range clamps
  EXPECT_EQ(palette[3], (PaletteColour{}));              // beyond netsize: zero
}

}  // namespace
}  // namespace oz
