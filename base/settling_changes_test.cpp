#include "base/settling_changes.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

using std::chrono::milliseconds;

TEST(SettlingChangesTest, ABurstIsDueOnceQuietAndAStreamByTheLongestWait) {
  const SettlingChanges::TimePoint start{std::chrono::seconds(100)};
  SettlingChanges changes;
  EXPECT_EQ(changes.due(), std::nullopt);

  // Each change within the settling time of the one before pushes the build back.
  changes.changed(start);
  EXPECT_EQ(changes.due(), start + kSettleTime);
  changes.changed(start + milliseconds(150));
  changes.changed(start + milliseconds(300));
  EXPECT_EQ(changes.due(), start + milliseconds(300) + kSettleTime);

  // Changes that never pause are built the longest wait after the first.
  for (int t = 300; t <= 3000; t += 20) changes.changed(start + milliseconds(t));
  EXPECT_EQ(changes.due(), start + kLongestWait);

  // What comes once the build has started counts from itself.
  changes.taken();
  EXPECT_EQ(changes.due(), std::nullopt);
  changes.changed(start + milliseconds(3100));
  EXPECT_EQ(changes.due(), start + milliseconds(3100) + kSettleTime);
}

}  // namespace
}  // namespace oz
