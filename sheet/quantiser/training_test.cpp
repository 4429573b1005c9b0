#include "sheet/quantiser/training.h"

#include <gtest/gtest.h>

#include <vector>

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

}  // namespace
}  // namespace oz
