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
    dialog.report({BuildPhase::LoadingFrames, 1, 4});
    EXPECT_TRUE(toolkit_.progressSteps().empty());
    now_ += milliseconds(1);
    dialog.report({BuildPhase::LoadingFrames, 2, 4});
    ASSERT_EQ(toolkit_.progressSteps().size(), 1u);
    EXPECT_EQ(toolkit_.progressSteps()[0].text, "Loading frames (2 of 4)...");
    EXPECT_TRUE(toolkit_.progressShown());
  }
  EXPECT_FALSE(toolkit_.progressShown());
}

TEST_F(BuildProgressTest, RepaintsOnlyWhenWhatItShowsChanges) {
  BuildProgressDialog dialog(toolkit_, clock_);
  now_ += milliseconds(600);
  for (int row = 1; row <= 8192; ++row) dialog.report({BuildPhase::Writing, row, 8192});
  EXPECT_LE(toolkit_.progressSteps().size(), 301u);  // the writing phase is 30% of the bar
  EXPECT_GE(toolkit_.progressSteps().size(), 100u);
  EXPECT_DOUBLE_EQ(toolkit_.progressSteps().back().fraction, 1.0);
}

}  // namespace
}  // namespace oz
