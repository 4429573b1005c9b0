#include "sheet/quantiser/reduction.h"

#include <algorithm>
#include <array>
#include <vector>

#include "sheet/quantiser/alpha_palette.h"
#include "sheet/quantiser/colormap.h"
#include "sheet/quantiser/gamma.h"
#include "sheet/quantiser/image_view.h"
#include "sheet/quantiser/network_palette.h"
#include "sheet/quantiser/packing.h"
#include "sheet/quantiser/palette_search.h"
#include "sheet/quantiser/refined_reduction.h"
#include "sheet/quantiser/row_mapper.h"
#include "sheet/quantiser/row_mapping.h"
#include "sheet/quantiser/training.h"

namespace oz {
namespace {

// 1 bit: a fixed black-and-white palette and a luminance threshold, never dithered.
class OneBitReduction final : public Reduction {
 public:
  explicit OneBitReduction(const OpaqueImage& image)
      : image_(image), indices_(indexRow(image.width)) {}

  std::span<const PaletteColour> palette() const override { return palette_; }

  std::span<const uint8_t> row(int32_t y) override {
    thresholdRow(image_.row(y), image_.width, indices_.data());
    packIndices(indices_.data(), image_.width, 1);
    return {indices_.data(), packedRowBytes(image_.width, 1)};
  }

 private:
  OpaqueImage image_;
  std::vector<uint8_t> indices_;
  std::array<PaletteColour, 2> palette_{PaletteColour{0, 0, 0, 255},
                                        PaletteColour{255, 255, 255, 255}};
};

// 4 and 8 bits: the trained palette, and each row mapped to it when asked for.
class NetworkReduction final : public Reduction {
 public:
  NetworkReduction(const OpaqueImage& image, int32_t bits, bool dither)
      : gt_(makeGammaTable()),
        trained_(trainPalette(image, 1 << bits, gt_)),
        search_(trained_.map, gt_),
        rows_(image, bits, dither) {}

  std::span<const PaletteColour> palette() const override {
    return {trained_.palette.data(), static_cast<size_t>(trained_.map.netsize)};
  }

  std::span<const uint8_t> row(int32_t y) override { return rows_.row(y, palette(), search_); }

 private:
  GammaTable gt_;
  TrainedPalette trained_;
  CachedSearch search_;
  RowMapper<OpaqueImage> rows_;
};

// 4 and 8 bits over straight-alpha pixels: the palette keeps transparency.
class AlphaReduction final : public Reduction {
 public:
  AlphaReduction(const AlphaImage& image, int32_t bits, bool dither)
      : gt_(makeGammaTable()),
        palette_(trainAlphaPalette(image, bits, gt_)),
        search_(palette_, gt_, !dither),
        rows_(image, bits, dither) {}

  std::span<const PaletteColour> palette() const override {
    return {palette_.colours.data(), static_cast<size_t>(palette_.size)};
  }

  std::span<const uint8_t> row(int32_t y) override { return rows_.row(y, palette(), search_); }

 private:
  GammaTable gt_;
  AlphaPalette palette_;
  AlphaSearch search_;
  RowMapper<AlphaImage> rows_;
};

}  // namespace

std::unique_ptr<Reduction> Reduction::open(const uint8_t* pixels3, int32_t width, int32_t height,
                                           size_t stride, int32_t bits, bool dither) {
  if (pixels3 == nullptr || width <= 0 || height <= 0) return nullptr;
  const OpaqueImage image{pixels3, width, height, stride};
  if (bits == 1) return std::make_unique<OneBitReduction>(image);
  if (bits == 4 || bits == 8) {
    return std::make_unique<NetworkReduction>(image, bits, dither);
  }
  return nullptr;
}

std::unique_ptr<Reduction> Reduction::openWithAlpha(const uint8_t* rgba, int32_t width,
                                                    int32_t height, size_t stride, int32_t bits,
                                                    bool dither) {
  if (rgba == nullptr || width <= 0 || height <= 0) return nullptr;
  if (bits != 4 && bits != 8) return nullptr;
  return std::make_unique<AlphaReduction>(AlphaImage{rgba, width, height, stride}, bits, dither);
}

std::unique_ptr<Reduction> Reduction::open(const ReductionRequest& r) {
  const bool refined = r.quantiser == Quantiser::KMeans && (r.bits == 4 || r.bits == 8);
  if (!r.withAlpha) {
    if (!refined) return open(r.pixels, r.width, r.height, r.stride, r.bits, r.dither);
    if (r.pixels == nullptr || r.width <= 0 || r.height <= 0) return nullptr;
    return openRefined(OpaqueImage{r.pixels, r.width, r.height, r.stride}, r.bits, r.dither,
                       r.threads);
  }
  if (!refined) return openWithAlpha(r.pixels, r.width, r.height, r.stride, r.bits, r.dither);
  if (r.pixels == nullptr || r.width <= 0 || r.height <= 0) return nullptr;
  return openRefined(AlphaImage{r.pixels, r.width, r.height, r.stride}, r.bits, r.dither,
                     r.threads);
}

}  // namespace oz
