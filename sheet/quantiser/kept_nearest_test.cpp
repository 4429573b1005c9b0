#include "sheet/quantiser/kept_nearest.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace oz {
namespace {

// Colours and entries on a coarse grid of levels, so that many colours lie
// exactly as far from two entries and the order of equals is tested too.
uint8_t level(std::mt19937& random) { return static_cast<uint8_t>(random() % 6 * 51); }

PaletteColour randomEntry(std::mt19937& random) {
  const int kind = static_cast<int>(random() % 3);
  return {level(random), level(random), level(random),
          static_cast<uint8_t>(kind == 0   ? 255
                               : kind == 1 ? 102
                                           : 204)};
}

std::vector<CountedColour> randomColours(std::mt19937& random, size_t count) {
  std::vector<CountedColour> colours;
  for (size_t i = 0; i < count; ++i) {
    const int kind = static_cast<int>(random() % 4);
    const uint8_t alpha = kind == 0 ? 0 : kind == 1 ? 153 : 255;
    colours.push_back({level(random), level(random), level(random), alpha, 1});
  }
  return colours;
}

// Palettes that change a few entries at a time, as the refinement's late
// rounds do, and many at once, as its first do; entries move onto each
// other, change kind, and the palette loses all its opaque entries and gains
// them back. After
// every change the kept answers must be a fresh search's, exactly.
// On more than one thread, the colours are shared out in pieces.
void checkAgainstFreshSearch(int fixed, size_t threads) {
  std::mt19937 random(fixed + 7);
  const std::vector<CountedColour> colours = randomColours(random, 2 * kColoursPerTask + 900);
  std::vector<PaletteColour> palette(32);
  for (PaletteColour& e : palette) e = randomEntry(random);
  if (fixed >= 0) palette[fixed] = {0, 0, 0, 0};
  KeptNearest kept(threads);
  KeptTwoNearest keptTwo(threads);
  std::vector<int> moved;
  for (int change = 0; change < 60; ++change) {
    kept.update(palette, fixed, colours, moved);
    keptTwo.update(palette, fixed, colours, moved);
    const NearestEntry fresh(palette, fixed);
    for (size_t i = 0; i < colours.size(); ++i) {
      const CountedColour& c = colours[i];
      const NearestEntry::Found found = fresh.find(c.red, c.green, c.blue, c.alpha);
      ASSERT_EQ(kept.entry(i), found.index) << "change " << change << ", colour " << i;
      ASSERT_EQ(kept.distance(i), found.distance);
      const NearestEntry::TwoNearest two = fresh.twoNearest(c.red, c.green, c.blue, c.alpha);
      ASSERT_EQ(keptTwo[i].best, two.best) << "change " << change << ", colour " << i;
      ASSERT_EQ(keptTwo[i].first, two.first);
      ASSERT_EQ(keptTwo[i].second, two.second);
    }
    moved.clear();
    if (change == 45) {
      // Every opaque entry turns translucent at once: opaque colours may
      // now take any entry, including ones that stayed.
      for (int k = 0; k < static_cast<int>(palette.size()); ++k) {
        if (palette[k].alpha == 255) {
          palette[k].alpha = 102;
          moved.push_back(k);
        }
      }
      ASSERT_LE(moved.size(), kMovedToCompare);
      continue;
    }
    const size_t moves = change % 10 == 9 ? 30 : 1 + random() % 4;
    for (size_t m = 0; m < moves; ++m) {
      const int k = static_cast<int>(random() % palette.size());
      if (k == fixed) {
        // The clear entry takes colours but stays clear; clear colours
        // still take it, however near another entry comes.
        palette[k] = {level(random), level(random), level(random), 0};
        if (std::find(moved.begin(), moved.end(), k) == moved.end()) moved.push_back(k);
        continue;
      }
      const int how = static_cast<int>(random() % 3);
      if (how == 0) {
        palette[k] = palette[random() % palette.size()];  // a twin of another entry
      } else {
        palette[k] = randomEntry(random);
      }
      if (std::find(moved.begin(), moved.end(), k) == moved.end()) moved.push_back(k);
    }
  }
}

TEST(KeptNearest, AnswersAsAFreshSearchAfterEveryChange) {
  for (const size_t threads : {size_t{1}, size_t{3}}) {
    checkAgainstFreshSearch(-1, threads);
    checkAgainstFreshSearch(0, threads);
  }
}

}  // namespace
}  // namespace oz
