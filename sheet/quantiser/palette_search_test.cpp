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

// The distance the search minimises, entry by entry.
double distance(const GammaColour& e, const GammaTable& gt, int red, int green, int blue,
                int alpha) {
  const double t = 1 - alpha / 255.0;
  const double w = 1 - t * t;
  const auto sq = [](int v) { return static_cast<double>(v * v); };
  const int r = alpha == 0 ? 0 : static_cast<int>(gt[red]);
  const int g = alpha == 0 ? 0 : static_cast<int>(gt[green]);
  const int b = alpha == 0 ? 0 : static_cast<int>(gt[blue]);
  return (sq(e.green - g) + sq(e.red - r) + sq(e.blue - b)) * w + sq(e.alpha - alpha);
}

// Searching each side to its own end finds an entry no other entry beats;
// stopping both sides together does not always (the quicker search is kept for
// the sheets whose bytes are fixed).
TEST_F(SearchTest, EachSideSearchFindsTheNearestEntry) {
  std::mt19937 random(8);
  int missedTogether = 0;
  for (int netsize : {16, 256}) {
    Network net = randomNetwork(netsize, random);
    const Colormap map = finishNetwork(net, gt_);
    CachedSearch cached(map, gt_, SearchStop::EachSide);
    for (int n = 0; n < 20000; ++n) {
      const int r = static_cast<int>(random() % 256);
      const int g = static_cast<int>(random() % 256);
      const int b = static_cast<int>(random() % 256);
      const int a = n % 2 ? 255 : static_cast<int>(random() % 256);
      double nearest = 1e300;
      for (int k = 0; k < map.netsize; ++k) {
        nearest = std::min(nearest, distance(map.colours[k], gt_, r, g, b, a));
      }
      const int found = cached(r, g, b, a);
      ASSERT_EQ(found, searchColormap(map, gt_, r, g, b, a, SearchStop::EachSide));
      // The sums differ from the search's in rounding only.
      ASSERT_NEAR(distance(map.colours[found], gt_, r, g, b, a), nearest, 1e-6 * (1 + nearest))
          << r << "," << g << "," << b << "," << a;
      const int quick = searchColormap(map, gt_, r, g, b, a);
      missedTogether += distance(map.colours[quick], gt_, r, g, b, a) > nearest + 1e-6 ? 1 : 0;
    }
  }
  EXPECT_GT(missedTogether, 0);
}

// The walk by alpha gives the walk by green's answer for every query: the same
// nearest entry and, among entries at equal distance (here twins, and entries
// that differ only where the query's weight hides it), the one that walk meets
// first.
TEST_F(SearchTest, EachSideSearchAnswersAsTheWalkByGreen) {
  std::mt19937 random(17);
  for (int netsize : {16, 256, 40}) {
    Network net = randomNetwork(netsize, random);
    for (int i = 1; i < netsize; i += 3) {
      net.red[i] = net.red[i - 1];
      net.green[i] = net.green[i - 1];
      net.blue[i] = net.blue[i - 1];
      net.alpha[i] = net.alpha[i - 1];
    }
    const Colormap map = finishNetwork(net, gt_);
    const EachSideSearch search(map, gt_);
    for (int n = 0; n < 40000; ++n) {
      const int r = static_cast<int>(random() % 256);
      const int g = static_cast<int>(random() % 256);
      const int b = static_cast<int>(random() % 256);
      const int a = static_cast<int>(random() % 256);
      ASSERT_EQ(search(r, g, b, a), searchColormap(map, gt_, r, g, b, a, SearchStop::EachSide))
          << r << "," << g << "," << b << "," << a;
    }
  }
}

}  // namespace
}  // namespace oz
