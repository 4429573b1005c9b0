#include "sheet/trim.h"

#include <algorithm>
#include <cstring>

namespace oz {
namespace {

bool rowHasVisible(const RgbaImage& image, int32_t y, int32_t from, int32_t to, int32_t threshold) {
  const uint8_t* pixel = image.pixel(from, y);
  for (int32_t x = from; x < to; ++x, pixel += 4) {
    if (pixel[3] > threshold) return true;
  }
  return false;
}

}  // namespace

PixelBox visibleBox(const RgbaImage& image, int32_t threshold) {
  int32_t top = 0;
  while (top < image.height && !rowHasVisible(image, top, 0, image.width, threshold)) ++top;
  if (top == image.height) return {};
  int32_t bottom = image.height;
  while (!rowHasVisible(image, bottom - 1, 0, image.width, threshold)) --bottom;
  // Left and right edges: each row only needs looking at outside the edges
  // found so far, so most rows cost a few pixels.
  int32_t left = image.width;
  int32_t right = 0;
  for (int32_t y = top; y < bottom; ++y) {
    const uint8_t* row = image.pixel(0, y);
    for (int32_t x = 0; x < left; ++x) {
      if (row[x * 4 + 3] > threshold) {
        left = x;
        break;
      }
    }
    for (int32_t x = image.width - 1; x >= std::max(right, left); --x) {
      if (row[x * 4 + 3] > threshold) {
        right = x + 1;
        break;
      }
    }
  }
  return {left, top, right - left, bottom - top};
}

RgbaImage cropImage(const RgbaImage& image, const PixelBox& box) {
  RgbaImage crop{box.width, box.height, {}};
  crop.pixels.resize(static_cast<size_t>(box.width) * static_cast<size_t>(box.height) * 4);
  const size_t rowBytes = static_cast<size_t>(box.width) * 4;
  for (int32_t y = 0; y < box.height; ++y) {
    std::memcpy(crop.pixel(0, y), image.pixel(box.x, box.y + y), rowBytes);
  }
  return crop;
}

}  // namespace oz
