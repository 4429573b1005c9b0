// What each colour depth choice does to the composed canvas before it is
// written, and how the writer is asked to store it.
#pragma once

#include <cstdint>

#include "sheet/build_sheet.h"
#include "sheet/frame.h"

namespace oz {

// Rewrites every canvas pixel for the depth, without blending:
// - palette depths, and 24-bit with Remove Alpha: alpha up to 32 becomes the
//   opaque background (pink 255, 0, 255 or black), any other pixel keeps its
//   stored colour and becomes opaque;
// - "Alpha": (a, a, a, 255), the alpha as a grey level;
// - 32-bit, and 24-bit without Remove Alpha: unchanged (the writer lays the
//   24-bit form over white).
void prepareForDepth(RgbaImage& canvas, const BuildOptions& options);

struct WriterSettings {
  int32_t bits = 32;
  int32_t ditherFlag = 0;
  PaletteQuantiser quantiser = PaletteQuantiser::Network;
};

// Bits per pixel, dither flag and quantiser for the depth choice.
WriterSettings writerSettings(const BuildOptions& options);

}  // namespace oz
