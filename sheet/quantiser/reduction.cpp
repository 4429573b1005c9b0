#include "sheet/quantiser/reduction.h"

#include <algorithm>
#include <array>
#include <vector>

#include "sheet/quantiser/alpha_palette.h"
#include "sheet/quantiser/colormap.h"
#include "sheet/quantiser/gamma.h"
#include "sheet/quantiser/image_view.h"
#include "sheet/quantiser/packing.h"
#include "sheet/quantiser/palette_search.h"
#include "sheet/quantiser/row_mapping.h"
#include "sheet/quantiser/training.h"
#include "sheet/quantiser/working_rows.h"

namespace oz {
namespace {

// The index row: one index per pixel, then packed in place. Zero-filled so the
// bytes past the width, read by packing, are 0.
std::vector<uint8_t> indexRow(int32_t width) {
  return std::vector<uint8_t>(static_cast<size_t>(width) + 8, 0);
}

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

// What the mapping keeps of a trained network: the colormap for the search and
// the palette for the file and the dithering.
struct TrainedPalette {
  Colormap map;
  std::array<PaletteColour, 256> palette;
};

TrainedPalette trainPalette(const OpaqueImage& image, int netsize, const GammaTable& gt) {
  Network net = initialNetwork(netsize, gt);
  trainNetwork(net, gt, image);
  const Colormap map = finishNetwork(net, gt);
  return {map, paletteOf(net)};
}

// 4 and 8 bits: the trained palette, and each row mapped to it when asked for.
class NetworkReduction final : public Reduction {
 public:
  NetworkReduction(const OpaqueImage& image, int32_t bits, bool dither)
      : image_(image),
        bits_(bits),
        dither_(dither),
        gt_(makeGammaTable()),
        trained_(trainPalette(image, 1 << bits, gt_)),
        search_(trained_.map, gt_),
        working_(dither ? image.width : 0),
        indices_(indexRow(image.width)) {}

  std::span<const PaletteColour> palette() const override {
    return {trained_.palette.data(), static_cast<size_t>(trained_.map.netsize)};
  }

  std::span<const uint8_t> row(int32_t y) override {
    const int32_t width = image_.width;
    if (!dither_) {
      mapRow(image_.row(y), width, search_, indices_.data());
    } else {
      // Working pixels start as the opaque pixels with alpha 255.
      working_.moveTo(y, image_.height, [this](int32_t row, uint8_t* rgba) {
        const uint8_t* rgb = image_.row(row);
        for (int32_t x = 0; x < image_.width; ++x, rgb += 3, rgba += 4) {
          rgba[0] = rgb[0];
          rgba[1] = rgb[1];
          rgba[2] = rgb[2];
          rgba[3] = 255;
        }
      });
      diffusion_.mapRow(working_.current(), working_.below(), width, palette(), search_,
                        indices_.data());
    }
    packIndices(indices_.data(), width, bits_);
    return {indices_.data(), packedRowBytes(width, bits_)};
  }

 private:
  OpaqueImage image_;
  int32_t bits_;
  bool dither_;
  GammaTable gt_;
  TrainedPalette trained_;
  CachedSearch search_;
  ErrorDiffusion diffusion_;
  WorkingRows working_;
  std::vector<uint8_t> indices_;
};

// 4 and 8 bits over straight-alpha pixels: the palette keeps transparency.
class AlphaReduction final : public Reduction {
 public:
  AlphaReduction(const AlphaImage& image, int32_t bits, bool dither)
      : image_(image),
        bits_(bits),
        dither_(dither),
        gt_(makeGammaTable()),
        palette_(trainAlphaPalette(image, bits, gt_)),
        search_(palette_, gt_),
        working_(dither ? image.width : 0),
        indices_(indexRow(image.width)) {}

  std::span<const PaletteColour> palette() const override {
    return {palette_.colours.data(), static_cast<size_t>(palette_.size)};
  }

  std::span<const uint8_t> row(int32_t y) override {
    const int32_t width = image_.width;
    const uint8_t* source = image_.row(y);
    if (!dither_) {
      mapAlphaRow(source, width, search_, indices_.data());
    } else {
      working_.moveTo(y, image_.height, [this](int32_t row, uint8_t* rgba) {
        std::copy_n(image_.row(row), 4 * static_cast<size_t>(image_.width), rgba);
      });
      diffusion_.mapRow(working_.current(), working_.below(), width, palette(), search_,
                        indices_.data(), source);
    }
    packIndices(indices_.data(), width, bits_);
    return {indices_.data(), packedRowBytes(width, bits_)};
  }

 private:
  AlphaImage image_;
  int32_t bits_;
  bool dither_;
  GammaTable gt_;
  AlphaPalette palette_;
  AlphaSearch search_;
  ErrorDiffusion diffusion_;
  WorkingRows working_;
  std::vector<uint8_t> indices_;
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

}  // namespace oz
