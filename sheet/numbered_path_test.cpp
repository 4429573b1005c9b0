#include "sheet/numbered_path.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

TEST(NumberedPathTest, NumbersGoBeforeTheFileNamesExtension) {
  EXPECT_EQ(numberedPath("out/walk.png", 0, 1), "out/walk.png");
  EXPECT_EQ(numberedPath("out/walk.png", 0, 2), "out/walk-1.png");
  EXPECT_EQ(numberedPath("out/walk.png", 11, 12), "out/walk-12.png");
  EXPECT_EQ(numberedPath("out/my.sheet.json", 1, 2), "out/my.sheet-2.json");
  // A dot in a folder, or only at the start of the name, is no extension.
  EXPECT_EQ(numberedPath("out.d/walk", 0, 2), "out.d/walk-1");
  EXPECT_EQ(numberedPath("out/.png", 1, 2), "out/.png-2");
}

}  // namespace
}  // namespace oz
