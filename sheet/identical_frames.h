// Finding frames whose pixels equal an earlier frame's, so that they can share
// its cell on the sheet: held frames of an animation then cost nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "sheet/png/rgba_image.h"

namespace oz {

// A 64-bit digest of an image's size and pixels. Equal images have equal
// digests; unequal ones almost never do, and are told apart by comparing.
uint64_t pixelDigest(const RgbaImage& image);

// The frames of one build, offered in list order.
class IdenticalFrames {
 public:
  // The index of the first frame offered before whose size and pixels equal
  // `image`'s, or `index` itself when there is none; the image is then kept, as
  // the pixels of a cell. `digest` is pixelDigest(image): only frames of the
  // same digest are compared, byte for byte.
  size_t offer(size_t index, RgbaImage image, uint64_t digest);

  // The pixels kept so far, over all kept images.
  uint64_t keptPixels() const { return keptPixels_; }

  // The kept image of frame `index`; null when `index` shares another frame's
  // cell. Safe to call from several threads once every frame was offered.
  const RgbaImage* kept(size_t index) const;

 private:
  std::unordered_multimap<uint64_t, size_t> byDigest_;
  std::unordered_map<size_t, RgbaImage> kept_;
  uint64_t keptPixels_ = 0;
};

}  // namespace oz
