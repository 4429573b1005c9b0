// Frame decoding: the form most tools write by libdeflate
// (png_common_decode.h), every other through libpng.
//
// Frames decode to 8-bit RGBA whatever their colour type: palette and grey are
// expanded, a tRNS chunk becomes alpha, 16-bit samples keep their high byte,
// interlaced files give the same pixels as non-interlaced ones, and no gamma
// or colour correction is applied.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "sheet/png/rgba_image.h"

namespace oz {

// The whole image at `path`, or nothing when the file cannot be read or is not
// a regular file, is not a PNG, or libpng reports any error. Never a partial image.
std::optional<RgbaImage> decodePng(const std::string& path);

// decodePng by libpng alone, for every file the form it decodes: decodePng
// gives the same for every file, which the frame decoder's fuzz target checks.
std::optional<RgbaImage> decodePngWithLibpng(const std::string& path);

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

}  // namespace oz
