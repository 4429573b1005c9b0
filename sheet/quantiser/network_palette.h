// The network's palette for opaque pixels, as the sheet's reduction trains it.
#pragma once

#include <array>

#include "sheet/quantiser/colormap.h"
#include "sheet/quantiser/image_view.h"
#include "sheet/quantiser/reduction.h"

namespace oz {

// What the mapping keeps of a trained network: the colormap for the search and
// the palette for the file and the dithering.
struct TrainedPalette {
  Colormap map;
  std::array<PaletteColour, 256> palette;
};

// `sampleDivisor` as planTraining takes it.
TrainedPalette trainPalette(const OpaqueImage& image, int netsize, const GammaTable& gt,
                            int sampleDivisor = 1);

}  // namespace oz
