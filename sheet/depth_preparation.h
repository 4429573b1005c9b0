// What each colour depth choice does to the composed canvas before it is
// stored.
#pragma once

#include "sheet/png/rgba_image.h"
#include "sheet/sprite_options.h"

namespace oz {

// Rewrites every canvas pixel for the depth, without blending:
// - palette depths, and 24-bit with Remove Alpha: alpha up to 32 becomes the
//   opaque background (pink 255, 0, 255 or black), any other pixel keeps its
//   stored colour and becomes opaque;
// - "Alpha": (a, a, a, 255), the alpha as a grey level;
// - 32-bit, 24-bit without Remove Alpha, and a palette that keeps
//   transparency: unchanged (a 24-bit sheet is laid over white when it is
//   stored).
void prepareForDepth(RgbaImage& canvas, const SpriteOptions& options);

}  // namespace oz
