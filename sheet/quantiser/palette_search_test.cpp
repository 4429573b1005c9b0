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

// The search over the cell's candidates gives the walk by green's answer for
// every query: the same nearest entry and, among entries at equal distance
// (here twins, and entries that differ only where the query's weight hides
// it), the one that walk meets first. Most queries gather around a few
// colours, as a sprite's do, so that their regions are worked out; the rest
// are spread, so that theirs are not.
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
    EachSideSearch search(map, gt_);
    std::array<int, 4> centre{};
    for (int n = 0; n < 40000; ++n) {
      if (n % 2000 == 0) {
        for (int& c : centre) c = static_cast<int>(random() % 256);
      }
      const auto near = [&](int c) {
        const bool spread = n % 4 == 0;
        const int v = spread ? static_cast<int>(random() % 256)
                             : centre[c] + static_cast<int>(random() % 41) - 20;
        return std::clamp(v, 0, 255);
      };
      const int r = near(0);
      const int g = near(1);
      const int b = near(2);
      const int a = near(3);
      ASSERT_EQ(search(r, g, b, a), searchColormap(map, gt_, r, g, b, a, SearchStop::EachSide))
          << r << "," << g << "," << b << "," << a;
    }
  }
}

// Bytes whose gamma level in 96..143 lies at the edge of a cell of 16 levels,
// or one level from it, where a cell's bounds are tightest.
std::vector<int> bytesAtCellEdges(const GammaTable& gt) {
  std::vector<int> bytes;
  for (int v = 0; v < 256; ++v) {
    // Within the crowd, 3 regions a side: each gets queries enough.
    if (gt[v] < 96 || gt[v] >= 144) continue;
    const int level = static_cast<int>(gt[v]) % 16;
    if (level <= 1 || level >= 14) bytes.push_back(v);
  }
  return bytes;
}

// A crowded palette leaves many entries nearly as near as the nearest, so a
// cell keeps many candidates and its bounds decide between near equals; the
// queries sit at cell edges and at alpha levels at a cell's ends.
TEST_F(SearchTest, EachSideSearchDecidesBetweenCrowdedEntries) {
  std::mt19937 random(29);
  const std::vector<int> edges = bytesAtCellEdges(gt_);
  const int alphas[] = {0, 1, 15, 16, 17, 31, 32, 127, 128, 191, 192, 239, 240, 254, 255};
  std::uniform_real_distribution<double> crowded(96.0, 160.0);
  for (int netsize : {256, 64}) {
    Network net = initialNetwork(netsize, gt_);
    for (int i = 0; i < netsize; ++i) {
      for (auto* component : {&net.red, &net.green, &net.blue, &net.alpha}) {
        (*component)[i] = crowded(random);
      }
      // Whole twins and twins in colour alone.
      if (i % 5 == 4) {
        net.red[i] = net.red[i - 1];
        net.green[i] = net.green[i - 1];
        net.blue[i] = net.blue[i - 1];
      }
      if (i % 10 == 9) net.alpha[i] = net.alpha[i - 1];
    }
    const Colormap map = finishNetwork(net, gt_);
    EachSideSearch search(map, gt_);
    for (int n = 0; n < 40000; ++n) {
      const int r = edges[random() % edges.size()];
      const int g = edges[random() % edges.size()];
      const int b = edges[random() % edges.size()];
      const int a = alphas[random() % std::size(alphas)];
      ASSERT_EQ(search(r, g, b, a), searchColormap(map, gt_, r, g, b, a, SearchStop::EachSide))
          << r << "," << g << "," << b << "," << a;
    }
  }
}

// Queries gathered in more regions than its table holds: the table starts
// afresh and goes on answering as the walk by green does, in regions worked
// out before and after.
TEST_F(SearchTest, EachSideSearchStartsAfreshWhenItsTableIsFull) {
  std::mt19937 random(41);
  Network net = randomNetwork(256, random);
  const Colormap map = finishNetwork(net, gt_);
  EachSideSearch search(map, gt_);
  // Bytes by the region of 16 gamma levels their colour falls in, and by the
  // region of 16 alpha levels.
  std::array<std::vector<int>, 16> colourBytes;
  for (int v = 0; v < 256; ++v) colourBytes[gt_[v] / 16].push_back(v);
  const auto pick = [&](const std::vector<int>& bytes) { return bytes[random() % bytes.size()]; };
  // 12 alpha regions below opaque-enough, 16^3 colour regions: 10,000 of them
  // in a scattered order, each given enough queries to be worked out.
  std::vector<int> regions(12 * 16 * 16 * 16);
  for (size_t i = 0; i < regions.size(); ++i) regions[i] = static_cast<int>(i);
  std::shuffle(regions.begin(), regions.end(), random);
  regions.resize(10000);
  for (int pass = 0; pass < 2; ++pass) {
    for (const int region : regions) {
      const int alphaRegion = region / 4096;
      for (int n = 0; n < 68; ++n) {
        const int r = pick(colourBytes[region % 16]);
        const int g = pick(colourBytes[region / 16 % 16]);
        const int b = pick(colourBytes[region / 256 % 16]);
        const int a = alphaRegion * 16 + static_cast<int>(random() % 16);
        const int found = search(r, g, b, a);
        if (n % 17 != 16) continue;
        ASSERT_EQ(found, searchColormap(map, gt_, r, g, b, a, SearchStop::EachSide))
            << r << "," << g << "," << b << "," << a;
      }
    }
  }
}

}  // namespace
}  // namespace oz
