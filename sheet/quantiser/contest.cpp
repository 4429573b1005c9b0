#include "sheet/quantiser/contest.h"

#include <algorithm>
#include <cmath>

namespace oz {
namespace {

constexpr double kFar = 1 << 30;           // larger than any distance
constexpr double kBetaScale = 1.0 / 1024;  // 2^-10: how fast freq forgets
constexpr double kBiasScale = 1024;        // turns freq decay into bias
constexpr int kBlock = 16;                 // neurons tested together

double colourWeight(double alpha) {
  const double t = 1 - alpha / 255;
  return 1 - t * t;
}

void reward(Network& net, int bestpos) {
  net.freq[bestpos] += kBetaScale;
  net.bias[bestpos] -= 1;
}

// True when some d[k] < best in the block. Written without an early exit so the
// compiler can vectorise it; the comparisons are the scan's own.
bool anyBelow(const double* d, double best, int count) {
  int hit = 0;
  for (int k = 0; k < count; ++k) hit |= d[k] < best;
  return hit != 0;
}

// The biased comparison in the scan's own form: d < bestbiasd + bias, never
// d - bias < bestbiasd, which rounds differently.
bool anyBelowBiased(const double* d, const double* bias, double best, int count) {
  int hit = 0;
  for (int k = 0; k < count; ++k) hit |= d[k] < best + bias[k];
  return hit != 0;
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
  const double w = colourWeight(t.alpha);
  const double* red = net.red.data();
  const double* green = net.green.data();
  const double* blue = net.blue.data();
  const double* alpha = net.alpha.data();
  double* d = distance_.data();
  for (int j = 0; j < n; ++j) {
    const double rb = std::abs(red[j] - t.red) * w + std::abs(blue[j] - t.blue) * w;
    d[j] = (std::abs(alpha[j] - t.alpha) + std::abs(green[j] - t.green) * w) + rb;
  }

  // Each comparison uses the bias before this contest's update, as the plain
  // scan does, so the update can run afterwards as a separate loop.
  const double* bias = net.bias.data();
  double bestd = kFar;
  double bestbiasd = kFar;
  int bestpos = 0;
  int bestbiaspos = 0;
  for (int j0 = 0; j0 < n; j0 += kBlock) {
    const int count = std::min(kBlock, n - j0);
    if (anyBelow(d + j0, bestd, count)) {
      for (int j = j0; j < j0 + count; ++j) {
        if (d[j] < bestd) {
          bestd = d[j];
          bestpos = j;
        }
      }
    }
    if (anyBelowBiased(d + j0, bias + j0, bestbiasd, count)) {
      for (int j = j0; j < j0 + count; ++j) {
        if (d[j] < bestbiasd + bias[j]) {
          bestbiasd = d[j] - bias[j];
          bestbiaspos = j;
        }
      }
    }
  }

  double* freq = net.freq.data();
  double* biasOut = net.bias.data();
  for (int j = 0; j < n; ++j) {
    const double betafreq = freq[j] * kBetaScale;
    freq[j] = freq[j] - betafreq;
    biasOut[j] = biasOut[j] + betafreq * kBiasScale;
  }
  reward(net, bestpos);
  return bestbiaspos;
}

}  // namespace oz
