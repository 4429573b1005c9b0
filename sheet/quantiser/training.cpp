#include "sheet/quantiser/training.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "sheet/quantiser/contest.h"

namespace oz {
namespace {

constexpr int kInitialRad = 32;
constexpr double kInitialAlpha = 1024.0;         // learning rate, 1.0 in units of 2^-10
constexpr double kAlphaScale = 1.0 / 1024;       // 2^-10
constexpr double kRadpowerScale = 1.0 / 262144;  // 2^-18
constexpr int kRadiusDec = 30;

// The factor each neighbour moves by, radpower[|k - winner|] x 2^-18, laid out
// for the offsets -(rad - 1)..rad - 1 so that both sides of the winner read it
// in order. Entry kCentre is offset 0, the winner itself, which moves apart.
constexpr int kCentre = kInitialRad - 1;
using NeighbourFactors = std::array<double, 2 * kInitialRad - 1>;

// radpower[m] = floor(floor((rad^2 - m^2) x 256 / rad^2) x alpha), the inner
// division an integer one.
void fillFactors(NeighbourFactors& factors, int rad, double alpha) {
  const int rad2 = rad * rad;
  for (int m = 0; m < rad; ++m) {
    const double radpower = std::floor(static_cast<double>((rad2 - m * m) * 256 / rad2) * alpha);
    factors[kCentre - m] = factors[kCentre + m] = radpower * kRadpowerScale;
  }
}

// c = c - (c - t) x f for every component of neuron i.
void moveNeuron(Network& net, int i, const Target& t, double f) {
  net.alpha[i] = net.alpha[i] - (net.alpha[i] - t.alpha) * f;
  net.blue[i] = net.blue[i] - (net.blue[i] - t.blue) * f;
  net.green[i] = net.green[i] - (net.green[i] - t.green) * f;
  net.red[i] = net.red[i] - (net.red[i] - t.red) * f;
}

// One component of neurons [0, n) of `c`, each by its own factor: a plain
// loop over separate arrays, which the compiler turns into vector arithmetic
// with the same bits per element.
void moveComponent(double* __restrict c, int n, double t, const double* __restrict f) {
  for (int k = 0; k < n; ++k) c[k] = c[k] - (c[k] - t) * f[k];
}

void moveSpan(Network& net, int from, int to, const Target& t, const double* f) {
  const int n = to - from;
  moveComponent(net.alpha.data() + from, n, t.alpha, f);
  moveComponent(net.blue.data() + from, n, t.blue, f);
  moveComponent(net.green.data() + from, n, t.green, f);
  moveComponent(net.red.data() + from, n, t.red, f);
}

void moveNeighbours(Network& net, int winner, int rad, const Target& t,
                    const NeighbourFactors& factors) {
  const int lo = std::max(winner - (rad - 1), 0);
  const int hi = std::min(winner + (rad - 1), net.netsize - 1);
  moveSpan(net, lo, winner, t, &factors[kCentre - (winner - lo)]);
  moveSpan(net, winner + 1, hi + 1, t, &factors[kCentre + 1]);
}

// The pixel at byte position p of the 4-byte working image the positions count in.
template <class Image>
const uint8_t* sampleAt(const Image& image, int64_t p) {
  const int64_t pixel = p / 4;
  return image.row(static_cast<int32_t>(pixel / image.width)) +
         Image::kBytes * static_cast<size_t>(pixel % image.width);
}

// The learning loop over either kind of image. targetOf(pixel, t) fills the
// sample's target and returns false for a sample the network passes over; the
// walk and the decay count it all the same.
template <class Image, class TargetOf>
void learn(Network& net, const Image& image, ContestKind kind, TargetOf targetOf) {
  const TrainingPlan plan = planTraining(image.width, image.height);
  FastContest fast;
  double alpha = kInitialAlpha;
  double radius = kInitialRad;
  int rad = kInitialRad;
  NeighbourFactors factors{};
  fillFactors(factors, rad, alpha);

  int64_t p = 0;
  for (int64_t i = 1; i <= plan.samplepixels; ++i) {
    const uint8_t* pixel = sampleAt(image, p);
    // Samples lie far apart in a large image: fetch the next one during this
    // contest rather than wait for memory at the start of the next.
    __builtin_prefetch(sampleAt(image, nextSamplePosition(p, plan)));

    Target t;
    if (targetOf(pixel, t)) {
      const int winner = kind == ContestKind::Fast ? fast.run(net, t) : contestPlain(net, t);
      moveNeuron(net, winner, t, alpha * kAlphaScale);
      if (rad > 0) moveNeighbours(net, winner, rad, t, factors);
    }

    p = nextSamplePosition(p, plan);

    if (i % plan.delta == 0) {
      alpha = alpha - alpha / plan.alphadec;
      radius = radius - radius / kRadiusDec;
      rad = static_cast<int>(radius);
      if (rad <= 1) {
        rad = 0;
      } else {
        fillFactors(factors, rad, alpha);
      }
    }
  }
}

}  // namespace

TrainingPlan planTraining(int32_t width, int32_t height) {
  TrainingPlan plan;
  const int64_t pixels = static_cast<int64_t>(width) * height;
  plan.lengthcount = pixels * 4;
  plan.samplefac = static_cast<int>(std::min<int64_t>(pixels / 262144 + 1, 10));
  plan.samplepixels = plan.lengthcount / (4 * plan.samplefac);
  plan.delta = std::max<int64_t>(plan.samplepixels / 100, 1);
  plan.alphadec = 30 + (plan.samplefac - 1) / 3;
  if (plan.lengthcount % 499 != 0) {
    plan.step = 4 * 499;
  } else if (plan.lengthcount % 491 != 0) {
    plan.step = 4 * 491;
  } else if (plan.lengthcount % 487 != 0) {
    plan.step = 4 * 487;
  } else {
    plan.step = 4 * 503;
  }
  return plan;
}

int64_t nextSamplePosition(int64_t p, const TrainingPlan& plan) {
  p += plan.step;
  while (p >= plan.lengthcount) p -= plan.lengthcount;
  return p;
}

void trainNetwork(Network& net, const GammaTable& gt, const OpaqueImage& image, ContestKind kind) {
  // The image is opaque, so every sample has alpha 255 and is gamma-mapped.
  learn(net, image, kind, [&gt](const uint8_t* rgb, Target& t) {
    t = Target{255.0, gt[rgb[2]], gt[rgb[1]], gt[rgb[0]]};
    return true;
  });
}

void trainNetwork(Network& net, const GammaTable& gt, const AlphaImage& image, ContestKind kind) {
  learn(net, image, kind, [&gt](const uint8_t* rgba, Target& t) {
    if (rgba[3] == 0) return false;
    t = Target{static_cast<double>(rgba[3]), gt[rgba[2]], gt[rgba[1]], gt[rgba[0]]};
    return true;
  });
}

}  // namespace oz
