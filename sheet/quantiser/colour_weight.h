// How much colour counts against alpha when a pixel is compared with a
// palette entry or a neuron: the more see-through the pixel, the less its
// colour shows.
#pragma once

namespace oz {

// 1 - (1 - alpha / 255)^2, for alpha 0..255: 0 for a clear pixel, 1 for an
// opaque one.
inline double colourWeight(double alpha) {
  const double t = 1 - alpha / 255;
  return 1 - t * t;
}

}  // namespace oz
