#include "sheet/quantiser/row_mapping.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace oz {
namespace {

using Pixel = std::array<uint8_t, 4>;

std::vector<uint8_t> rowOf(const std::vector<Pixel>& pixels) {
  std::vector<uint8_t> bytes;
  for (const Pixel& p : pixels) bytes.insert(bytes.end(), p.begin(), p.end());
  return bytes;
}

// Black and white, chosen by a grey threshold, with every query recorded: the
// arithmetic of the diffusion can then be followed by hand. The opaque
// arithmetic is pinned by the golden vectors; translucent pixels reach it only here.
class DiffusionTest : public ::testing::Test {
 protected:
  int search(int r, int g, int b, int a) {
    queries_.push_back(Pixel{static_cast<uint8_t>(r), static_cast<uint8_t>(g),
                             static_cast<uint8_t>(b), static_cast<uint8_t>(a)});
    return (r + g + b) / 3 >= 128 ? 1 : 0;
  }
  std::vector<uint8_t> map(const std::vector<uint8_t>& row, std::vector<uint8_t>* below,
                           const std::vector<uint8_t>* source = nullptr) {
    const int32_t width = static_cast<int32_t>(row.size() / 4);
    std::vector<uint8_t> indices(static_cast<size_t>(width));
    auto search = [this](int r, int g, int b, int a) { return this->search(r, g, b, a); };
    diffusion_.mapRow(row.data(), below ? below->data() : nullptr, width, palette_, search,
                      indices.data(), source ? source->data() : nullptr);
    return indices;
  }

  std::vector<PaletteColour> palette_{{0, 0, 0, 255}, {255, 255, 255, 255}};
  std::vector<Pixel> queries_;
  ErrorDiffusion diffusion_;
};

TEST_F(DiffusionTest, TranslucentColourErrorIsWeightedAndTruncatedTowardZero) {
  palette_ = {{0, 0, 0, 50}, {255, 255, 255, 50}};
  const auto row = rowOf({{100, 100, 100, 100}});
  auto below = rowOf({{50, 50, 50, 100}});
  map(row, &below);
  // m = 100, k = 255 - 155^2 / 255 = 161; -100 x 161 / 255 = -63.1 gives -63;
  // alpha: 50 - 100 = -50 in full. Halved three times: (-7, -7, -7, -6).
  // Straight down: 5 x -7 / 16 = -2, 5 x -6 / 16 = -1.
  EXPECT_EQ(below, rowOf({{52, 52, 52, 101}}));
  queries_.clear();
  map(rowOf({{10, 10, 10, 200}}), nullptr);
  // Carried: 7 x -7 / 16 = -3, 7 x -6 / 16 = -2.
  EXPECT_EQ(queries_.front(), (Pixel{13, 13, 13, 202}));
}

// A pixel of the row below takes its share from the pixel straight above it
// before the one from the pixel above-right, each kept within 0..255, so a
// share that is clipped is not given back by the next.
TEST_F(DiffusionTest, RowBelowTakesStraightDownShareFirstAndClipsEachStep) {
  // The first pixel goes to black, leaving (-118 x 3, 0) halved to -7; the
  // second, queried at 137, goes to white: 125 + -7 halved to 7.
  const auto row = rowOf({{118, 118, 118, 255}, {130, 130, 130, 255}});
  auto below = rowOf({{254, 254, 254, 255}, {100, 100, 100, 255}});
  EXPECT_EQ(map(row, &below), (std::vector<uint8_t>{0, 1}));
  // Below the first: 254 - 5 x -7 / 16 = 256, kept at 255, then 255 - 3 x 7 / 16 = 254.
  // Below the second: 100 - 5 x 7 / 16 = 98. Alpha had no error to take.
  EXPECT_EQ(below, rowOf({{254, 254, 254, 255}, {98, 98, 98, 255}}));
}

// With the source row given, pixels that are fully clear or fully opaque there
// are queried and measured at that alpha, whatever error has reached them.
TEST_F(DiffusionTest, SourceAlphaEndsAreKeptAgainstCarriedAndPushedError) {
  palette_ = {{0, 0, 0, 200}, {255, 255, 255, 200}};
  // The first pixel leaves alpha error -55 behind (200 - 255), halved to -6.
  const auto source = rowOf({{100, 100, 100, 255}, {100, 100, 100, 255}, {9, 9, 9, 0}});
  auto row = source;
  row[4 + 3] = 240;  // as if error pushed from the row above had lowered it
  map(row, nullptr, &source);
  ASSERT_EQ(queries_.size(), 3u);
  EXPECT_EQ(queries_[0][3], 255);
  EXPECT_EQ(queries_[1][3], 255);
  EXPECT_EQ(queries_[2][3], 0);

  // Without it the same row is queried with the error applied.
  queries_.clear();
  diffusion_ = ErrorDiffusion();
  map(row, nullptr);
  EXPECT_EQ(queries_[0][3], 255);
  EXPECT_NE(queries_[1][3], 255);
}

}  // namespace
}  // namespace oz
