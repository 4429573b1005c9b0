#include "sheet/quantiser/contest.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "sheet/quantiser/colour_weight.h"

// On x86-64 the function marked OZ_WIDE_VECTORS is also built for AVX2, and that
// copy is chosen at load time where the processor has it. Element-wise IEEE
// arithmetic gives the same bits at any vector width, and contraction into
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

// Four neurons at a time in GCC vector types: element-wise IEEE arithmetic,
// so each lane computes the bits the plain scan computes for its neuron.
using Lanes = double __attribute__((vector_size(32)));
using LaneMask = int64_t __attribute__((vector_size(32)));
using UnalignedLanes = double __attribute__((vector_size(32), aligned(8)));
constexpr int kWidth = 4;
constexpr int kBlock = 2 * kWidth;  // neurons tested against the biased record at once

// The helpers below take and return Lanes by value, which the AVX2 copy and the
// plain build would pass differently. Each is forced inline, also without
// optimisation, so no such call is ever made, and the ABI note GCC gives for
// them does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"
#define OZ_INLINE [[gnu::always_inline]] inline

void reward(Network& net, int bestpos) {
  net.freq[bestpos] += kBetaScale;
  net.bias[bestpos] -= 1;
}

OZ_INLINE Lanes broadcast(double v) { return Lanes{v, v, v, v}; }
OZ_INLINE Lanes load(const double* p) { return *reinterpret_cast<const UnalignedLanes*>(p); }
OZ_INLINE void store(double* p, Lanes v) { *reinterpret_cast<UnalignedLanes*>(p) = v; }

// |v|: clearing the sign bit is what std::abs does to a double.
OZ_INLINE Lanes absolute(Lanes v) {
  constexpr int64_t kMagnitude = INT64_MAX;
  return reinterpret_cast<Lanes>(reinterpret_cast<LaneMask>(v) & kMagnitude);
}

OZ_INLINE bool anyLane(LaneMask m) { return (m[0] | m[1] | m[2] | m[3]) != 0; }

struct Winners {
  int bestpos = 0;
  int bestbiaspos = 0;
};

// The whole contest in one pass over the neurons, eight at a time. The smallest
// distance is kept per lane with the index where it first appeared, so the
// lowest index among equal distances wins after the lanes are merged. The
// biased comparison only changes anything on a new record, which is rare after
// the first neurons: the eight are tested against the running value at
// once, and only a block where one fires is replayed one neuron at a time, in
// the plain order and the plain form. Each block reads its biases before it
// decays them, as the plain scan does.
template <bool kWeighted>
OZ_INLINE Winners contestBlocks(Network& net, const Target& t) {
  const double w = colourWeight(t.alpha);
  const Lanes a = broadcast(t.alpha);
  const Lanes b = broadcast(t.blue);
  const Lanes g = broadcast(t.green);
  const Lanes r = broadcast(t.red);
  const double* __restrict alpha = net.alpha.data();
  const double* __restrict blue = net.blue.data();
  const double* __restrict green = net.green.data();
  const double* __restrict red = net.red.data();
  double* __restrict freq = net.freq.data();
  double* __restrict bias = net.bias.data();
  const int n = net.netsize;

  const auto distanceAt = [&](int j) __attribute__((always_inline)) {
    if constexpr (kWeighted) {
      const Lanes rb = absolute(load(red + j) - r) * w + absolute(load(blue + j) - b) * w;
      return (absolute(load(alpha + j) - a) + absolute(load(green + j) - g) * w) + rb;
    } else {
      // Opaque targets: multiplying by 1 changes no bit, so it is left out.
      const Lanes rb = absolute(load(red + j) - r) + absolute(load(blue + j) - b);
      return (absolute(load(alpha + j) - a) + absolute(load(green + j) - g)) + rb;
    }
  };
  Lanes laneBest = broadcast(kFar);
  LaneMask laneBestPos = {0, 0, 0, 0};
  LaneMask position = {0, 1, 2, 3};
  const auto keepClosest = [&](Lanes d) __attribute__((always_inline)) {
    const LaneMask closer = d < laneBest;
    laneBest = closer ? d : laneBest;
    laneBestPos = closer ? position : laneBestPos;
    position += kWidth;
  };
  const auto decay = [&](int j, Lanes oldBias) __attribute__((always_inline)) {
    const Lanes oldFreq = load(freq + j);
    const Lanes betafreq = oldFreq * kBetaScale;
    store(freq + j, oldFreq - betafreq);
    store(bias + j, oldBias + betafreq * kBiasScale);
  };

  double bestbiasd = kFar;
  int bestbiaspos = 0;
  int j = 0;
  for (; j + kBlock <= n; j += kBlock) {
    const Lanes d[2] = {distanceAt(j), distanceAt(j + kWidth)};
    keepClosest(d[0]);
    keepClosest(d[1]);
    const Lanes oldBias[2] = {load(bias + j), load(bias + j + kWidth)};
    const Lanes bb = broadcast(bestbiasd);
    if (anyLane((d[0] < bb + oldBias[0]) | (d[1] < bb + oldBias[1]))) {
      for (int l = 0; l < kBlock; ++l) {
        const double dl = d[l / kWidth][l % kWidth];
        const double biasl = oldBias[l / kWidth][l % kWidth];
        if (dl < bestbiasd + biasl) {
          bestbiasd = dl - biasl;
          bestbiaspos = j + l;
        }
      }
    }
    decay(j, oldBias[0]);
    decay(j + kWidth, oldBias[1]);
  }

  double bestd = kFar;
  int bestpos = 0;
  for (int l = 0; l < kWidth; ++l) {
    const int pos = static_cast<int>(laneBestPos[l]);
    if (laneBest[l] < bestd || (laneBest[l] == bestd && bestd < kFar && pos < bestpos)) {
      bestd = laneBest[l];
      bestpos = pos;
    }
  }
  // The neurons after the last whole block, one at a time.
  for (; j < n; ++j) {
    double d = std::abs(red[j] - t.red) * w + std::abs(blue[j] - t.blue) * w;
    d = (std::abs(alpha[j] - t.alpha) + std::abs(green[j] - t.green) * w) + d;
    if (d < bestd) {
      bestd = d;
      bestpos = j;
    }
    if (d < bestbiasd + bias[j]) {
      bestbiasd = d - bias[j];
      bestbiaspos = j;
    }
    const double betafreq = freq[j] * kBetaScale;
    freq[j] = freq[j] - betafreq;
    bias[j] = bias[j] + betafreq * kBiasScale;
  }
  return {bestpos, bestbiaspos};
}

OZ_WIDE_VECTORS
Winners contestFused(Network& net, const Target& t) {
  return colourWeight(t.alpha) == 1 ? contestBlocks<false>(net, t) : contestBlocks<true>(net, t);
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
  const Winners winners = contestFused(net, t);
  reward(net, winners.bestpos);
  return winners.bestbiaspos;
}

}  // namespace oz
