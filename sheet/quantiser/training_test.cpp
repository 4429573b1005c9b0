#include "sheet/quantiser/training.h"

#include <gtest/gtest.h>

#include <vector>

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

  const TrainingPlan small = planTraining(9, 11);  // decays after every sample
  EXPECT_EQ(small.samplepixels, 99);
  EXPECT_EQ(small.delta, 1);
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
        trainNetwork(plain, gt, image, ContestKind::Plain);
        trainNetwork(fast, gt, image, ContestKind::Fast);
        expectSameNetwork(fast, plain);
      }
    }
  }
}

}  // namespace
}  // namespace oz
