// Producing the packed index rows of a 4- or 8-bit reduction, one at a time,
// in order: each pixel mapped to its entry by a search, or with error
// diffusion, from either kind of image.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

#include "sheet/quantiser/image_view.h"
#include "sheet/quantiser/packing.h"
#include "sheet/quantiser/reduction.h"
#include "sheet/quantiser/row_mapping.h"

namespace oz {

// The index row: one index per pixel, then packed in place. Zero-filled so the
// bytes past the width, read by packing, are 0.
inline std::vector<uint8_t> indexRow(int32_t width) {
  return std::vector<uint8_t>(static_cast<size_t>(width) + 8, 0);
}

template <class Image>
class RowMapper {
 public:
  RowMapper(const Image& image, int32_t bits, bool dither)
      : image_(image),
        bits_(bits),
        dither_(dither),
        indices_(indexRow(image.width)),
        current_(dither ? 4 * static_cast<size_t>(image.width) : 0),
        next_(current_.size()) {}

  // The packed row y, each pixel given search(red, green, blue, alpha).
  // REQUIRES: y = 0, 1, ..., height - 1 in order, each once.
  template <class Search>
  std::span<const uint8_t> row(int32_t y, std::span<const PaletteColour> palette, Search& search) {
    const int32_t width = image_.width;
    const uint8_t* source = image_.row(y);
    if (!dither_) {
      if constexpr (Image::kBytes == 3) {
        mapRow(source, width, search, indices_.data());
      } else {
        mapAlphaRow(source, width, search, indices_.data());
      }
    } else {
      moveTo(y);
      uint8_t* below = y + 1 < image_.height ? next_.data() : nullptr;
      // Translucent sources keep their clear and opaque pixels at that alpha.
      diffusion_.mapRow(current_.data(), below, width, palette, search, indices_.data(),
                        Image::kBytes == 4 ? source : nullptr);
    }
    packIndices(indices_.data(), width, bits_);
    return {indices_.data(), packedRowBytes(width, bits_)};
  }

 private:
  // Dithering pushes error only from a row into the one below it, so two rows
  // of working pixels (4 bytes each) hold all the state a full-size working
  // copy would: row y, with the error pushed into it, and row y + 1 fresh.
  void moveTo(int32_t y) {
    if (y == 0) {
      load(0, current_.data());
    } else {
      std::swap(current_, next_);
    }
    if (y + 1 < image_.height) load(y + 1, next_.data());
  }

  // Working pixels start as the image's, opaque ones with alpha 255.
  void load(int32_t y, uint8_t* rgba) const {
    const uint8_t* p = image_.row(y);
    if constexpr (Image::kBytes == 4) {
      std::copy_n(p, 4 * static_cast<size_t>(image_.width), rgba);
    } else {
      for (int32_t x = 0; x < image_.width; ++x, p += 3, rgba += 4) {
        rgba[0] = p[0];
        rgba[1] = p[1];
        rgba[2] = p[2];
        rgba[3] = 255;
      }
    }
  }

  Image image_;
  int32_t bits_;
  bool dither_;
  std::vector<uint8_t> indices_;
  ErrorDiffusion diffusion_;
  std::vector<uint8_t> current_;  // dithering: the row being mapped
  std::vector<uint8_t> next_;     // dithering: the row below, collecting pushed error
};

}  // namespace oz
