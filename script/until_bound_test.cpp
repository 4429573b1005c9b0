#include "script/until_bound.h"

#include <gtest/gtest.h>

#include <limits>

namespace oz {
namespace {

TEST(ReadUntilBound, NumberFormsAndSaturation) {
  EXPECT_EQ(readUntilBound("ov.Until = $ff"), 255);
  EXPECT_EQ(readUntilBound("ov.Until = %101"), 5);
  EXPECT_EQ(readUntilBound("ov.Until = +4"), 4);
  EXPECT_EQ(readUntilBound("ov.Until = -$10"), -16);
  EXPECT_EQ(readUntilBound("ov.Until =\t\t7"), 7);   // leading tabs are skipped
  EXPECT_EQ(readUntilBound("ov.Until = 1 2"), 12);   // blanks go before reading
  EXPECT_EQ(readUntilBound("ov.Until = %1021"), 2);  // reading stops at a misfit
  EXPECT_EQ(readUntilBound("ov.Until = $"), 0);
  EXPECT_EQ(readUntilBound("// ov.Until = 5"), 0);
  // "=" goes after "ov.Until", so a marker split by "=" is not removed.
  EXPECT_EQ(readUntilBound("ov.Un=til 3"), 0);
  // Beyond the range the bound saturates.
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  EXPECT_EQ(readUntilBound("ov.Until = 9223372036854775807"), kMax);
  EXPECT_EQ(readUntilBound("ov.Until = 99999999999999999999999"), kMax);
  EXPECT_EQ(readUntilBound("ov.Until = -9223372036854775808"), kMin);
  EXPECT_EQ(readUntilBound("ov.Until = -$FFFFFFFFFFFFFFFFFF"), kMin);
}

}  // namespace
}  // namespace oz
