// The last steps of a build for one sheet: the composed canvas prepared for
// the chosen depth, put in the form the sheet is stored in (the palette
// trained for the palette depths) and encoded as a PNG.
#pragma once

#include "base/atomic_file.h"
#include "sheet/build_steps.h"
#include "sheet/png/png_write.h"

namespace oz {

// Encodes `canvas` into `file` (opened, left uncommitted). Stopped when the
// progress callback asks; BadImage when the colour reduction refuses it.
PngWriteStatus writeSheetInto(RgbaImage canvas, const BuildOptions& options, AtomicFile& file,
                              Progress& progress);

}  // namespace oz
