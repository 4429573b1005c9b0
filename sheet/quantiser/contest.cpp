#include "sheet/quantiser/contest.h"

#include <algorithm>
#include <cmath>

// The loops marked OZ_WIDE_VECTORS vectorise; on x86-64 an AVX2 copy of each
// is also built and chosen at load time where the processor has it. Element-wise
// IEEE arithmetic gives the same bits at any vector width, and contraction into
// fused multiply-adds is off for the whole program.
#if defined(__x86_64__) && defined(__GNUC__) && defined(__ELF__)
#define OZ_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define OZ_WIDE_VECTORS
#endif

namespace oz {
namespace {

constexpr double kFar = 1 << 30;           // larger than any distance
constexpr double kBetaScale = 1.0 / 1024;  // 2^-10: how fast freq forgets
constexpr double kBiasScale = 1024;        // turns freq decay into bias
constexpr int kLanes = 8;                  // independent running minimums

double colourWeight(double alpha) {
  const double t = 1 - alpha / 255;
  return 1 - t * t;
}

void reward(Network& net, int bestpos) {
  net.freq[bestpos] += kBetaScale;
  net.bias[bestpos] -= 1;
}

// The smallest distance, taken in kLanes interleaved running minimums (exact:
// a minimum does not round) so that no comparison waits on the one before.
OZ_WIDE_VECTORS
double smallest(const double* d, int n) {
  double lane[kLanes];
  std::fill_n(lane, kLanes, kFar);
  int j = 0;
  for (; j + kLanes <= n; j += kLanes) {
    for (int l = 0; l < kLanes; ++l) lane[l] = d[j + l] < lane[l] ? d[j + l] : lane[l];
  }
  double best = kFar;
  for (; j < n; ++j) best = d[j] < best ? d[j] : best;
  for (double m : lane) best = m < best ? m : best;
  return best;
}

// d[j] for every neuron, with the plain scan's operations in its order. The
// target is copied into locals and the arrays are marked unaliased so that the
// loop vectorises.
OZ_WIDE_VECTORS
void distances(const Network& net, const Target& t, double* __restrict d) {
  const double w = colourWeight(t.alpha);
  const double a = t.alpha;
  const double b = t.blue;
  const double g = t.green;
  const double r = t.red;
  const double* __restrict alpha = net.alpha.data();
  const double* __restrict blue = net.blue.data();
  const double* __restrict green = net.green.data();
  const double* __restrict red = net.red.data();
  const int n = net.netsize;
  if (w == 1) {
    // Every opaque target: multiplying by 1 changes no bit, so skip it.
    for (int j = 0; j < n; ++j) {
      const double rb = std::abs(red[j] - r) + std::abs(blue[j] - b);
      d[j] = (std::abs(alpha[j] - a) + std::abs(green[j] - g)) + rb;
    }
    return;
  }
  for (int j = 0; j < n; ++j) {
    const double rb = std::abs(red[j] - r) * w + std::abs(blue[j] - b) * w;
    d[j] = (std::abs(alpha[j] - a) + std::abs(green[j] - g) * w) + rb;
  }
}

// Every neuron forgets a little of how often it won; its bias grows with it.
OZ_WIDE_VECTORS
void decay(double* __restrict freq, double* __restrict bias, int n) {
  for (int j = 0; j < n; ++j) {
    const double betafreq = freq[j] * kBetaScale;
    freq[j] = freq[j] - betafreq;
    bias[j] = bias[j] + betafreq * kBiasScale;
  }
}

}  // namespace

int contestPlain(Network& net, const Target& t) {
  const double w = colourWeight(t.alpha);
  double bestd = kFar;
  double bestbiasd = kFar;
  int bestpos = 0;
  int bestbiaspos = 0;
  for (int j = 0; j < net.netsize; ++j) {
    double d = std::abs(net.red[j] - t.red) * w + std::abs(net.blue[j] - t.blue) * w;
    d = (std::abs(net.alpha[j] - t.alpha) + std::abs(net.green[j] - t.green) * w) + d;
    if (d < bestd) {
      bestd = d;
      bestpos = j;
    }
    if (d < bestbiasd + net.bias[j]) {
      bestbiasd = d - net.bias[j];
      bestbiaspos = j;
    }
    const double betafreq = net.freq[j] * kBetaScale;
    net.freq[j] = net.freq[j] - betafreq;
    net.bias[j] = net.bias[j] + betafreq * kBiasScale;
  }
  reward(net, bestpos);
  return bestbiaspos;
}

int FastContest::run(Network& net, const Target& t) {
  const int n = net.netsize;
  distance_.resize(static_cast<size_t>(n));
  double* d = distance_.data();
  distances(net, t, d);
  // The scan "d < bestd" from kFar ends at the first neuron with the smallest
  // distance; it is found in the same pass as the biased winner.
  const double bestd = smallest(d, n);
  int bestpos = bestd < kFar ? -1 : 0;  // -1: not found yet

  // The biased comparison stays a plain pass in index order and in its own
  // form. It reads the bias before this contest's update, as the plain scan
  // does, so the update can run afterwards as a separate loop.
  const double* bias = net.bias.data();
  double bestbiasd = kFar;
  int bestbiaspos = 0;
  for (int j = 0; j < n; ++j) {
    if (d[j] < bestbiasd + bias[j]) {
      bestbiasd = d[j] - bias[j];
      bestbiaspos = j;
    }
    if (bestpos < 0 && d[j] == bestd) bestpos = j;
  }

  decay(net.freq.data(), net.bias.data(), n);
  reward(net, bestpos);
  return bestbiaspos;
}

}  // namespace oz
