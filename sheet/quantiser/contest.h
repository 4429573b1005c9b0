// One contest of the network's learning: which neuron is closest to a sample,
// with and without the conscience bias, updating the bias and frequency terms.
#pragma once

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

// The same contest with identical results, for speed: one pass over the
// neurons eight at a time, where the biased comparison is replayed neuron by
// neuron only in the blocks that hold a new record.
class FastContest {
 public:
  int run(Network& net, const Target& t);
};

}  // namespace oz
