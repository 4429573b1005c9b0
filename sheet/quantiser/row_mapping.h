// Turning one row of pixels into palette indices: the 1-bit luminance
// threshold, the plain nearest-colour mapping, and error diffusion.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "sheet/quantiser/reduction.h"

namespace oz {

// 1 bit: index 1 where (0.2126 R + 0.7152 G) + 0.0722 B > 160, else 0.
// `rgb` holds 3 bytes per pixel.
void thresholdRow(const uint8_t* rgb, int32_t width, uint8_t* indices);

// Without dithering: each opaque pixel of `rgb` (3 bytes per pixel) gets
// search(R, G, B, 255).
template <class Search>
void mapRow(const uint8_t* rgb, int32_t width, Search& search, uint8_t* indices) {
  for (int32_t x = 0; x < width; ++x, rgb += 3) {
    indices[x] = static_cast<uint8_t>(search(rgb[0], rgb[1], rgb[2], 255));
  }
}

// Without dithering: each pixel of `rgba` (4 bytes per pixel) gets
// search(R, G, B, A).
template <class Search>
void mapAlphaRow(const uint8_t* rgba, int32_t width, Search& search, uint8_t* indices) {
  for (int32_t x = 0; x < width; ++x, rgba += 4) {
    indices[x] = static_cast<uint8_t>(search(rgba[0], rgba[1], rgba[2], rgba[3]));
  }
}

// Error diffusion across rows given in order. The error of each pixel goes on
// to the next pixel in full, is pushed into the row below in fixed shares, and
// what is left at the end of a row starts the next one.
class ErrorDiffusion {
 public:
  // Maps `row` (4 bytes per pixel: red, green, blue, alpha) with `search`
  // against `palette`, pushing error into `below` (the next row, same layout),
  // which is nullptr for the last row.
  //
  // `source`, when given, is the same row as the image holds it (4 bytes per
  // pixel): a pixel whose source alpha is 0 or 255 keeps that alpha exactly,
  // both in its query and as the alpha its error is measured from, so neither
  // carried nor pushed error can move a fully transparent or fully opaque
  // pixel to another kind of entry.
  template <class Search>
  void mapRow(const uint8_t* row, uint8_t* below, int32_t width,
              std::span<const PaletteColour> palette, Search& search, uint8_t* indices,
              const uint8_t* source = nullptr);

 private:
  using Error = std::array<int, 4>;  // red, green, blue, alpha

  static uint8_t clampByte(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

  // Adds the pixel's error d to the running error e, then halves e (toward zero)
  // until it is small on its own and next to d, so that no streak of error runs
  // away along the row. Afterwards every component lies in -10..10.
  static void settle(Error& e, const Error& d) {
    int dd = 0;
    for (int c = 0; c < 4; ++c) {
      e[c] += d[c];
      dd += d[c] * d[c];
    }
    for (;;) {
      int s = 0;
      bool large = false;
      for (int c : e) {
        s += c * c;
        large = large || c * c > 100;
      }
      if (!large && s <= 2 * dd && s <= 200) return;
      for (int& c : e) c /= 2;
    }
  }

  // Pushes each pixel's settled error (`settled_`, 4 channels a pixel) into
  // the row below: the pixel straight down takes 5/16 of it, then the one
  // below-left 3/16, each step kept within 0..255. The pixel below-right would
  // take 1/16, which is 0 for an error within -10..10, so it is left alone.
  // The row is mapped first and pushed after: nothing in the row reads the
  // row below, and each pixel there takes its two shares in the order the
  // pixels above it were mapped, straight down first. Apart from the mapping,
  // whose every pixel waits for the one before it, the pushes are one plain
  // loop over bytes that the compiler turns into vector arithmetic.
  // REQUIRES: width > 0.
  void pushBelow(uint8_t* __restrict below, int32_t width) const {
    const size_t last = 4 * static_cast<size_t>(width - 1);  // the last pixel's first channel
    const int8_t* __restrict e = settled_.data();
    for (size_t i = 0; i < last; ++i) {
      below[i] = clampByte(clampByte(below[i] - 5 * e[i] / 16) - 3 * e[i + 4] / 16);
    }
    for (size_t i = last; i < last + 4; ++i) below[i] = clampByte(below[i] - 5 * e[i] / 16);
  }

  // 255 - (255 - m)^2 / 255 for each m, the weight of colour error where the
  // pixel or its entry is of alpha m: looked up, since it lies on the chain
  // from one pixel's entry to the next pixel's query.
  static constexpr std::array<int, 256> kErrorWeight = [] {
    std::array<int, 256> k{};
    for (int m = 0; m < 256; ++m) k[m] = 255 - (255 - m) * (255 - m) / 255;
    return k;
  }();

  Error carried_{};
  std::vector<int8_t> settled_;  // the row's settled errors, each within -10..10
};

template <class Search>
void ErrorDiffusion::mapRow(const uint8_t* row, uint8_t* below, int32_t width,
                            std::span<const PaletteColour> palette, Search& search,
                            uint8_t* indices, const uint8_t* source) {
  Error e = carried_;
  settled_.resize(4 * static_cast<size_t>(width));
  for (int32_t x = 0; x < width; ++x) {
    const uint8_t* p = row + 4 * static_cast<size_t>(x);
    int a = p[3];
    int queryAlpha = clampByte(a - e[3]);
    if (source != nullptr) {
      const uint8_t sourceAlpha = source[4 * static_cast<size_t>(x) + 3];
      if (sourceAlpha == 0 || sourceAlpha == 255) a = queryAlpha = sourceAlpha;
    }
    const int index =
        search(clampByte(p[0] - e[0]), clampByte(p[1] - e[1]), clampByte(p[2] - e[2]), queryAlpha);
    indices[x] = static_cast<uint8_t>(index);
    const PaletteColour& c = palette[index];

    // Colour error counts less where the pixel and the entry are both
    // translucent; the alpha error counts in full. Where either is opaque the
    // weight k is 255 and the weighting changes nothing.
    const int m = std::max<int>(a, c.alpha);
    Error d{c.red - p[0], c.green - p[1], c.blue - p[2], c.alpha - a};
    if (m != 255) {
      const int k = kErrorWeight[m];
      for (int ch = 0; ch < 3; ++ch) d[ch] = d[ch] * k / 255;
    }
    settle(e, d);
    for (int ch = 0; ch < 4; ++ch) {
      settled_[4 * static_cast<size_t>(x) + ch] = static_cast<int8_t>(e[ch]);
    }
  }
  if (below != nullptr && width > 0) pushBelow(below, width);
  for (int& c : e) c = 7 * c / 16;
  carried_ = e;
}

}  // namespace oz
