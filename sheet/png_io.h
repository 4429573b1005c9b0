// PNG reading and writing through libpng.
//
// Frames decode to 8-bit RGBA whatever their colour type: palette and grey are
// expanded, a tRNS chunk becomes alpha, 16-bit samples keep their high byte,
// interlaced files give the same pixels as non-interlaced ones, and no gamma
// or colour correction is applied. The sheet is written as RGBA (32 bits), RGB
// flattened onto white (24 bits) or a palette of 2^bits entries from the colour
// reduction (8, 4 and 1 bits); its rows are unfiltered and deflated as one zlib
// stream, or, when asked for the smallest file, filtered row by row and
// deflated as hard as the compressor can.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "sheet/frame.h"
#include "sheet/sprite_options.h"

namespace oz {

// The whole image at `path`, or nothing when the file cannot be read or is not
// a regular file, is not a PNG, or libpng reports any error. Never a partial image.
std::optional<RgbaImage> decodePng(const std::string& path);

struct PngSize {
  int64_t width = 0;
  int64_t height = 0;
  // The rest of the file is too short for that many pixels, even at deflate's
  // best ratio, so the file never decodes.
  bool tooShort = false;
  bool operator==(const PngSize&) const = default;
};

// The size a PNG's header declares, read without decoding any pixel. Nothing
// when decodePng would fail before reaching the pixels (unreadable file, wrong
// signature, damaged header); a file whose pixel data is damaged or too short
// still has a size.
std::optional<PngSize> readPngSize(const std::string& path);

enum class PngWriteStatus {
  Written,
  EmptyPath,       // nothing was asked for
  BadImage,        // the image is empty or `bits` is not 32, 24, 8, 4 or 1
  CannotCreate,    // the path is a directory, or the file to write cannot be made or opened
  OutOfMemory,     // the image data or its compressed form does not fit
  NoReduction,     // the colour reduction refused the image
  EncodingFailed,  // writing the file failed
  CannotReplace,   // finishing the file or moving it over the path failed
};

enum class PngCompression {
  Default,   // rows unfiltered, compressed fast to about the size zlib's level 9 gives
  Smallest,  // the row filters and compression that give the smallest file, slowly
};

// Called after each row is laid out for compression with the number of rows
// laid out so far; compression and writing follow the last one.
using RowsWritten = std::function<void(int32_t rows)>;

// Writes `image` to `path` with `bits` per pixel (32, 24, 8, 4 or 1).
// `ditherFlag` is kDitherFlag (256) or 0 and `quantiser` chooses the palette;
// both matter to the 8- and 4-bit forms only. The image is taken by value because its storage
// becomes the image data: move the canvas in to spare a copy. The file is written beside `path` and
// renamed over it once complete, so on any failure an existing file at `path` is untouched and
// nothing partial is left behind.
PngWriteStatus encodePng(RgbaImage image, const std::string& path, int32_t bits, int32_t ditherFlag,
                         PngCompression compression = PngCompression::Default,
                         const RowsWritten& rowsWritten = nullptr,
                         PaletteQuantiser quantiser = PaletteQuantiser::Network);

}  // namespace oz
