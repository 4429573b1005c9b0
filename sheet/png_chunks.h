// The chunks of a PNG file as the sheet writer frames them: signature, IHDR,
// PLTE for the palette forms, the image data in IDAT chunks, IEND.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>

namespace oz {

struct PngHeader {
  uint32_t width = 0;
  uint32_t height = 0;
  uint8_t bitDepth = 8;
  uint8_t colorType = 6;  // 2 RGB, 3 palette, 6 RGBA; never interlaced
};

// Writes a whole PNG file to `file`: `palette` holds red, green, blue of each
// entry (empty for the RGB and RGBA forms) and `imageData` is the zlib stream
// of the filtered rows, the bytes of its parts in order. False when writing
// fails.
bool writePngChunks(FILE* file, const PngHeader& header, std::span<const uint8_t> palette,
                    std::span<const std::span<const uint8_t>> imageData);

}  // namespace oz
