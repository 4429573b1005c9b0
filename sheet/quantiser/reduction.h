// Colour reduction for the palette forms of the sheet writer: a palette of
// 2^bits entries and the packed index rows, produced one row at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace oz {

struct PaletteColour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t alpha = 0;
  bool operator==(const PaletteColour&) const = default;
};

// Which quantiser makes the 4- and 8-bit palettes.
enum class Quantiser {
  // The self-organising network: the palettes sheets have always had, byte
  // for byte.
  Network,
  // The network's palette refined by k-means on the image's colours, every
  // pixel mapped to the nearest entry: closer to the image, for some more time.
  KMeans,
};

// What to reduce and how, for Reduction::open.
struct ReductionRequest {
  const uint8_t* pixels = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  size_t stride = 0;       // bytes from one row to the next
  bool withAlpha = false;  // 4 bytes of straight alpha a pixel; otherwise 3, opaque
  int32_t bits = 8;        // 1, 4 or 8; 1 only without alpha
  bool dither = false;     // error diffusion at 4 and 8 bits
  Quantiser quantiser = Quantiser::Network;
  // Threads the k-means palette may be made on; it is the same for any number.
  size_t threads = 1;
};

class Reduction {
 public:
  // Opens a reduction over opaque pixels: 3 bytes (red, green, blue) per pixel,
  // rows `stride` bytes apart, top row first. `bits` is 1, 4 or 8; `dither`
  // asks for error diffusion (ignored at 1 bit). For 4 and 8 bits
  // this trains the palette, so it costs most of the reduction's time.
  // nullptr for any other bit count or an empty image.
  static std::unique_ptr<Reduction> open(const uint8_t* pixels3, int32_t width, int32_t height,
                                         size_t stride, int32_t bits, bool dither);
  // Opens a reduction that keeps transparency, over straight-alpha pixels: 4
  // bytes (red, green, blue, alpha) per pixel, colour not multiplied by alpha,
  // rows `stride` bytes apart, top row first. `bits` is 4 or 8. The palette
  // learns from the pixels' colour and alpha; its entries carry alpha, those
  // below 255 first. A pixel of alpha 0 always gets an entry of alpha 0, and
  // one of alpha 255 an entry of alpha 255.
  // nullptr for any other bit count or an empty image.
  static std::unique_ptr<Reduction> openWithAlpha(const uint8_t* rgba, int32_t width,
                                                  int32_t height, size_t stride, int32_t bits,
                                                  bool dither);
  // Opens the reduction `request` asks for. With Quantiser::Network this is
  // exactly open or openWithAlpha; 1 bit is the same threshold with either.
  // nullptr where those refuse.
  static std::unique_ptr<Reduction> open(const ReductionRequest& request);
  virtual ~Reduction() = default;

  // 2^bits entries in palette-index order.
  virtual std::span<const PaletteColour> palette() const = 0;
  // The packed index row y: ceil(width x bits / 8) bytes, first pixel in the
  // high bits, unused low bits 0. REQUIRES: rows are asked for in order 0, 1, ...,
  // height - 1, each once (dithering carries error from one row to the next).
  // The span stays valid until the next call.
  virtual std::span<const uint8_t> row(int32_t y) = 0;
};

}  // namespace oz
