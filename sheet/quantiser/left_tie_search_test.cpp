#include "sheet/quantiser/left_tie_search.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace oz {
namespace {

std::vector<int> mapRow(LeftTieSearch& search, const std::vector<std::array<int, 4>>& pixels) {
  search.startRow();
  std::vector<int> indices;
  for (const auto& p : pixels) indices.push_back(search(p[0], p[1], p[2], p[3]));
  return indices;
}

// Red 11 lies halfway between the entries of red 10 and 12: each such pixel
// keeps the entry its left neighbour took, and a row's first pixel has none.
TEST(LeftTieSearch, EqualsGoToTheLeftNeighboursEntry) {
  const std::vector<PaletteColour> palette{{10, 0, 0, 255}, {12, 0, 0, 255}};
  LeftTieSearch search(palette, -1);
  const int first = mapRow(search, {{11, 0, 0, 255}})[0];
  EXPECT_EQ(mapRow(search, {{10, 0, 0, 255},
                            {11, 0, 0, 255},
                            {11, 0, 0, 255},
                            {12, 0, 0, 255},
                            {11, 0, 0, 255},
                            {11, 0, 0, 255}}),
            (std::vector<int>{0, 0, 0, 1, 1, 1}));
  // The next row starts afresh, whatever the last row ended with.
  EXPECT_EQ(mapRow(search, {{11, 0, 0, 255}, {11, 0, 0, 255}}), (std::vector<int>{first, first}));
  // A nearer entry is never passed over for the neighbour's.
  EXPECT_EQ(mapRow(search, {{10, 0, 0, 255}, {12, 0, 0, 255}}), (std::vector<int>{0, 1}));
}

// The neighbour's entry must be of the pixel's kind, however near: an opaque
// pixel never takes a translucent entry, a clear pixel always the clear one.
// (Alpha weighs four times: 5 of alpha is as far as 10 of red.)
TEST(LeftTieSearch, KeepsOpaqueAndClearPixelsToTheirKindOfEntry) {
  const std::vector<PaletteColour> palette{
      {30, 0, 0, 0}, {100, 0, 0, 250}, {110, 0, 0, 255}, {0, 0, 0, 15}};
  LeftTieSearch search(palette, 0);
  // (100, 0, 0, 255) is 100 from both entry 1 and entry 2.
  EXPECT_EQ(mapRow(search, {{100, 0, 0, 250}, {100, 0, 0, 255}}), (std::vector<int>{1, 2}));
  // A clear pixel counts as (0, 0, 0, 0): 900 from both entry 0 and entry 3.
  EXPECT_EQ(mapRow(search, {{0, 0, 0, 15}, {0, 0, 0, 0}}), (std::vector<int>{3, 0}));
  // A translucent pixel may take either kind: (104, 0, 0, 253) is 52 from
  // entry 1 and from entry 2.
  EXPECT_EQ(mapRow(search, {{110, 0, 0, 255}, {104, 0, 0, 253}}), (std::vector<int>{2, 2}));
  EXPECT_EQ(mapRow(search, {{100, 0, 0, 250}, {104, 0, 0, 253}}), (std::vector<int>{1, 1}));
}

}  // namespace
}  // namespace oz
