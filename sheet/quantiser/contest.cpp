#include "sheet/quantiser/contest.h"

#include <algorithm>
#include <cmath>

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

// The first index of the smallest distance, which is what the scan "d < bestd"
// from kFar finds. The minimum is taken in kLanes interleaved running minimums
// (exact: a minimum does not round), so it vectorises and no lane waits on
// another; the index is then the first neuron at that value.
int firstMinimum(const double* d, int n) {
  double lane[kLanes];
  std::fill_n(lane, kLanes, kFar);
  int j = 0;
  for (; j + kLanes <= n; j += kLanes) {
    for (int l = 0; l < kLanes; ++l) lane[l] = d[j + l] < lane[l] ? d[j + l] : lane[l];
  }
  double best = kFar;
  for (; j < n; ++j) best = d[j] < best ? d[j] : best;
  for (double m : lane) best = m < best ? m : best;
  if (!(best < kFar)) return 0;
  return static_cast<int>(std::find(d, d + n, best) - d);
}

// d[j] for every neuron, with the plain scan's operations in its order. The
// target is copied into locals and the arrays are marked unaliased so that the
// loop vectorises.
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
  const int bestpos = firstMinimum(d, n);

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
  }

  decay(net.freq.data(), net.bias.data(), n);
  reward(net, bestpos);
  return bestbiaspos;
}

}  // namespace oz
