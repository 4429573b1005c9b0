// The network's learning pass over a sample of the image's pixels.
#pragma once

#include <cstdint>

#include "sheet/quantiser/image_view.h"
#include "sheet/quantiser/network.h"

namespace oz {

// How many pixels the learning visits and how it walks the image, from the
// image size alone.
struct TrainingPlan {
  int64_t lengthcount = 0;   // width x height x 4: the working buffer in bytes
  int samplefac = 0;         // one more per 262,144 pixels, at most 10
  int64_t samplepixels = 0;  // samples taken
  int64_t delta = 0;         // samples between decays of the rate and radius
  int alphadec = 0;          // learning-rate decay divisor
  int64_t step = 0;          // bytes between samples: 4 x a prime not dividing the image
};

TrainingPlan planTraining(int32_t width, int32_t height);

// The byte position of the sample after the one at p: one step on, wrapping
// around the end of the image.
int64_t nextSamplePosition(int64_t p, const TrainingPlan& plan);

enum class ContestKind { Plain, Fast };

// Trains `net` in place on `image`, which is opaque. ContestKind::Fast and ContestKind::Plain give
// identical networks; Plain is the reference the fast contest is tested against.
void trainNetwork(Network& net, const GammaTable& gt, const OpaqueImage& image,
                  ContestKind kind = ContestKind::Fast);

// Trains `net` in place on straight-alpha pixels: colour in gamma space, alpha
// as it is. Pixels of alpha 0 are passed over: the caller gives them an entry
// of their own, and through the conscience terms their number would otherwise
// pull a share of the neurons onto transparency.
void trainNetwork(Network& net, const GammaTable& gt, const AlphaImage& image,
                  ContestKind kind = ContestKind::Fast);

}  // namespace oz
