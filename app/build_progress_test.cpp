#include "app/build_progress.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "toolkit/fake_toolkit.h"

namespace oz {
namespace {

using std::chrono::milliseconds;

class BuildProgressTest : public ::testing::Test {
 protected:
  FakeToolkit toolkit_{[](const std::string& m) { ADD_FAILURE() << m; }};
  std::chrono::steady_clock::time_point now_{};
  BuildClock clock_ = [this] { return now_; };
};

TEST_F(BuildProgressTest, AppearsOnlyAfterHalfASecondAndClosesWithTheBuild) {
  {
    BuildProgressDialog dialog(toolkit_, clock_);
    now_ += milliseconds(499);
    dialog.report({BuildPhase::kLoadingFrames, 1, 4});
    EXPECT_TRUE(toolkit_.progressSteps().empty());
    now_ += milliseconds(1);
    dialog.report({BuildPhase::kLoadingFrames, 2, 4});
    ASSERT_EQ(toolkit_.progressSteps().size(), 1u);
    EXPECT_EQ(toolkit_.progressSteps()[0].text, "Loading frames (2 of 4)...");
    EXPECT_TRUE(toolkit_.progressShown());
  }
  EXPECT_FALSE(toolkit_.progressShown());
}

TEST_F(BuildProgressTest, RepaintsOnlyWhenWhatItShowsChanges) {
  BuildProgressDialog dialog(toolkit_, clock_);
  now_ += milliseconds(600);
  // One callback per written row of a tall sheet.
  for (int row = 1; row <= 8192; ++row) dialog.report({BuildPhase::kWriting, row, 8192});
  EXPECT_LE(toolkit_.progressSteps().size(), 301u);  // the writing phase is 30% of the bar
  EXPECT_GE(toolkit_.progressSteps().size(), 100u);
  EXPECT_DOUBLE_EQ(toolkit_.progressSteps().back().fraction, 1.0);
}

TEST(BuildProgressFractionTest, PhasesFollowEachOtherOnOneBar) {
  const BuildProgress steps[] = {
      {BuildPhase::kLoadingFrames, 0, 10},  {BuildPhase::kLoadingFrames, 10, 10},
      {BuildPhase::kComposing, 1, 10},      {BuildPhase::kComposing, 10, 10},
      {BuildPhase::kReducingColours, 0, 0}, {BuildPhase::kWriting, 1, 100},
      {BuildPhase::kWriting, 100, 100}};
  double last = 0;
  for (const BuildProgress& step : steps) {
    const double fraction = buildProgressFraction(step);
    EXPECT_GE(fraction, last);
    last = fraction;
  }
  EXPECT_DOUBLE_EQ(last, 1.0);
  EXPECT_DOUBLE_EQ(buildProgressFraction({BuildPhase::kWriting, 7, 0}), 0.7);  // no count yet
}

}  // namespace
}  // namespace oz
