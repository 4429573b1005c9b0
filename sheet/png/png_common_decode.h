// Decoding the form of PNG that most tools write for sprite frames: 8-bit RGBA
// or RGB, not interlaced, with no palette or transparency chunk, up to about
// 1,400 x 1,400 pixels. The image
// data is inflated in one call by libdeflate and unfiltered here, in about a
// third of the time libpng takes.
//
// Only a file that is whole and clean in every part this decoder reads gives
// pixels: a chunk of another kind that shapes the pixels, a bad checksum, a
// stream that does not hold exactly the rows, or anything else out of the
// ordinary gives nothing, and the caller hands the file to libpng, which then
// decodes or refuses it as it always has. So this decoder changes only the
// time, never which files decode nor their pixels.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "sheet/png/rgba_image.h"

namespace oz {

// The pixels of the PNG file `file`, when it is of the common form and clean.
std::optional<RgbaImage> decodeCommonPng(std::span<const uint8_t> file);

}  // namespace oz
