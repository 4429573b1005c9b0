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

std::vector<uint8_t> alphaSpriteImage(int32_t width, int32_t height, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> rgba(4 * static_cast<size_t>(width) * height);
  for (size_t i = 0; i < rgba.size(); i += 4) {
    for (int c = 0; c < 3; ++c) rgba[i + c] = static_cast<uint8_t>(random() & 0xff);
  }
  std::array<std::array<uint8_t, 3>, 12> inks{};
  for (auto& ink : inks) {
    for (uint8_t& c : ink) c = static_cast<uint8_t>(random() & 0xff);
  }
  constexpr int kEdge = 3;
  const int rectangles = 4 + (width * height) / 128;
  for (int n = 0; n < rectangles; ++n) {
    const int32_t x0 = static_cast<int32_t>(random() % width);
    const int32_t y0 = static_cast<int32_t>(random() % height);
    const int32_t x1 = std::min<int32_t>(width, x0 + 1 + static_cast<int32_t>(random() % 14));
    const int32_t y1 = std::min<int32_t>(height, y0 + 1 + static_cast<int32_t>(random() % 14));
    const auto& ink = inks[random() % inks.size()];
    const int alpha = random() % 4 == 0 ? 40 + static_cast<int>(random() % 180) : 255;
    for (int32_t y = std::max(0, y0 - kEdge); y < std::min(height, y1 + kEdge); ++y) {
      for (int32_t x = std::max(0, x0 - kEdge); x < std::min(width, x1 + kEdge); ++x) {
        const int out = std::max({x0 - x, x - (x1 - 1), y0 - y, y - (y1 - 1), 0});
        const int a = alpha * (kEdge + 1 - out) / (kEdge + 1);
        uint8_t* p = &rgba[4 * (static_cast<size_t>(y) * width + x)];
        if (a <= p[3]) continue;
        for (int c = 0; c < 3; ++c) p[c] = ink[c];
        p[3] = static_cast<uint8_t>(a);
      }
    }
  }
  return rgba;
}

Reduced drain(std::unique_ptr<Reduction> reduction, int32_t height) {
  Reduced result;
  if (reduction == nullptr) return result;
  const auto palette = reduction->palette();
  result.palette.assign(palette.begin(), palette.end());
  for (int32_t y = 0; y < height; ++y) {
    const auto row = reduction->row(y);
    result.rows.emplace_back(row.begin(), row.end());
  }
  return result;
}

}  // namespace oz::testing
