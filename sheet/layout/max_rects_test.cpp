#include "sheet/layout/max_rects.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

namespace oz {
namespace {

// A small bin kept pixel by pixel beside a MaxRectsBin, to hold its empty
// rectangles to every empty area there is.
class PixelBin {
 public:
  PixelBin(int width, int height) : width_(width), height_(height), used_(width * height) {}

  bool empty(int x, int y, int w, int h) const {
    if (x < 0 || y < 0 || x + w > width_ || y + h > height_) return false;
    for (int j = y; j < y + h; ++j) {
      for (int i = x; i < x + w; ++i) {
        if (used_[j * width_ + i]) return false;
      }
    }
    return true;
  }

  void fill(int x, int y, int w, int h) {
    for (int j = y; j < y + h; ++j) {
      for (int i = x; i < x + w; ++i) used_[j * width_ + i] = true;
    }
  }

  // The lowest, then leftmost, place for a w x h cell.
  std::optional<Spot> bottomLeft(int w, int h) const {
    std::optional<Spot> best;
    for (int y = 0; y + h <= height_; ++y) {
      for (int x = 0; x + w <= width_; ++x) {
        if (empty(x, y, w, h) && (!best || y < best->y)) best = Spot{x, y, false};
      }
      if (best) return best;
    }
    return best;
  }

  // How many empty rectangles no other empty rectangle contains.
  size_t largestEmptyCount() const {
    size_t count = 0;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        for (int h = 1; y + h <= height_; ++h) {
          for (int w = 1; x + w <= width_; ++w) {
            if (!empty(x, y, w, h)) break;
            if (!empty(x - 1, y, w + 1, h) && !empty(x, y - 1, w, h + 1) &&
                !empty(x, y, w + 1, h) && !empty(x, y, w, h + 1)) {
              ++count;
            }
          }
        }
      }
    }
    return count;
  }

  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_;
  int height_;
  std::vector<bool> used_;
};

uint32_t nextRandom(uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

// Cells of random sizes placed by each fit: the bin keeps exactly the
// largest empty rectangles, finds a place for a size exactly when there is
// room for it, never overlaps a cell, and bottom-left finds the lowest place.
TEST(MaxRectsBinTest, KeepsExactlyTheLargestEmptyRectangles) {
  const Fit fits[] = {Fit::ShortSide, Fit::Area, Fit::BottomLeft};
  uint32_t state = 2463534242u;
  for (int round = 0; round < 12; ++round) {
    PixelBin pixels(19, 16);
    MaxRectsBin bin(pixels.width(), pixels.height());
    const bool mayTurn = round % 2 == 1;
    for (int step = 0; step < 40; ++step) {
      const Cell cell{static_cast<int32_t>(1 + nextRandom(state) % 7),
                      static_cast<int32_t>(1 + nextRandom(state) % 5)};
      const std::optional<Spot> spot = bin.find(cell, fits[step % 3], mayTurn);
      const bool room = pixels.bottomLeft(cell.width, cell.height) ||
                        (mayTurn && pixels.bottomLeft(cell.height, cell.width));
      ASSERT_EQ(spot.has_value(), room) << "round " << round << " step " << step;
      if (!spot) continue;
      const int w = spot->turned ? cell.height : cell.width;
      const int h = spot->turned ? cell.width : cell.height;
      ASSERT_TRUE(pixels.empty(spot->x, spot->y, w, h));
      bin.occupy(cell, *spot, Cell{1, 1}, mayTurn);
      pixels.fill(spot->x, spot->y, w, h);
      ASSERT_EQ(bin.emptyCount(), pixels.largestEmptyCount()) << "round " << round;
      for (int size = 1; size <= 6; ++size) {
        const std::optional<Spot> lowest = bin.find({size, size + 1}, Fit::BottomLeft, false);
        const std::optional<Spot> truth = pixels.bottomLeft(size, size + 1);
        ASSERT_EQ(lowest.has_value(), truth.has_value());
        if (lowest) {
          EXPECT_EQ(std::pair(lowest->x, lowest->y), std::pair(truth->x, truth->y));
        }
      }
    }
  }
}

// Rectangles too small for what is still to come are dropped, and only they:
// every cell that size still finds the place it would have found.
TEST(MaxRectsBinTest, DropsOnlyRectanglesTooSmallForTheCellsToCome) {
  MaxRectsBin all(40, 30);
  MaxRectsBin pruned(40, 30);
  const Cell cells[] = {{9, 7}, {5, 11}, {13, 4}, {6, 6}, {8, 3}, {4, 9}, {7, 7}};
  for (const Cell cell : cells) {
    const std::optional<Spot> spot = all.find(cell, Fit::ShortSide, true);
    ASSERT_TRUE(spot);
    all.occupy(cell, *spot, Cell{1, 1}, true);
    pruned.occupy(cell, *spot, Cell{3, 4}, true);
  }
  EXPECT_LT(pruned.emptyCount(), all.emptyCount());
  for (int32_t w = 3; w <= 12; ++w) {
    for (int32_t h = 4; h <= 12; ++h) {
      for (const Fit fit : {Fit::ShortSide, Fit::Area, Fit::BottomLeft}) {
        const std::optional<Spot> full = all.find({w, h}, fit, true);
        const std::optional<Spot> lean = pruned.find({w, h}, fit, true);
        ASSERT_EQ(full.has_value(), lean.has_value());
        if (full) {
          EXPECT_EQ(std::tuple(full->x, full->y, full->turned),
                    std::tuple(lean->x, lean->y, lean->turned));
        }
      }
    }
  }
}

}  // namespace
}  // namespace oz
