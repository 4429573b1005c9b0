#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "sheet/quantiser/colour_histogram.h"
#include "sheet/quantiser/nearest_entry.h"
#include "sheet/quantiser/palette_refinement.h"
#include "sheet/quantiser/reduction.h"
#include "sheet/quantiser/test_images.h"

namespace oz {
namespace {

// Squared error of each pixel's entry against the pixel, 4 bits per index.
struct Fit {
  double colour = 0;  // over pixels of alpha above 0
  double alpha = 0;
};

Fit fitOf(const std::vector<uint8_t>& pixels, int bytes, int32_t width, int32_t bits,
          const testing::Reduced& reduced) {
  Fit fit;
  for (size_t y = 0; y < reduced.rows.size(); ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const auto& row = reduced.rows[y];
      const int index = bits == 8 ? row[x] : (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 15;
      const PaletteColour& c = reduced.palette.at(index);
      const uint8_t* p = &pixels[bytes * (y * width + x)];
      const int alpha = bytes == 4 ? p[3] : 255;
      fit.alpha += (c.alpha - alpha) * (c.alpha - alpha);
      if (alpha == 0) continue;
      for (int ch = 0; ch < 3; ++ch) {
        const int d = (&c.red)[ch] - p[ch];
        fit.colour += d * d;
      }
    }
  }
  return fit;
}

testing::Reduced reduce(const std::vector<uint8_t>& pixels, bool withAlpha, int32_t width,
                        int32_t height, int32_t bits, bool dither, Quantiser quantiser,
                        size_t threads = 1) {
  const size_t bytes = withAlpha ? 4 : 3;
  return testing::drain(
      Reduction::open(ReductionRequest{pixels.data(), width, height, bytes * width, withAlpha, bits,
                                       dither, quantiser, threads}),
      height);
}

// Sixteen colours in blocks, one of them clear in the transparent form: a
// palette of 16 can hold them exactly, and the refinement finds it.
TEST(RefinedReduction, SixteenColoursAreReducedWithoutLossAtFourBits) {
  std::mt19937 random(12);
  std::array<std::array<uint8_t, 4>, 16> colours{};
  for (auto& c : colours) {
    for (int ch = 0; ch < 3; ++ch) c[ch] = static_cast<uint8_t>(random() & 0xff);
    c[3] = static_cast<uint8_t>(random() % 2 ? 255 : 30 + random() % 200);
  }
  colours[0] = {0, 0, 0, 0};
  constexpr int32_t kWidth = 64;
  constexpr int32_t kHeight = 48;
  for (bool withAlpha : {false, true}) {
    std::vector<uint8_t> pixels;
    for (int32_t y = 0; y < kHeight; ++y) {
      for (int32_t x = 0; x < kWidth; ++x) {
        const auto& c = colours[(y / 12) * 4 + x / 16];
        pixels.insert(pixels.end(), c.begin(), c.begin() + (withAlpha ? 4 : 3));
      }
    }
    const int bytes = withAlpha ? 4 : 3;
    for (bool dither : {false, true}) {
      const auto reduced = reduce(pixels, withAlpha, kWidth, kHeight, 4, dither, Quantiser::KMeans);
      ASSERT_EQ(reduced.palette.size(), 16u);
      const Fit fit = fitOf(pixels, bytes, kWidth, 4, reduced);
      EXPECT_EQ(fit.colour, 0) << withAlpha << dither;
      EXPECT_EQ(fit.alpha, 0) << withAlpha << dither;
    }
    // The network alone does not manage it: the refinement is what does.
    const auto network = reduce(pixels, withAlpha, kWidth, kHeight, 4, false, Quantiser::Network);
    EXPECT_GT(fitOf(pixels, bytes, kWidth, 4, network).colour, 0) << withAlpha;
  }
}

// The entries come clear first, then translucent, then opaque, each kind most
// used first, so deflate lists its byte codes compactly. Sixteen colours
// drawn in bands of different heights, in an order unrelated to their use.
TEST(RefinedReduction, EntriesComeInOrderOfUse) {
  std::mt19937 random(5);
  constexpr int32_t kWidth = 16;
  std::vector<std::array<uint8_t, 4>> bands;
  for (int k = 0; k < 16; ++k) {
    std::array<uint8_t, 4> c{};
    for (int ch = 0; ch < 3; ++ch) c[ch] = static_cast<uint8_t>(random() & 0xff);
    c[3] = k % 3 == 0 ? static_cast<uint8_t>(40 + 10 * k) : 255;
    // Band k is (k * 7) % 16 + 1 rows high: uses all differ.
    for (int r = 0; r < (k * 7) % 16 + 1; ++r) bands.push_back(c);
  }
  bands.push_back({0, 0, 0, 0});  // one clear row, the least used of all
  const auto height = static_cast<int32_t>(bands.size());
  for (bool withAlpha : {false, true}) {
    std::vector<uint8_t> pixels;
    for (const auto& c : bands) {
      for (int32_t x = 0; x < kWidth; ++x) {
        pixels.insert(pixels.end(), c.begin(), c.begin() + (withAlpha ? 4 : 3));
      }
    }
    const auto reduced = reduce(pixels, withAlpha, kWidth, height, 4, false, Quantiser::KMeans);
    ASSERT_EQ(reduced.palette.size(), 16u);
    std::array<int, 16> use{};
    for (const auto& row : reduced.rows) {
      for (int32_t x = 0; x < kWidth; ++x) ++use[(row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 15];
    }
    const auto kind = [&](int k) {
      const uint8_t a = reduced.palette[k].alpha;
      return a == 0 ? 0 : a != 255 ? 1 : 2;
    };
    if (withAlpha) {
      EXPECT_EQ(reduced.palette[0].alpha, 0);
    }
    for (int k = 1; k < 16; ++k) {
      EXPECT_LE(kind(k - 1), kind(k)) << withAlpha << k;
      if (kind(k - 1) == kind(k) && kind(k) != 0) {
        EXPECT_GE(use[k - 1], use[k]) << withAlpha << k;
      }
    }
  }
}

// On sprite-like pictures the refined palette fits closer than the network's
// it starts from, and the same input gives the same bytes again, on one
// thread or several.
TEST(RefinedReduction, FitsCloserThanTheNetworkAndRepeatsItself) {
  constexpr int32_t kWidth = 160;
  constexpr int32_t kHeight = 120;
  const auto rgb = testing::spriteImage(kWidth, kHeight, 21);
  const auto rgba = testing::alphaSpriteImage(kWidth, kHeight, 22);
  for (int32_t bits : {4, 8}) {
    for (bool withAlpha : {false, true}) {
      const auto& pixels = withAlpha ? rgba : rgb;
      const int bytes = withAlpha ? 4 : 3;
      const auto refined =
          reduce(pixels, withAlpha, kWidth, kHeight, bits, false, Quantiser::KMeans);
      const auto network =
          reduce(pixels, withAlpha, kWidth, kHeight, bits, false, Quantiser::Network);
      const Fit better = fitOf(pixels, bytes, kWidth, bits, refined);
      const Fit start = fitOf(pixels, bytes, kWidth, bits, network);
      EXPECT_LT(better.colour + better.alpha, start.colour + start.alpha) << bits << withAlpha;
      if (!withAlpha) {
        for (const PaletteColour& c : refined.palette) EXPECT_EQ(c.alpha, 255);
      }
      for (const size_t threads : {size_t{1}, size_t{4}}) {
        EXPECT_EQ(
            reduce(pixels, withAlpha, kWidth, kHeight, bits, false, Quantiser::KMeans, threads),
            refined)
            << threads;
      }
    }
  }
}

// Dithering works where mapping would leave bands, a smooth ramp: each small
// block keeps its average colour closer. On noise, which hides banding, it
// leaves the nearest entries alone.
TEST(RefinedReduction, DithersSmoothAreasOnly) {
  constexpr int32_t kWidth = 256;
  constexpr int32_t kHeight = 16;
  std::vector<uint8_t> ramp;
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      ramp.insert(ramp.end(), {static_cast<uint8_t>(x), static_cast<uint8_t>(x / 2), 90});
    }
  }
  const auto blockError = [&](const testing::Reduced& m) {
    return testing::blockAverageError(
        kWidth, kHeight, [&](int32_t x, int32_t y) { return ramp[3 * (y * kWidth + x)]; },
        [&](int32_t x, int32_t y) {
          return m.palette[(m.rows[y][x / 2] >> (x % 2 == 0 ? 4 : 0)) & 15].red;
        });
  };
  const auto plain = reduce(ramp, false, kWidth, kHeight, 4, false, Quantiser::KMeans);
  const auto dithered = reduce(ramp, false, kWidth, kHeight, 4, true, Quantiser::KMeans);
  EXPECT_LT(blockError(dithered), 0.5 * blockError(plain));

