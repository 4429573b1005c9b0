// The form a sheet's pixels are stored in, chosen from its depth, and the
// prepared canvas turned into that form for the PNG writer: RGBA as it is,
// RGB laid over white, or a palette and its index rows from the colour
// reduction, which learns from the pixels laid over white or, for a palette
// that keeps transparency, from the RGBA pixels themselves.
#pragma once

#include <optional>

#include "sheet/color_depth.h"
#include "sheet/png/png_write.h"
#include "sheet/sprite_options.h"

namespace oz {

struct SheetEncoding {
  SheetForm form = SheetForm::Rgba;
  bool dither = false;       // error diffusion, for the 8- and 4-bit palettes
  bool transparent = false;  // 8- and 4-bit: the palette learns and keeps alpha
};

SheetEncoding sheetEncoding(const SpriteOptions& options);

// `canvas` in the form `encoding` asks for. Its storage becomes the pixels
// handed on, so move the canvas in. For the palette forms this trains the
// palette; the index rows are mapped when the writer asks for them. Nothing
// when the colour reduction refuses the image.
std::optional<PngPixels> sheetPixels(RgbaImage canvas, const SheetEncoding& encoding);

}  // namespace oz
