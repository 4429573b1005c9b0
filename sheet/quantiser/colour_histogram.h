// The distinct colours of an image, each with how often it occurs, counted
// over a bounded sample of its pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "sheet/quantiser/image_view.h"

namespace oz {

struct CountedColour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t alpha = 0;
  uint32_t count = 0;
  bool operator==(const CountedColour&) const = default;
};

// At most this many pixels are counted: every pixel of a sheet up to
// 1024 x 1024, a spread sample of a larger one. It bounds both the time and
// the table (a few bytes per distinct colour).
inline constexpr int64_t kHistogramSamples = int64_t{1} << 20;

// The sampled pixels in raster order, one every `step` pixels: 1 when all fit
// in kHistogramSamples, else the smallest prime that covers the image in that
// many samples and does not divide the width, so that the sample does not
// line up with columns of frames.
int64_t histogramStep(int32_t width, int32_t height);

// The distinct colours of the sample in the order they first occur. Opaque
// pixels count with alpha 255; pixels of alpha 0 are left out.
std::vector<CountedColour> countColours(const OpaqueImage& image);
std::vector<CountedColour> countColours(const AlphaImage& image);

}  // namespace oz
