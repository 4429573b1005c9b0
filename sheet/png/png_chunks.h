// The chunks of a PNG file as the sheet writer frames them: signature, IHDR,
// PLTE and tRNS for the palette forms, the image data in IDAT chunks, IEND.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>

namespace oz {

// The colour types of the PNG format, by their numbers in IHDR.
enum class PngColorType : uint8_t { Grey = 0, Rgb = 2, Palette = 3, Rgba = 6 };

struct PngHeader {
  uint32_t width = 0;
  uint32_t height = 0;
  uint8_t bitDepth = 8;
  PngColorType colorType = PngColorType::Rgba;  // never interlaced
};

// Writes a whole PNG file to `file`: `palette` holds red, green, blue of each
// entry (empty for the RGB and RGBA forms), `transparency` the alphas of the
// first entries (no tRNS chunk when empty), and `imageData` is the zlib stream
// of the filtered rows, the bytes of its parts in order. False when writing
// fails.
bool writePngChunks(FILE* file, const PngHeader& header, std::span<const uint8_t> palette,
                    std::span<const uint8_t> transparency,
                    std::span<const std::span<const uint8_t>> imageData);

}  // namespace oz
