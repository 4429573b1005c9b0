#include "sheet/layout/rect_packer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "sheet/layout/pack_threads.h"

namespace oz {
namespace {

uint32_t nextRandom(uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

// `count` rectangles with sides from `least` to `most`, the same every run.
std::vector<RectSize> randomRects(size_t count, int64_t least, int64_t most, uint32_t seed) {
  std::vector<RectSize> rects;
  for (size_t i = 0; i < count; ++i) {
    const int64_t width = least + nextRandom(seed) % (most - least + 1);
    rects.push_back({width, least + nextRandom(seed) % (most - least + 1)});
  }
  return rects;
}

int64_t sheetArea(const PackResult& result) {
  int64_t area = 0;
  for (const PackedSheet& sheet : result.sheets) area += sheet.width * sheet.height;
  return area;
}

struct Covered {
  int64_t x, y, right, bottom;  // right and bottom just outside
};

Covered covered(RectSize rect, PackedPlace place) {
  const int64_t width = place.turned ? rect.height : rect.width;
  const int64_t height = place.turned ? rect.width : rect.height;
  return {place.x, place.y, place.x + width, place.y + height};
}

// Every rule of the packed layout, checked on the result alone: each
// rectangle on a sheet, inside the border, turned only where allowed; no two
// closer than the spacing; each sheet within the maximum size, padded as
// asked, and no larger than its rectangles and the border need before that.
void expectKeepsRules(std::span<const RectSize> rects, const PackRules& rules,
                      const PackResult& result) {
  ASSERT_TRUE(result.fits);
  ASSERT_EQ(result.places.size(), rects.size());
  EXPECT_EQ(result.sheetsNeeded, 0);
  std::vector<Covered> reach(result.sheets.size(), Covered{0, 0, 0, 0});
  std::vector<std::vector<size_t>> onSheet(result.sheets.size());
  for (size_t i = 0; i < rects.size(); ++i) {
    const PackedPlace place = result.places[i];
    ASSERT_GE(place.sheet, 0);
    ASSERT_LT(place.sheet, static_cast<int32_t>(result.sheets.size()));
    const PackedSheet sheet = result.sheets[place.sheet];
    const Covered area = covered(rects[i], place);
    EXPECT_TRUE(!place.turned || rules.rotation) << "rectangle " << i;
    EXPECT_GE(area.x, rules.border) << "rectangle " << i;
    EXPECT_GE(area.y, rules.border) << "rectangle " << i;
    EXPECT_LE(area.right, sheet.width - rules.border) << "rectangle " << i;
    EXPECT_LE(area.bottom, sheet.height - rules.border) << "rectangle " << i;
    Covered& extent = reach[place.sheet];
    extent.right = std::max(extent.right, area.right);
    extent.bottom = std::max(extent.bottom, area.bottom);
    onSheet[place.sheet].push_back(i);
  }
  for (size_t s = 0; s < result.sheets.size(); ++s) {
    const PackedSheet sheet = result.sheets[s];
    ASSERT_FALSE(onSheet[s].empty()) << "sheet " << s;
    EXPECT_LE(sheet.width, rules.maxSize);
    EXPECT_LE(sheet.height, rules.maxSize);
    PackedSheet needed{reach[s].right + rules.border, reach[s].bottom + rules.border};
    if (rules.powerOf2) needed = {padToPowerOf2(needed.width), padToPowerOf2(needed.height)};
    if (rules.square) needed.width = needed.height = std::max(needed.width, needed.height);
    EXPECT_EQ(sheet, needed) << "sheet " << s;
    // Sorted by left edge, a rectangle need only be held apart from those
    // that start before its right edge and the spacing.
    std::vector<size_t>& own = onSheet[s];
    std::sort(own.begin(), own.end(),
              [&](size_t a, size_t b) { return result.places[a].x < result.places[b].x; });
    for (size_t a = 0; a < own.size(); ++a) {
      const Covered first = covered(rects[own[a]], result.places[own[a]]);
      for (size_t b = a + 1; b < own.size(); ++b) {
        const Covered second = covered(rects[own[b]], result.places[own[b]]);
        if (second.x >= first.right + rules.spacing) break;
        const bool apart =
            first.bottom + rules.spacing <= second.y || second.bottom + rules.spacing <= first.y;
        ASSERT_TRUE(apart) << "rectangles " << own[a] << " and " << own[b] << " on sheet " << s;
      }
    }
  }
}

PackRules rulesOf(int64_t spacing, int64_t border, bool powerOf2, bool square, bool rotation) {
  PackRules rules;
  rules.spacing = spacing;
  rules.border = border;
  rules.powerOf2 = powerOf2;
  rules.square = square;
  rules.rotation = rotation;
  return rules;
}

TEST(RectPackerTest, KeepsEveryRuleUnderEveryCombination) {
  std::vector<RectSize> rects = randomRects(140, 1, 90, 7);
  rects.push_back({300, 6});  // long and thin either way
  rects.push_back({5, 260});
  for (int combination = 0; combination < 32; ++combination) {
    const PackRules rules = rulesOf(combination & 1 ? 3 : 0, combination & 2 ? 2 : 0,
                                    combination & 4, combination & 8, combination & 16);
    SCOPED_TRACE(::testing::Message() << "combination " << combination);
    const PackResult result = packRectangles(rects, rules);
    expectKeepsRules(rects, rules, result);
    EXPECT_EQ(result.sheets.size(), 1u);
  }
}

TEST(RectPackerTest, PowerOf2SheetsStayWithinTheMaximumSize) {
  PackRules rules = rulesOf(0, 0, true, false, false);
  rules.maxSize = 1000;
  EXPECT_TRUE(fitsOnSheet({512, 512}, rules));
  EXPECT_FALSE(fitsOnSheet({513, 10}, rules));
  rules.border = 1;
  EXPECT_FALSE(fitsOnSheet({511, 10}, rules));
  EXPECT_TRUE(fitsOnSheet({510, 510}, rules));
  rules.multipack = true;
  const std::vector<RectSize> rects = randomRects(60, 40, 200, 3);
  const PackResult result = packRectangles(rects, rules);
  expectKeepsRules(rects, rules, result);
  EXPECT_GT(result.sheets.size(), 1u);
  for (const PackedSheet& sheet : result.sheets) {
    EXPECT_LE(sheet.width, 512);
    EXPECT_LE(sheet.height, 512);
  }
}

TEST(RectPackerTest, RefusesRulesThatAllowNoSheet) {
  PackRules rules;
  EXPECT_TRUE(fitsOnSheet({8192, 1}, rules));
  EXPECT_FALSE(fitsOnSheet({8193, 1}, rules));
  EXPECT_FALSE(fitsOnSheet({0, 5}, rules));
  rules.border = 4096;
  EXPECT_FALSE(fitsOnSheet({1, 1}, rules));
  rules.border = -1;
  EXPECT_FALSE(fitsOnSheet({1, 1}, rules));
  rules = PackRules{};
  rules.spacing = -1;
  EXPECT_FALSE(fitsOnSheet({1, 1}, rules));
  rules = PackRules{};
  rules.maxSize = kSheetSizeLimit + 1;
  EXPECT_FALSE(fitsOnSheet({1, 1}, rules));
  rules.maxSize = 1;
  EXPECT_TRUE(fitsOnSheet({1, 1}, rules));
  rules.powerOf2 = true;  // no power of two from 2 is that small
  EXPECT_FALSE(fitsOnSheet({1, 1}, rules));
  // A rectangle no sheet holds is refused however many sheets are allowed.
  rules = PackRules{};
  rules.multipack = true;
  const std::vector<RectSize> rects = {{10, 10}, {9000, 10}, {10, 10}};
  const PackResult refused = packRectangles(rects, rules);
  EXPECT_FALSE(refused.fits);
  EXPECT_TRUE(refused.places.empty());
  EXPECT_EQ(refused.sheetsNeeded, 0);
}

// Two bars as long as the sheet is wide: upright they cross, turned they
// lie side by side.
TEST(RectPackerTest, TurnsRectanglesOnlyWhenAllowed) {
  const std::vector<RectSize> rects = {{100, 20}, {20, 100}};
  PackRules rules = rulesOf(0, 0, false, false, true);
  rules.maxSize = 100;
  const PackResult turned = packRectangles(rects, rules);
  expectKeepsRules(rects, rules, turned);
  ASSERT_EQ(turned.sheets.size(), 1u);
  EXPECT_EQ(turned.sheets[0].width * turned.sheets[0].height, 100 * 40);
  EXPECT_NE(turned.places[0].turned, turned.places[1].turned);

  rules.rotation = false;
  const PackResult upright = packRectangles(rects, rules);
  EXPECT_FALSE(upright.fits);
  EXPECT_TRUE(upright.places.empty());
  EXPECT_TRUE(upright.sheets.empty());
  EXPECT_EQ(upright.sheetsNeeded, 2);
}

// 64 x 64 cells, 256 to a sheet of 1024: the fewest sheets there can be,
// and the last one only as large as its cells.
TEST(RectPackerTest, SpreadsOverFewestSheetsWhenAllowed) {
  const std::vector<RectSize> rects(3000, RectSize{64, 64});
  PackRules rules;
  rules.maxSize = 1024;
  const PackResult refused = packRectangles(rects, rules);
  EXPECT_FALSE(refused.fits);
  EXPECT_TRUE(refused.places.empty());
  EXPECT_TRUE(refused.sheets.empty());
  EXPECT_EQ(refused.sheetsNeeded, 12);

  rules.multipack = true;
  const PackResult result = packRectangles(rects, rules);
  expectKeepsRules(rects, rules, result);
  ASSERT_EQ(result.sheets.size(), 12u);
  for (size_t s = 0; s < 11; ++s) EXPECT_EQ(result.sheets[s], (PackedSheet{1024, 1024}));
  // 184 cells left: a sheet of 184 cells' area, or the least above it.
  EXPECT_LE(result.sheets[11].width * result.sheets[11].height, 64 * 64 * 192);
}

TEST(RectPackerTest, SheetsAfterTheFirstHoldWhatIsLeft) {
  std::vector<RectSize> rects = randomRects(400, 10, 120, 11);
  PackRules rules = rulesOf(2, 1, false, false, true);
  rules.maxSize = 700;
  const PackResult refused = packRectangles(rects, rules);
  EXPECT_FALSE(refused.fits);
  rules.multipack = true;
  const PackResult result = packRectangles(rects, rules);
  expectKeepsRules(rects, rules, result);
  EXPECT_EQ(static_cast<int64_t>(result.sheets.size()), refused.sheetsNeeded);
  int64_t area = 0;
  for (const RectSize rect : rects) area += (rect.width + 2) * (rect.height + 2);
  // Every sheet but the last as full as one sheet of 700 can be, give or take.
  EXPECT_LE(static_cast<int64_t>(result.sheets.size()), area / (700 * 700) + 2);
}

TEST(RectPackerTest, SameResultOnAnyNumberOfThreads) {
  const std::vector<RectSize> many = randomRects(700, 3, 150, 5);
  const std::vector<RectSize> more = randomRects(3000, 2, 30, 9);
  PackRules spread = rulesOf(1, 1, false, false, true);
  spread.maxSize = 1024;
  spread.multipack = true;
  const struct {
    const std::vector<RectSize>& rects;
    PackRules rules;
  } cases[] = {
      {many, rulesOf(0, 0, false, false, true)},
      {many, rulesOf(2, 0, true, false, false)},
      {more, rulesOf(0, 0, false, true, true)},
      {many, spread},
  };
  for (const auto& c : cases) {
    const PackResult alone = packRectanglesOn(c.rects, c.rules, 1);
    expectKeepsRules(c.rects, c.rules, alone);
    for (const size_t threads : {2, 3, 8}) {
      const PackResult shared = packRectanglesOn(c.rects, c.rules, threads);
      EXPECT_EQ(shared.sheets, alone.sheets) << threads << " threads";
      EXPECT_EQ(shared.places, alone.places) << threads << " threads";
    }
  }
}

// Guillotine cuts of a square into pieces of random sizes: the pieces fill
// exactly that square, so no sheet can be smaller.
void cutSquare(RectSize piece, int depth, uint32_t& state, std::vector<RectSize>& pieces) {
  const bool across = piece.width >= piece.height;
  const int64_t side = across ? piece.width : piece.height;
  if (depth == 0 || side < 8) {
    pieces.push_back(piece);
    return;
  }
  const int64_t cut = 2 + nextRandom(state) % (side - 3);
  const RectSize first = across ? RectSize{cut, piece.height} : RectSize{piece.width, cut};
  const RectSize second =
      across ? RectSize{side - cut, piece.height} : RectSize{piece.width, side - cut};
  cutSquare(first, depth - 1, state, pieces);
  cutSquare(second, depth - 1, state, pieces);
}

// What a naive shelf packer makes of the same pieces, at its best width:
// the highest first, in rows left to right.
int64_t shelfArea(std::vector<RectSize> rects) {
  std::sort(rects.begin(), rects.end(), [](RectSize a, RectSize b) { return a.height > b.height; });
  int64_t best = INT64_MAX;
  for (int64_t width = 1; width <= kSheetSizeLimit; ++width) {
    int64_t x = 0, top = 0, row = 0, reach = 0;
    bool fits = true;
    for (const RectSize rect : rects) {
      if (rect.width > width) {
        fits = false;
        break;
      }
      if (x + rect.width > width) {
        top += row;
        x = 0;
      }
      if (x == 0) row = rect.height;
      x += rect.width;
      reach = std::max(reach, x);
    }
    if (fits) best = std::min(best, reach * (top + row));
  }
  return best;
}

TEST(RectPackerTest, PacksPiecesOfASquareCloseToTheSquare) {
  constexpr int64_t kSide = 512;
  constexpr double kBound = 1.06;
  for (uint32_t seed = 1; seed <= 4; ++seed) {
    uint32_t state = seed * 7919;
    std::vector<RectSize> pieces;
    cutSquare({kSide, kSide}, 7, state, pieces);
    for (size_t i = pieces.size(); i > 1; --i)
      std::swap(pieces[i - 1], pieces[nextRandom(state) % i]);
    SCOPED_TRACE(::testing::Message() << pieces.size() << " pieces, seed " << seed);
    const PackRules rules;
    const PackResult result = packRectangles(pieces, rules);
    expectKeepsRules(pieces, rules, result);
    EXPECT_LE(sheetArea(result), kBound * kSide * kSide);
    // The bound is one that rows of pieces do not meet.
    EXPECT_GT(shelfArea(pieces), kBound * kSide * kSide);
  }
}

TEST(RectPackerTest, PacksTheSmallestAndTheLargestRectangles) {
  const PackRules plain;
  const std::vector<RectSize> dot = {{1, 1}};
  EXPECT_EQ(packRectangles(dot, plain).sheets, (std::vector<PackedSheet>{{1, 1}}));
  EXPECT_EQ(packRectangles(dot, rulesOf(0, 0, true, false, false)).sheets,
            (std::vector<PackedSheet>{{2, 2}}));
  const std::vector<RectSize> line = {{8192, 1}};
  EXPECT_EQ(packRectangles(line, plain).sheets, (std::vector<PackedSheet>{{8192, 1}}));
  EXPECT_EQ(packRectangles(line, rulesOf(0, 0, true, true, false)).sheets,
            (std::vector<PackedSheet>{{8192, 8192}}));
  // One rectangle as large as the border allows.
  PackRules bordered = rulesOf(7, 5, false, false, false);
  bordered.maxSize = 100;
  const std::vector<RectSize> whole = {{90, 90}};
  const PackResult result = packRectangles(whole, bordered);
  EXPECT_EQ(result.sheets, (std::vector<PackedSheet>{{100, 100}}));
  EXPECT_EQ(result.places, (std::vector<PackedPlace>{{5, 5, false, 0}}));
  // No rectangles: nothing to hold, nothing refused.
  const PackResult none = packRectangles({}, plain);
  EXPECT_TRUE(none.fits);
  EXPECT_TRUE(none.sheets.empty());
}

TEST(RectPackerTest, IdenticalRectanglesFillTheirSheet) {
  const std::vector<RectSize> rects(2000, RectSize{16, 16});
  const PackResult result = packRectangles(rects, PackRules{});
  expectKeepsRules(rects, PackRules{}, result);
  EXPECT_EQ(sheetArea(result), 2000 * 16 * 16);
}

// Spacing wider than the cells: only two 4 x 4 cells fit across 100 pixels
// 50 apart, so three make an L of 58 x 58.
TEST(RectPackerTest, KeepsSpacingWiderThanTheCells) {
  const std::vector<RectSize> rects(3, RectSize{4, 4});
  PackRules rules = rulesOf(50, 0, false, false, false);
  rules.maxSize = 100;
  const PackResult result = packRectangles(rects, rules);
  expectKeepsRules(rects, rules, result);
  EXPECT_EQ(result.sheets, (std::vector<PackedSheet>{{58, 58}}));
  rules.spacing = 1'000'000;  // one to a sheet, however far
  rules.multipack = true;
  const PackResult apart = packRectangles(rects, rules);
  expectKeepsRules(rects, rules, apart);
  EXPECT_EQ(apart.sheets, (std::vector<PackedSheet>(3, {4, 4})));
}

}  // namespace
}  // namespace oz
