// Finding frames whose pixels equal an earlier frame's, so that they can share
// its cell on the sheet: held frames of an animation then cost nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "sheet/png/rgba_image.h"

namespace oz {

// A 64-bit digest of an image's size and pixels. Equal images have equal
// digests; unequal ones almost never do, and are told apart by comparing.
uint64_t pixelDigest(const RgbaImage& image);

// The pixels of a frame that drawing it onto the sheet changes, each as its
// index in the frame and its 4 bytes as they were, in index order: the colour
// of invisible pixels, cleared, and premultiplied, that of translucent ones.
using LostPixels = std::vector<std::pair<uint32_t, uint32_t>>;
LostPixels pixelsLostInDrawing(const RgbaImage& image, bool premultiplied);

// Whether `image` equals the frame drawn on `canvas` at (x, y), whose pixels
// the drawing changed are `lost`. The invisible pixels on the canvas may have
// taken colours since (alpha bleeding): their colour was 0 unless lost.
// REQUIRES: the rectangle of `image`'s size at (x, y) lies inside `canvas`.
bool equalsCell(const RgbaImage& image, const RgbaImage& canvas, int64_t x, int64_t y,
                const LostPixels& lost);

// The frames that own a cell, by digest, offered in list order, with what
// drawing them lost, or a copy of those that lost more than half their pixels.
class IdenticalFrames {
 public:
  // The first frame offered of `digest` for which `equal(index)` holds.
  template <typename Equal>
  std::optional<size_t> find(uint64_t digest, const Equal& equal) const {
    const auto [first, last] = byDigest_.equal_range(digest);
    for (auto candidate = first; candidate != last; ++candidate) {
      if (equal(candidate->second)) return candidate->second;
    }
    return std::nullopt;
  }

  // Frame `index` owns a cell; `image` is its pixels, `lost` what drawing
  // them loses.
  void offer(size_t index, uint64_t digest, const RgbaImage& image, LostPixels lost);

  // Frame `index`'s pixels when a copy was kept, else null.
  const RgbaImage* copy(size_t index) const;
  // What drawing frame `index` lost, when no copy was kept.
  const LostPixels& lost(size_t index) const;

 private:
  std::unordered_multimap<uint64_t, size_t> byDigest_;
  std::unordered_map<size_t, RgbaImage> copies_;
  std::unordered_map<size_t, LostPixels> lost_;
};

}  // namespace oz
