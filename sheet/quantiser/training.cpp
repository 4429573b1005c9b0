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

using Radpower = std::array<double, kInitialRad>;

// radpower[m] = floor(floor((rad^2 - m^2) x 256 / rad^2) x alpha), the inner
// division an integer one.
void fillRadpower(Radpower& radpower, int rad, double alpha) {
  const int rad2 = rad * rad;
  for (int m = 0; m < rad; ++m) {
    radpower[m] = std::floor(static_cast<double>((rad2 - m * m) * 256 / rad2) * alpha);
  }
}

// c = c - (c - t) x f for every component of neuron i.
void moveNeuron(Network& net, int i, const Target& t, double f) {
  net.alpha[i] = net.alpha[i] - (net.alpha[i] - t.alpha) * f;
  net.blue[i] = net.blue[i] - (net.blue[i] - t.blue) * f;
  net.green[i] = net.green[i] - (net.green[i] - t.green) * f;
  net.red[i] = net.red[i] - (net.red[i] - t.red) * f;
}

void moveNeighbours(Network& net, int winner, int rad, const Target& t, const Radpower& radpower) {
  const int lo = std::max(winner - (rad - 1), 0);
  const int hi = std::min(winner + (rad - 1), net.netsize - 1);
  for (int k = lo; k <= hi; ++k) {
    if (k != winner) moveNeuron(net, k, t, radpower[std::abs(k - winner)] * kRadpowerScale);
  }
}

// The pixel at byte position p of the 4-byte working image the positions count in.
const uint8_t* sampleAt(const OpaqueImage& image, int64_t p) {
  const int64_t pixel = p / 4;
  return image.row(static_cast<int32_t>(pixel / image.width)) +
         3 * static_cast<size_t>(pixel % image.width);
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
  const TrainingPlan plan = planTraining(image.width, image.height);
  FastContest fast;
  double alpha = kInitialAlpha;
  double radius = kInitialRad;
  int rad = kInitialRad;
  Radpower radpower{};
  fillRadpower(radpower, rad, alpha);

  int64_t p = 0;
  for (int64_t i = 1; i <= plan.samplepixels; ++i) {
    // The image is opaque, so every sample has alpha 255 and is gamma-mapped.
    const uint8_t* rgb = sampleAt(image, p);
    const Target t{255.0, gt[rgb[2]], gt[rgb[1]], gt[rgb[0]]};
    // Samples lie far apart in a large image: fetch the next one during this
    // contest rather than wait for memory at the start of the next.
    __builtin_prefetch(sampleAt(image, nextSamplePosition(p, plan)));

    const int winner = kind == ContestKind::kFast ? fast.run(net, t) : contestPlain(net, t);
    moveNeuron(net, winner, t, alpha * kAlphaScale);
    if (rad > 0) moveNeighbours(net, winner, rad, t, radpower);

    p = nextSamplePosition(p, plan);

    if (i % plan.delta == 0) {
      alpha = alpha - alpha / plan.alphadec;
      radius = radius - radius / kRadiusDec;
      rad = static_cast<int>(radius);
      if (rad <= 1) {
        rad = 0;
      } else {
        fillRadpower(radpower, rad, alpha);
      }
    }
  }
}

}  // namespace oz
