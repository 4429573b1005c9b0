#include "base/dir_listing.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

// Sorting and matching are checked through the frames a sheet build takes.
TEST(DirListing, MissingDirectoryIsNulloptAndMatchesNothing) {
  EXPECT_FALSE(listDirectory("/nonexistent-oz-dir/").has_value());
  EXPECT_TRUE(listMatching("/nonexistent-oz-dir/", "*").empty());
}

}  // namespace
}  // namespace oz
