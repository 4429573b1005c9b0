#include "sheet/quantiser/contest.h"

#include <gtest/gtest.h>

#include <random>

namespace oz {
namespace {

// d < bestbiasd + bias and d - bias < bestbiasd round differently: with two
// equal neurons at d = 0.1 and bias 1.1, bestbiasd is -1 after the first, and
// -1 + 1.1 rounds above 0.1, so the second wins the biased contest.
TEST(Contest, BiasedComparisonKeepsItsOwnRounding) {
  Network net = initialNetwork(16, makeGammaTable());
  for (int i = 0; i < 16; ++i) {
    net.red[i] = net.green[i] = net.blue[i] = 0;
    net.alpha[i] = i < 2 ? 0.1 : 255;  // a transparent target weighs colour 0: d = alpha
    net.bias[i] = i < 2 ? 1.1 : 0;
  }
  const Target transparent{0, 0, 0, 0};
  Network fast = net;
  EXPECT_EQ(contestPlain(net, transparent), 1);
  EXPECT_EQ(FastContest().run(fast, transparent), 1);
  // The unbiased contest still rewards the lower of the two.
  EXPECT_EQ(net.bias[0], fast.bias[0]);
  EXPECT_LT(net.bias[0], net.bias[1]);
}

// The fast contest must agree with the plain one bit for bit, including the
// bias and frequency terms it leaves behind, over long runs where the biases
// drift apart and with translucent targets that weight colour below 1.
TEST(Contest, FastAgreesWithPlainOverManyContests) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> component(-5.0, 260.0);
  for (int netsize : {16, 256, 40}) {
    Network plain = initialNetwork(netsize, makeGammaTable());
    for (int i = 0; i < netsize; ++i) {
      plain.red[i] = component(random);
      plain.blue[i] = component(random);
    }
    Network fast = plain;
    FastContest contest;
    for (int n = 0; n < 5000; ++n) {
      Target t{255, component(random), component(random), component(random)};
      if (n % 3 == 0) t.alpha = static_cast<double>(random() % 256);
      if (n % 7 == 0)
        t = Target{plain.alpha[n % netsize], plain.blue[n % netsize], plain.green[n % netsize],
                   plain.red[n % netsize]};
      const int expected = contestPlain(plain, t);
      ASSERT_EQ(contest.run(fast, t), expected) << "netsize " << netsize << " contest " << n;
      ASSERT_EQ(fast.bias, plain.bias);
      ASSERT_EQ(fast.freq, plain.freq);
    }
  }
}

// The fast contest tests four neurons at once against the running biased
// record and merges per-lane minimums. Scattered biases put new records at
// every position of a block, several in one block, and copies of one neuron
// tie the smallest distance across lanes, where the lowest index must still win.
TEST(Contest, FastAgreesWithPlainWhenRecordsAndTiesFallAnywhereInABlock) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> component(0.0, 255.0);
  std::uniform_real_distribution<double> spread(-300.0, 300.0);
  for (int netsize : {16, 256, 23}) {
    for (int n = 0; n < 400; ++n) {
      Network plain = initialNetwork(netsize, makeGammaTable());
      for (int i = 0; i < netsize; ++i) {
        for (auto* colour : {&plain.red, &plain.green, &plain.blue})
          (*colour)[i] = component(random);
        plain.bias[i] = spread(random);
      }
      // Copies of one neuron at random positions, nearest to the target.
      const int original = static_cast<int>(random() % netsize);
      for (int copy = 0; copy < 3; ++copy) {
        const int k = static_cast<int>(random() % netsize);
        for (auto* part : {&plain.red, &plain.green, &plain.blue, &plain.alpha}) {
          (*part)[k] = (*part)[original];
        }
      }
      Target t{plain.alpha[original], plain.blue[original], plain.green[original],
               plain.red[original]};
      if (n % 2 == 0) t = Target{255, component(random), component(random), component(random)};
      Network fast = plain;
      ASSERT_EQ(FastContest().run(fast, t), contestPlain(plain, t))
          << "netsize " << netsize << " case " << n;
      ASSERT_EQ(fast.bias, plain.bias);  // the reward went to the same neuron
      ASSERT_EQ(fast.freq, plain.freq);
    }
  }
}

}  // namespace
}  // namespace oz
