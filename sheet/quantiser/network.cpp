#include "sheet/quantiser/network.h"

#include <cstddef>

namespace oz {

Network initialNetwork(int netsize, const GammaTable& gt) {
  Network net;
  net.netsize = netsize;
  const auto n = static_cast<size_t>(netsize);
  net.alpha.resize(n);
  net.blue.resize(n);
  net.green.resize(n);
  net.red.resize(n);
  net.bias.assign(n, 0.0);
  net.freq.assign(n, 1.0 / netsize);
  for (int i = 0; i < netsize; ++i) {
    const double v = gt[i * 256 / netsize];
    net.red[i] = net.green[i] = net.blue[i] = v;
    net.alpha[i] = i < 16 ? 16.0 * i : 255.0;
  }
  return net;
}

}  // namespace oz
