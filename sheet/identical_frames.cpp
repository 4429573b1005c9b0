#include "sheet/identical_frames.h"

#include <cstring>
#include <utility>

namespace oz {

uint64_t pixelDigest(const RgbaImage& image) {
  // A multiply-and-fold over 8 bytes at a time: far faster than decoding the
  // frame, and every byte, the last few included, changes the result.
  constexpr uint64_t kMultiplier = 0xff51afd7ed558ccdULL;
  uint64_t digest =
      0x9e3779b97f4a7c15ULL ^ (static_cast<uint64_t>(static_cast<uint32_t>(image.width)) << 32 |
                               static_cast<uint32_t>(image.height));
  const auto mix = [&](uint64_t word) {
    digest = (digest ^ word) * kMultiplier;
    digest ^= digest >> 29;
  };
  const uint8_t* bytes = image.pixels.data();
  size_t left = image.pixels.size();
  for (; left >= 8; left -= 8, bytes += 8) {
    uint64_t word;
    std::memcpy(&word, bytes, 8);
    mix(word);
  }
  uint64_t tail = left;  // the count too, so that trailing zeros count
  for (size_t i = 0; i < left; ++i) tail |= static_cast<uint64_t>(bytes[i]) << (8 * (i + 1));
  mix(tail);
  return digest;
}

LostPixels pixelsLostInDrawing(const RgbaImage& image, bool premultiplied) {
  LostPixels lost;
  for (size_t i = 0; i < image.pixels.size(); i += 4) {
    const uint8_t* p = &image.pixels[i];
    if (p[3] == 0 ? (p[0] | p[1] | p[2]) != 0 : premultiplied && p[3] != 255) {
      uint32_t bytes;
      std::memcpy(&bytes, p, 4);
      lost.emplace_back(static_cast<uint32_t>(i / 4), bytes);
    }
  }
  return lost;
}

bool equalsCell(const RgbaImage& image, const RgbaImage& canvas, int64_t x, int64_t y,
                const LostPixels& lost) {
  auto next = lost.begin();
  uint32_t index = 0;
  for (int32_t row = 0; row < image.height; ++row) {
    const uint8_t* a = image.pixel(0, row);
    const uint8_t* b = canvas.pixel(static_cast<int32_t>(x), static_cast<int32_t>(y) + row);
    for (int32_t column = 0; column < image.width; ++column, a += 4, b += 4, ++index) {
      if (next != lost.end() && next->first == index) {
        if (std::memcmp(a, &(next++)->second, 4) != 0) return false;
        continue;
      }
      if (a[3] != b[3]) return false;
      if (a[3] == 0 ? (a[0] | a[1] | a[2]) != 0 : std::memcmp(a, b, 3) != 0) return false;
    }
  }
  return true;
}

void IdenticalFrames::offer(size_t index, uint64_t digest, const RgbaImage& image,
                            LostPixels lost) {
  byDigest_.emplace(digest, index);
  if (lost.empty()) return;
  // Each lost pixel costs twice a pixel of a copy.
  if (lost.size() > image.pixels.size() / 8) {
    copies_.emplace(index, image);
  } else {
    lost_.emplace(index, std::move(lost));
  }
}

const RgbaImage* IdenticalFrames::copy(size_t index) const {
  const auto found = copies_.find(index);
  return found == copies_.end() ? nullptr : &found->second;
}

const LostPixels& IdenticalFrames::lost(size_t index) const {
  static const LostPixels kNone;
  const auto found = lost_.find(index);
  return found == lost_.end() ? kNone : found->second;
}

}  // namespace oz
