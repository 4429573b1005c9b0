#include "sheet/quantiser/gamma.h"

#include <algorithm>
#include <cmath>

namespace oz {

GammaTable makeGammaTable() {
  GammaTable gt{};
  for (int v = 0; v < 256; ++v) {
    gt[v] = std::round(255 * std::pow(v / 255.0, 1 / kGamma));
  }
  return gt;
}

int unGammaColour(double v) {
  if (v < 0) return 0;
  // Multiplying by 255 and dividing by 255 again is not a no-op in doubles; the
  // palette bytes depend on keeping it.
  const double x = std::floor(((std::pow(v / 255, kGamma) * 255) / 255) * 256);
  return static_cast<int>(std::min(x, 255.0));
}

int unGammaAlpha(double v) {
  if (v < 0) return 0;
  return static_cast<int>(std::min(std::floor((v / 255) * 256), 255.0));
}

}  // namespace oz
