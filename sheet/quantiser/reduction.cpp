#include "sheet/quantiser/reduction.h"

#include <algorithm>
#include <array>
#include <vector>

namespace oz {
namespace {

// 1 bit: a fixed black-and-white palette and a luminance threshold, never dithered.
class OneBitReduction final : public Reduction {
 public:
  OneBitReduction(const uint8_t* pixels3, int32_t width, int32_t height, size_t stride)
      : pixels_(pixels3), width_(width), height_(height), stride_(stride),
        row_((static_cast<size_t>(width) + 7) / 8) {}

  std::span<const PaletteColour> palette() const override { return palette_; }

  std::span<const uint8_t> row(int32_t y) override {
    const uint8_t* in = pixels_ + static_cast<size_t>(y) * stride_;
    std::fill(row_.begin(), row_.end(), 0);
    for (int32_t x = 0; x < width_; ++x, in += 3) {
      // Strictly greater: a grey of 160 evaluates just below 160 and stays black.
      const double luminance = (0.2126 * in[0] + 0.7152 * in[1]) + 0.0722 * in[2];
      if (luminance > 160) row_[static_cast<size_t>(x) / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    return row_;
  }

 private:
  const uint8_t* pixels_;
  int32_t width_;
  int32_t height_;
  size_t stride_;
  std::vector<uint8_t> row_;
  std::array<PaletteColour, 2> palette_{PaletteColour{0, 0, 0, 255}, PaletteColour{255, 255, 255, 255}};
};

}  // namespace

std::unique_ptr<Reduction> Reduction::open(const uint8_t* pixels3, int32_t width, int32_t height,
                                           size_t stride, int32_t bits, int32_t /*flags*/) {
  if (width <= 0 || height <= 0) return nullptr;
  if (bits == 1) return std::make_unique<OneBitReduction>(pixels3, width, height, stride);
  return nullptr;  // 4 and 8 bits: the network quantiser is not built yet
}

}  // namespace oz
