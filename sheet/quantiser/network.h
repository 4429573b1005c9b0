// The self-organising map behind the 4- and 8-bit palettes: netsize neurons,
// each a point (alpha, blue, green, red) in gamma space, plus the conscience
// terms that keep a few neurons from winning every contest.
#pragma once

#include <vector>

#include "sheet/quantiser/gamma.h"

namespace oz {

// Held as one array per component so the contest's distance loop runs over
// contiguous doubles.
struct Network {
  int netsize = 0;
  std::vector<double> alpha;
  std::vector<double> blue;
  std::vector<double> green;
  std::vector<double> red;
  std::vector<double> bias;
  std::vector<double> freq;
};

// netsize neurons along the grey axis: neuron i at gt[floor(i x 256 / netsize)],
// alpha 16 x i for the first 16 and 255 after them, no bias, equal frequencies.
Network initialNetwork(int netsize, const GammaTable& gt);

}  // namespace oz
