#include "sheet/quantiser/test_images.h"

#include <algorithm>
#include <array>
#include <random>

namespace oz::testing {

std::vector<uint8_t> noiseImage(int32_t width, int32_t height, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> rgb(3 * static_cast<size_t>(width) * height);
  for (uint8_t& b : rgb) b = static_cast<uint8_t>(random() & 0xff);
  return rgb;
}

std::vector<uint8_t> spriteImage(int32_t width, int32_t height, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> rgb(3 * static_cast<size_t>(width) * height, 255);
  std::array<std::array<uint8_t, 3>, 12> inks{};
  for (auto& ink : inks) {
    for (uint8_t& c : ink) c = static_cast<uint8_t>(random() & 0xff);
  }
  const int rectangles = 4 + (width * height) / 64;
  for (int n = 0; n < rectangles; ++n) {
    const int32_t x0 = static_cast<int32_t>(random() % width);
    const int32_t y0 = static_cast<int32_t>(random() % height);
    const int32_t x1 = std::min<int32_t>(width, x0 + 1 + static_cast<int32_t>(random() % 12));
    const int32_t y1 = std::min<int32_t>(height, y0 + 1 + static_cast<int32_t>(random() % 12));
    const auto& ink = inks[random() % inks.size()];
    const bool shaded = random() % 4 == 0;
    for (int32_t y = y0; y < y1; ++y) {
      for (int32_t x = x0; x < x1; ++x) {
        uint8_t* p = &rgb[3 * (static_cast<size_t>(y) * width + x)];
        for (int c = 0; c < 3; ++c) {
          p[c] = shaded ? static_cast<uint8_t>(ink[c] * (x - x0 + 1) / (x1 - x0)) : ink[c];
        }
      }
    }
  }
  return rgb;
}

}  // namespace oz::testing
