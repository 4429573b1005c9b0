// One contest of the network's learning: which neuron is closest to a sample,
// with and without the conscience bias, updating the bias and frequency terms.
#pragma once

#include <vector>

#include "sheet/quantiser/network.h"

namespace oz {

// A training sample in gamma space; alpha is not gamma-mapped.
struct Target {
  double alpha = 0;
  double blue = 0;
  double green = 0;
  double red = 0;
};

// Runs the contest over neurons 0..netsize-1 in index order: the distance
// weighs colour by 1 - (1 - alpha / 255)^2 but not alpha; strict comparisons
// let the lowest index win a tie. Updates every neuron's freq and bias, rewards
// the closest neuron and returns the winner of the biased contest.
int contestPlain(Network& net, const Target& target);

// The same contest with identical results, for speed: the distances and the
// decay of the conscience terms run as separate loops over the component arrays
// that the compiler vectorises, the smallest distance is taken in interleaved
// running minimums, and the biased comparison stays a plain pass in index order
// in its own form, which also picks out the first neuron at the smallest distance.
class FastContest {
 public:
  int run(Network& net, const Target& target);

 private:
  std::vector<double> distance_;  // one per neuron, refilled each contest
};

}  // namespace oz