  const auto noise = testing::noiseImage(64, 64, 5);
  EXPECT_EQ(reduce(noise, false, 64, 64, 4, true, Quantiser::KMeans),
            reduce(noise, false, 64, 64, 4, false, Quantiser::KMeans));
}

// Lloyd rounds alone stop here: two entries share the close pair, one sits
// between the far pair. Moving an entry out of the close pair, where it is
// least missed, and settling again serves all four colours far better.
TEST(PaletteRefinement, StepsOutOfALocalMinimum) {
  std::vector<PaletteColour> palette{{10, 0, 0, 255}, {20, 0, 0, 255}, {240, 0, 0, 255}};
  const std::vector<CountedColour> colours{
      {10, 0, 0, 255, 100}, {20, 0, 0, 255, 100}, {200, 0, 0, 255, 100}, {250, 0, 0, 255, 100}};
  refinePalette(palette, -1, colours);
  std::vector<int> reds;
  for (const PaletteColour& c : palette) reds.push_back(c.red);
  std::sort(reds.begin(), reds.end());
  EXPECT_EQ(reds, (std::vector<int>{15, 200, 250}));
}

// A faint edge is nearer to clear than to any translucent entry: the clear
// entry serves it, stays clear and takes its colour, rather than black, which
// the edge would show as wherever it is drawn.
TEST(PaletteRefinement, TheClearEntryTakesTheColourOfTheFaintColoursItServes) {
  std::vector<PaletteColour> palette{{0, 0, 0, 0}, {100, 100, 100, 120}, {200, 200, 200, 255}};
  const std::vector<CountedColour> colours{{50, 60, 70, 3, 100},
                                           {51, 61, 71, 2, 100},
                                           {100, 100, 100, 120, 100},
                                           {200, 200, 200, 255, 100}};
  refinePalette(palette, 0, colours);
  EXPECT_EQ(palette[0], (PaletteColour{51, 61, 71, 0}));  // 50.5 and up round up
  EXPECT_EQ(palette[1], (PaletteColour{100, 100, 100, 120}));
  EXPECT_EQ(palette[2], (PaletteColour{200, 200, 200, 255}));
  // Without faint colours it ends where it started from: among the others.
  std::vector<PaletteColour> plain{{0, 0, 0, 0}, {100, 100, 100, 120}, {200, 200, 200, 255}};
  refinePalette(plain, 0, std::span(colours).subspan(2));
  EXPECT_EQ(plain[0], (PaletteColour{100, 100, 100, 0}));
}

// The relocation's pruned search for the two nearest entries agrees with
// looking at every entry, ties included (twin entries).
TEST(NearestEntry, TwoNearestAgreesWithEveryEntryLookedAt) {
  std::mt19937 random(31);
  for (size_t size : {16, 256, 16, 256}) {
    std::vector<PaletteColour> palette(size);
    for (size_t k = 0; k < size; ++k) {
      PaletteColour& e = palette[k];
      if (k % 5 == 4) {
        e = palette[k - 1];
        continue;
      }
      e = {static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
           static_cast<uint8_t>(random()),
           static_cast<uint8_t>(random() % 2 ? 255 : random() % 255)};
    }
    const NearestEntry nearest(palette, -1);
    for (int n = 0; n < 20000; ++n) {
      const int c[4] = {static_cast<int>(random() % 256), static_cast<int>(random() % 256),
                        static_cast<int>(random() % 256),
                        n % 2 ? 255 : static_cast<int>(1 + random() % 254)};
      int best = -1;
      int first = INT_MAX;
      int second = INT_MAX;
      for (size_t k = 0; k < size; ++k) {
        if (c[3] == 255 && palette[k].alpha != 255) continue;
        const int d = nearest.distance(static_cast<int>(k), c[0], c[1], c[2], c[3]);
        if (d < first) {
          second = first;
          first = d;
          best = static_cast<int>(k);
        } else if (d < second) {
          second = d;
        }
      }
      const NearestEntry::TwoNearest two = nearest.twoNearest(c[0], c[1], c[2], c[3]);
      ASSERT_EQ(two.best, best) << c[0] << "," << c[1] << "," << c[2] << "," << c[3];
      ASSERT_EQ(two.first, first);
      ASSERT_EQ(two.second, second);
      // The mapping's search may take another of equals, never a farther one.
      ASSERT_EQ(nearest.distance(nearest(c[0], c[1], c[2], c[3]), c[0], c[1], c[2], c[3]), first);
    }
  }
}

TEST(RefinedReduction, OneBitIsTheThresholdWithEitherQuantiser) {
  const auto rgb = testing::spriteImage(40, 30, 4);
  EXPECT_EQ(reduce(rgb, false, 40, 30, 1, false, Quantiser::KMeans),
            reduce(rgb, false, 40, 30, 1, false, Quantiser::Network));
  EXPECT_EQ(
      Reduction::open(ReductionRequest{rgb.data(), 40, 30, 120, true, 1, false, Quantiser::KMeans}),
      nullptr);
}

TEST(ColourHistogram, CountsAllPixelsOfSmallImagesAndASpreadSampleOfLargeOnes) {
  EXPECT_EQ(histogramStep(1024, 1024), 1);
  // 2048 x 2048 needs every 4th pixel or more: 5 is the first prime past 4.
  EXPECT_EQ(histogramStep(2048, 2048), 5);
  // 8192 x 8192 needs 64: 67 is the first prime past it; a width it divides is passed over.
  EXPECT_EQ(histogramStep(8192, 8192), 67);
  EXPECT_EQ(histogramStep(67 * 120, 8192), 71);

  const std::vector<uint8_t> rgba{1, 2, 3, 255, 9, 9, 9, 0, 1, 2, 3, 255, 1, 2, 3, 40};
  const auto colours = countColours(AlphaImage{rgba.data(), 2, 2, 8});
  EXPECT_EQ(colours, (std::vector<CountedColour>{{1, 2, 3, 255, 2}, {1, 2, 3, 40, 1}}));

  // Up to 2048 x 2048 every pixel counts while the colours are few enough;
  // past that, the sample: every 3rd pixel here. Beyond 2048 x 2048 only the
  // sample, however few the colours.
  std::vector<uint8_t> rgb(3 * 2048 * 1024, 7);
  const OpaqueImage image{rgb.data(), 2048, 1024, 3 * 2048};
  const auto few = countColours(image);
  ASSERT_EQ(few.size(), 1u);
  EXPECT_EQ(few[0].count, 2048u * 1024);
  for (size_t i = 0; i < rgb.size(); i += 3) {
    const size_t pixel = i / 3;
    rgb[i] = static_cast<uint8_t>(pixel);
    rgb[i + 1] = static_cast<uint8_t>(pixel >> 8);
    rgb[i + 2] = static_cast<uint8_t>(pixel >> 16);
  }
  const auto many = countColours(image);
  EXPECT_EQ(many.size(), (2048u * 1024 + 2) / 3);
  EXPECT_EQ(many[1], (CountedColour{3, 0, 0, 255, 1}));
  std::vector<uint8_t> large(3 * 4096 * 2048, 7);
  const auto sampled = countColours(OpaqueImage{large.data(), 4096, 2048, 3 * 4096});
  ASSERT_EQ(sampled.size(), 1u);
  EXPECT_EQ(sampled[0].count, (4096u * 2048 + 10) / 11);  // 8 is the least step
}

}  // namespace
}  // namespace oz
