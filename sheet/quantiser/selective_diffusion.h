// Error diffusion only where it helps: in smooth areas, where nearest-entry
// mapping would leave bands, the error of each pixel is spread Floyd-Steinberg
// fashion (7/16 right, 3/16 below left, 5/16 below, 1/16 below right); on
// edges and texture, which hide banding and where dithering would only add
// noise and bytes, pixels map to their nearest entry and pass nothing on.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "sheet/quantiser/image_view.h"
#include "sheet/quantiser/reduction.h"

namespace oz {

// A pixel is smooth when no channel differs by more than this from any of its
// four neighbours.
inline constexpr int kSmoothStep = 8;

template <class Image>
class SelectiveDiffusion {
 public:
  explicit SelectiveDiffusion(const Image& image)
      : image_(image),
        current_(4 * (static_cast<size_t>(image.width) + 2), 0),
        next_(current_.size(), 0) {}

  // Maps row y, given in order 0, 1, ..., height - 1. Over straight alpha, a
  // pixel of alpha 0 or 255 is queried at exactly that alpha, and a clear pixel
  // neither takes nor gives error: it shows no colour.
  template <class Search>
  void mapRow(int32_t y, std::span<const PaletteColour> palette, Search& search, uint8_t* indices) {
    std::swap(current_, next_);
    std::fill(next_.begin(), next_.end(), 0);
    for (int32_t x = 0; x < image_.width; ++x) {
      int p[4];
      pixelAt(x, y, p);
      // Errors are kept in sixteenths, one pixel of margin on either side.
      int* here = &current_[4 * (static_cast<size_t>(x) + 1)];
      const bool smooth = p[3] != 0 && isSmooth(x, y, p);
      int q[4];
      for (int c = 0; c < 4; ++c) {
        q[c] = smooth ? std::clamp(p[c] + divideRounded(here[c], 16), 0, 255) : p[c];
      }
      if (pinnedAlpha(p[3])) q[3] = p[3];
      const int index = search(q[0], q[1], q[2], q[3]);
      indices[x] = static_cast<uint8_t>(index);
      if (!smooth) continue;
      const PaletteColour& e = palette[index];
      const int error[4] = {q[0] - e.red, q[1] - e.green, q[2] - e.blue,
                            pinnedAlpha(p[3]) ? 0 : q[3] - e.alpha};
      int* below = &next_[4 * (static_cast<size_t>(x) + 1)];
      for (int c = 0; c < 4; ++c) {
        here[4 + c] += 7 * error[c];
        below[c - 4] += 3 * error[c];
        below[c] += 5 * error[c];
        below[c + 4] += error[c];
      }
    }
  }

 private:
  static int divideRounded(int v, int d) { return v >= 0 ? (v + d / 2) / d : -((d / 2 - v) / d); }

  static bool pinnedAlpha(int alpha) { return Image::kBytes == 4 && (alpha == 0 || alpha == 255); }

  void pixelAt(int32_t x, int32_t y, int* p) const {
    const uint8_t* s = image_.row(y) + Image::kBytes * static_cast<size_t>(x);
    p[0] = s[0];
    p[1] = s[1];
    p[2] = s[2];
    p[3] = Image::kBytes == 4 ? s[3] : 255;
  }

  bool isSmooth(int32_t x, int32_t y, const int* p) const {
    const auto near = [&](int32_t nx, int32_t ny) {
      if (nx < 0 || ny < 0 || nx >= image_.width || ny >= image_.height) return true;
      int n[4];
      pixelAt(nx, ny, n);
      for (int c = 0; c < 4; ++c) {
        if (std::abs(n[c] - p[c]) > kSmoothStep) return false;
      }
      return true;
    };
    return near(x - 1, y) && near(x + 1, y) && near(x, y - 1) && near(x, y + 1);
  }

  Image image_;
  std::vector<int> current_;  // error reaching row y, in sixteenths
  std::vector<int> next_;     // error reaching row y + 1
};

}  // namespace oz
