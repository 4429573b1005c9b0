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

size_t IdenticalFrames::offer(size_t index, RgbaImage image, uint64_t digest) {
  const auto [first, last] = byDigest_.equal_range(digest);
  for (auto candidate = first; candidate != last; ++candidate) {
    const RgbaImage& earlier = kept_.at(candidate->second);
    if (earlier.width == image.width && earlier.height == image.height &&
        earlier.pixels == image.pixels) {
      return candidate->second;
    }
  }
  byDigest_.emplace(digest, index);
  keptPixels_ += static_cast<uint64_t>(image.width) * static_cast<uint64_t>(image.height);
  kept_.emplace(index, std::move(image));
  return index;
}

const RgbaImage* IdenticalFrames::kept(size_t index) const {
  const auto found = kept_.find(index);
  return found == kept_.end() ? nullptr : &found->second;
}

}  // namespace oz
