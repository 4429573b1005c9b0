// The distinct colours of an image, each with how often it occurs, counted
// over all its pixels or a bounded sample of them.
#pragma once

#include <cstddef>
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

// The sample: every pixel of a sheet up to 1024 x 1024, at most this many
// spread over a larger one. It bounds both the time and the table (a few bytes
// per distinct colour).
inline constexpr int64_t kHistogramSamples = int64_t{1} << 20;

// A sheet of up to this many pixels (2048 x 2048) has every pixel counted as
// long as its distinct colours stay within kExactColours, and the sample only
// past that. Counting every pixel of a 2048 x 2048 sprite sheet (35,000
// colours) rather than a fifth made its 8-bit palette 0.03 dB closer: the
// sample's share of the sprites' pixel noise pulls the means. With soft edges
// the same sheet has 175,000 colours, over which the refinement took three
// times as long for 0.01 dB.
inline constexpr int64_t kExactCountPixels = int64_t{1} << 22;
inline constexpr size_t kExactColours = size_t{1} << 16;

// The sampled pixels in raster order, one every `step` pixels: 1 when all fit
// in kHistogramSamples, else the smallest prime that covers the image in that
// many samples and does not divide the width, so that the sample does not
// line up with columns of frames.
int64_t histogramStep(int32_t width, int32_t height);

// The distinct colours of every pixel where the bounds above allow, else of
// the sample, in the order they first occur. Opaque pixels count with alpha
// 255; pixels of alpha 0 are left out.
std::vector<CountedColour> countColours(const OpaqueImage& image);
std::vector<CountedColour> countColours(const AlphaImage& image);

}  // namespace oz
