#include "app/written_sheets.h"

#include <gtest/gtest.h>

namespace oz {
namespace {

FrameEntry frame(const char* name) { return {.name = name}; }

// Packed by size onto two sheets, walk_2 went to the second; each sheet
// holds a run of each animation. Played, the runs join in the build's order.
TEST(WrittenSheets, AnAnimationOnSeveralSheetsPlaysItsFramesInTheBuildsOrder) {
  BuildOptions options;
  options.animations = AnimationSource::Prefixes;
  options.frameRate = 24;
  const WrittenSheets written =
      writtenSheets({{"/out/hero-1.png",
                      {frame("walk_1.png"), frame("walk_3.png"), frame("run_2.png")},
                      {{"walk", 0, 2}, {"run", 2, 1}}},
                     {"/out/hero-2.png",
                      {frame("walk_2.png"), frame("run_1.png")},
                      {{"walk", 0, 1}, {"run", 1, 1}}}},
                    {"walk_1.png", "walk_2.png", "walk_3.png", "run_1.png", "run_2.png"}, options);
  EXPECT_EQ(written.animations, (std::vector<PlayedAnimation>{{"walk", {{0, 0}, {1, 0}, {0, 1}}},
                                                              {"run", {{1, 1}, {0, 2}}}}));
  EXPECT_EQ(written.frameRate, 24);
}

}  // namespace
}  // namespace oz
