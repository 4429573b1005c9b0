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

// Translucent samples are the only ones that reach the fast contest's weighted
// distances; clear ones are passed over and must leave the network alone.
TEST(Training, TranslucentImagesTrainTheSameWithEitherContest) {
  const auto rgba = testing::alphaSpriteImage(200, 150, 7);
  const AlphaImage image{rgba.data(), 200, 150, 4 * 200};
  const GammaTable gt = makeGammaTable();
  for (int netsize : {15, 255}) {
    Network fast = initialNetwork(netsize, gt);
    Network plain = fast;
    trainNetwork(fast, gt, image, ContestKind::Fast);
    trainNetwork(plain, gt, image, ContestKind::Plain);
    EXPECT_EQ(fast.alpha, plain.alpha) << netsize;
    EXPECT_EQ(fast.red, plain.red) << netsize;
    EXPECT_EQ(fast.green, plain.green) << netsize;
    EXPECT_EQ(fast.blue, plain.blue) << netsize;
  }

  const std::vector<uint8_t> clear(4 * 30 * 30, 0);
  Network net = initialNetwork(16, gt);
  const Network before = net;
  trainNetwork(net, gt, AlphaImage{clear.data(), 30, 30, 4 * 30});
  EXPECT_EQ(net.alpha, before.alpha);
  EXPECT_EQ(net.green, before.green);
}

}  // namespace
}  // namespace oz
