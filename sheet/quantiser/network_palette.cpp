#include "sheet/quantiser/network_palette.h"

#include "sheet/quantiser/network.h"
#include "sheet/quantiser/training.h"

namespace oz {

TrainedPalette trainPalette(const OpaqueImage& image, int netsize, const GammaTable& gt,
                            int sampleDivisor) {
  Network net = initialNetwork(netsize, gt);
  trainNetwork(net, gt, image, ContestKind::Fast, sampleDivisor);
  const Colormap map = finishNetwork(net, gt);
  return {map, paletteOf(net)};
}

}  // namespace oz
