#include "sheet/quantiser/palette_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace oz {
namespace {

// A colormap given directly in gamma space; every green level starts at `start`.
Colormap colormapOf(const std::vector<GammaColour>& colours, int start) {
  Colormap map;
  map.netsize = static_cast<int>(colours.size());
  std::copy(colours.begin(), colours.end(), map.colours.begin());
  map.netindex.fill(start);
  return map;
}

// Gamma-space levels that are gt of some byte: gt[0] = 0, gt[1] = 12, gt[2] = 18,
// gt[16] = 55, gt[47] = 100, gt[128] = 175, gt[255] = 255.
class SearchTest : public ::testing::Test {
 protected:
  GammaTable gt_ = makeGammaTable();
};

TEST_F(SearchTest, TransparentQueriesCompareAlphaOnly) {
  // Alpha 0 weighs colour 0; the entry nearest in alpha wins whatever its colour.
  const Colormap map =
      colormapOf({{0, 0, 0, 255}, {255, 12, 255, 10}, {0, 175, 0, 0}, {255, 255, 255, 255}}, 0);
  EXPECT_EQ(searchColormap(map, gt_, 0, 0, 0, 0), 2);
  EXPECT_EQ(searchColormap(map, gt_, 255, 255, 255, 0), 2);
  EXPECT_EQ(searchColormap(map, gt_, 255, 255, 255, 255), 3);
}

// A network as training might leave it, with some translucent neurons.
Network randomNetwork(int netsize, std::mt19937& random) {
  std::uniform_real_distribution<double> component(-5.0, 260.0);
  Network net = initialNetwork(netsize, makeGammaTable());
  for (int i = 0; i < netsize; ++i) {
    for (auto* colour : {&net.red, &net.green, &net.blue}) (*colour)[i] = component(random);
    if (random() % 3 == 0) net.alpha[i] = component(random);
  }
  return net;
}

// The cache answers exactly what the search answers, also when queries collide
// in its table, when colours repeat or lie close together, for opaque queries,
// which it searches in integers, and for translucent ones, which it does not keep.
TEST_F(SearchTest, CachedSearchAgreesWithThePlainSearch) {
  std::mt19937 random(3);
  for (int netsize : {16, 256, 16, 256}) {
    Network net = randomNetwork(netsize, random);
    const Colormap map = finishNetwork(net, gt_);
    CachedSearch cached(map, gt_);
    std::vector<std::array<int, 4>> queries;
    for (int n = 0; n < 100000; ++n) {
      std::array<int, 4> q{};
      if (n % 4 == 0 && !queries.empty()) {
        q = queries[random() % queries.size()];
      } else if (n % 4 == 1 && !queries.empty()) {
        // A dithered neighbour: a few steps from an earlier colour, so that it
        // falls into the same block of the table.
        q = queries[random() % queries.size()];
        for (int& c : q) c = std::clamp(c + static_cast<int>(random() % 21) - 10, 0, 255);
        q[3] = 255;
        queries.push_back(q);
      } else {
        for (int& c : q) c = static_cast<int>(random() % 256);
        if (n % 2) q[3] = 255;
        queries.push_back(q);
      }
      ASSERT_EQ(cached(q[0], q[1], q[2], q[3]), searchColormap(map, gt_, q[0], q[1], q[2], q[3]))
          << q[0] << "," << q[1] << "," << q[2] << "," << q[3];
    }
  }
}

}  // namespace
}  // namespace oz
