#include "sheet/sheet_pixels.h"

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "base/parallel.h"
#include "sheet/quantiser/reduction.h"

namespace oz {
namespace {

// (c x a + 255 x (255 - a)) / 255, rounding down: a pixel laid over white.
// Opaque pixels keep their colour, which is all the palette depths hand over
// once the background is laid in: they are copied rather than worked out.
void flattenOntoWhite(const uint8_t* rgba, int32_t width, uint8_t* rgb) {
  for (int32_t x = 0; x < width; ++x, rgba += 4, rgb += 3) {
    const uint32_t a = rgba[3];
    if (a == 255) {
      std::memcpy(rgb, rgba, 3);
      continue;
    }
    const uint32_t white = 255 * (255 - a);
    rgb[0] = static_cast<uint8_t>((rgba[0] * a + white) / 255);
    rgb[1] = static_cast<uint8_t>((rgba[1] * a + white) / 255);
    rgb[2] = static_cast<uint8_t>((rgba[2] * a + white) / 255);
  }
}

// Rewrites the RGBA rows in `pixels` laid over white, 3 bytes a pixel, each row
// `stride` bytes after the previous one. A row never grows, so no row is
// overwritten before it is read.
void flattenInPlace(std::vector<uint8_t>& pixels, int32_t width, int32_t height, size_t stride) {
  const size_t rgbaBytes = static_cast<size_t>(width) * 4;
  std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
  for (int32_t y = 0; y < height; ++y) {
    flattenOntoWhite(pixels.data() + rgbaBytes * y, width, row.data());
    std::memcpy(pixels.data() + stride * y, row.data(), row.size());
  }
}

// The index rows of a reduction, with the pixels it reads from.
class ReducedRows final : public IndexRows {
 public:
  ReducedRows(std::vector<uint8_t>&& pixels, std::unique_ptr<Reduction> reduction)
      : pixels_(std::move(pixels)), reduction_(std::move(reduction)) {}

  std::span<const uint8_t> row(int32_t y) override { return reduction_->row(y); }

 private:
  std::vector<uint8_t> pixels_;
  std::unique_ptr<Reduction> reduction_;  // reads pixels_, so it goes first
};

int paletteBits(SheetForm form) {
  switch (form) {
    case SheetForm::Palette8:
      return 8;
    case SheetForm::Palette4:
      return 4;
    default:
      return 1;
  }
}

// Lays the canvas over white as the opaque reduction reads it: rows of 3 bytes
// a pixel that start on 4-byte boundaries, in the canvas's own room (never
// more than 4 bytes a pixel). Returns the row stride.
size_t flattenForReduction(RgbaImage& canvas) {
  const size_t stride = (static_cast<size_t>(canvas.width) * 3 + 3) & ~size_t{3};
  flattenInPlace(canvas.pixels, canvas.width, canvas.height, stride);
  for (int32_t y = 0; y < canvas.height; ++y) {
    std::fill(canvas.pixels.begin() + stride * y + size_t{3} * canvas.width,
              canvas.pixels.begin() + stride * (y + 1), uint8_t{0});
  }
  return stride;
}

std::optional<PngPixels> reduced(RgbaImage canvas, const SheetEncoding& encoding) {
  const int32_t width = canvas.width;
  const int32_t height = canvas.height;
  const int bits = paletteBits(encoding.form);
  const bool keepsAlpha = encoding.transparent && bits > 1;
  ReductionRequest request;
  request.width = width;
  request.height = height;
  request.withAlpha = keepsAlpha;
  request.bits = bits;
  request.dither = encoding.dither;
  request.quantiser =
      encoding.quantiser == PaletteQuantiser::KMeans ? Quantiser::KMeans : Quantiser::Network;
  request.threads = machineThreads();
  request.stride = keepsAlpha ? static_cast<size_t>(width) * 4 : flattenForReduction(canvas);
  request.pixels = canvas.pixels.data();
  std::unique_ptr<Reduction> reduction = Reduction::open(request);
  if (reduction == nullptr || reduction->palette().size() != (size_t{1} << bits)) {
    return std::nullopt;
  }
  IndexedImage image{width, height, static_cast<PaletteBitDepth>(bits), {}, nullptr};
  for (const PaletteColour& c : reduction->palette()) {
    // An opaque sheet's palette is opaque whatever alphas the network learnt.
    image.palette.push_back({c.red, c.green, c.blue, keepsAlpha ? c.alpha : uint8_t{255}});
  }
  image.rows = std::make_unique<ReducedRows>(std::move(canvas.pixels), std::move(reduction));
  return image;
}

}  // namespace

SheetEncoding sheetEncoding(const SpriteOptions& options) {
  const DepthInfo& info = depthInfo(options.colorDepth);
  return {info.form, info.ditheringAllowed && options.dithering,
          keepsTransparency(options.colorDepth, options.transparent), options.quantiser};
}

std::optional<PngPixels> sheetPixels(RgbaImage canvas, const SheetEncoding& encoding) {
  switch (encoding.form) {
    case SheetForm::Rgba:
      return canvas;
    case SheetForm::Rgb: {
      const size_t rowBytes = static_cast<size_t>(canvas.width) * 3;
      flattenInPlace(canvas.pixels, canvas.width, canvas.height, rowBytes);
      canvas.pixels.resize(rowBytes * canvas.height);
      return RgbImage{canvas.width, canvas.height, std::move(canvas.pixels)};
    }
    default:
      return reduced(std::move(canvas), encoding);
  }
}

}  // namespace oz
