#include "sheet/quantiser/training.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "sheet/quantiser/contest.h"
#include "sheet/quantiser/test_images.h"

namespace oz {
namespace {

TEST(TrainingPlan, SamplingFactorGrowsPer262144PixelsUpToTen) {
  EXPECT_EQ(planTraining(511, 512).samplefac, 1);
  EXPECT_EQ(planTraining(512, 512).samplefac, 2);
  EXPECT_EQ(planTraining(1024, 1024).samplefac, 5);
  EXPECT_EQ(planTraining(4096, 4096).samplefac, 10);

  const TrainingPlan big = planTraining(2048, 2048);  // 17 per the pixels, capped
  EXPECT_EQ(big.samplefac, 10);
  EXPECT_EQ(big.samplepixels, 2048 * 2048 / 10);
  EXPECT_EQ(big.delta, 2048 * 2048 / 10 / 100);
  EXPECT_EQ(big.alphadec, 33);
  EXPECT_EQ(planTraining(1024, 1024).alphadec, 31);
  EXPECT_EQ(planTraining(512, 512).alphadec, 30);
}

TEST(TrainingPlan, SmallImagesDecayEverySample) {
  const TrainingPlan plan = planTraining(9, 11);
  EXPECT_EQ(plan.samplepixels, 99);
  EXPECT_EQ(plan.delta, 1);
}

TEST(TrainingPlan, StepIsFourTimesAPrimeNotDividingTheImage) {
  EXPECT_EQ(planTraining(37, 23).step, 1996);
  EXPECT_EQ(planTraining(499, 2).step, 1964);
  EXPECT_EQ(planTraining(499, 491).step, 1948);
  EXPECT_EQ(planTraining(499 * 491, 487).step, 2012);
}

TEST(TrainingPlan, WithoutSubsamplingEveryPixelIsVisitedOnce) {
  for (const auto& [width, height] : {std::pair{37, 23}, {499, 3}, {511, 512}, {1, 1}}) {
    const TrainingPlan plan = planTraining(width, height);
    ASSERT_EQ(plan.samplefac, 1);
    ASSERT_EQ(plan.samplepixels, static_cast<int64_t>(width) * height);
    std::vector<int> visits(static_cast<size_t>(plan.samplepixels), 0);
    int64_t p = 0;
    for (int64_t i = 0; i < plan.samplepixels; ++i) {
      ++visits[static_cast<size_t>(p / 4)];
      p = nextSamplePosition(p, plan);
    }
    EXPECT_EQ(std::count(visits.begin(), visits.end(), 1), plan.samplepixels)
        << width << " x " << height;
  }
}

TEST(Contest, EqualDistancesGoToTheLowestIndex) {
  Network net = initialNetwork(16, makeGammaTable());
  for (int i : {5, 9, 12}) {
    net.red[i] = 10;
    net.green[i] = 20;
    net.blue[i] = 30;
    net.alpha[i] = 255;
  }
  const Target target{255, 30, 20, 10};
  Network fast = net;
  EXPECT_EQ(contestPlain(net, target), 5);
  // The reward goes to the same neuron: freq[5] gained 2^-10 after decaying.
  EXPECT_GT(net.freq[5], net.freq[9]);
  EXPECT_EQ(net.bias[5], net.bias[9] - 1);
  EXPECT_EQ(FastContest().run(fast, target), 5);
  EXPECT_EQ(fast.freq, net.freq);
  EXPECT_EQ(fast.bias, net.bias);
}

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

void expectSameNetwork(const Network& a, const Network& b) {
  EXPECT_EQ(a.alpha, b.alpha);
  EXPECT_EQ(a.blue, b.blue);
  EXPECT_EQ(a.green, b.green);
  EXPECT_EQ(a.red, b.red);
  EXPECT_EQ(a.bias, b.bias);
  EXPECT_EQ(a.freq, b.freq);
}

TEST(Training, FastAndPlainContestsTrainTheSameNetwork) {
  const GammaTable gt = makeGammaTable();
  for (uint32_t seed = 1; seed <= 3; ++seed) {
    for (const auto& rgb :
         {testing::noiseImage(61, 47, seed), testing::spriteImage(61, 47, seed)}) {
      const OpaqueImage image{rgb.data(), 61, 47, 3 * 61};
      for (int netsize : {16, 256}) {
        Network plain = initialNetwork(netsize, gt);
        Network fast = plain;
        trainNetwork(plain, gt, image, ContestKind::kPlain);
        trainNetwork(fast, gt, image, ContestKind::kFast);
        expectSameNetwork(fast, plain);
      }
    }
  }
}

TEST(Training, PullsTheNetworkTowardsTheImage) {
  // One colour: the winner and its neighbours move onto it, the alpha of the
  // translucent neurons climbs towards 255.
  const GammaTable gt = makeGammaTable();
  std::vector<uint8_t> rgb(3 * 40 * 30);
  for (size_t i = 0; i < rgb.size(); i += 3) {
    rgb[i] = 200;
    rgb[i + 1] = 40;
    rgb[i + 2] = 90;
  }
  Network net = initialNetwork(16, gt);
  trainNetwork(net, gt, OpaqueImage{rgb.data(), 40, 30, 3 * 40});
  int near = 0;
  for (int i = 0; i < 16; ++i) {
    if (std::abs(net.red[i] - gt[200]) < 1 && std::abs(net.green[i] - gt[40]) < 1 &&
        std::abs(net.blue[i] - gt[90]) < 1 && net.alpha[i] > 254) {
      ++near;
    }
  }
  EXPECT_GE(near, 1);
}

}  // namespace
}  // namespace oz
