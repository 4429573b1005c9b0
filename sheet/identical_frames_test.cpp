#include "sheet/identical_frames.h"

#include <gtest/gtest.h>

#include <set>

#include "sheet/png/test_fixtures.h"

namespace oz {
namespace {

using testing::solidImage;

TEST(IdenticalFramesTest, OneByteAnywhereChangesTheDigest) {
  // 3 x 3 pixels: 36 bytes, so the last four lie past the 8-byte words.
  const RgbaImage base = solidImage(3, 3, {10, 20, 30, 40});
  std::set<uint64_t> digests{pixelDigest(base)};
  for (size_t i = 0; i < base.pixels.size(); ++i) {
    RgbaImage changed = base;
    ++changed.pixels[i];
    digests.insert(pixelDigest(changed));
  }
  EXPECT_EQ(digests.size(), base.pixels.size() + 1);
  // The same bytes in another shape are another image.
  RgbaImage reshaped = solidImage(9, 1, {10, 20, 30, 40});
  EXPECT_NE(pixelDigest(reshaped), pixelDigest(base));
  EXPECT_EQ(pixelDigest(solidImage(3, 3, {10, 20, 30, 40})), pixelDigest(base));
}

TEST(IdenticalFramesTest, EqualDigestsAreComparedPixelForPixel) {
  IdenticalFrames frames;
  const RgbaImage a = solidImage(2, 2, {1, 2, 3, 4});
  RgbaImage b = a;
  b.pixels.back() = 5;
  const RgbaImage wide = solidImage(4, 1, {1, 2, 3, 4});
  // One digest for all, as if they collided: only the equal images share.
  EXPECT_EQ(frames.offer(0, a, 7), 0u);
  EXPECT_EQ(frames.offer(1, b, 7), 1u);
  EXPECT_EQ(frames.offer(2, wide, 7), 2u);
  EXPECT_EQ(frames.offer(3, b, 7), 1u);
  EXPECT_EQ(frames.offer(4, a, 7), 0u);
  EXPECT_EQ(frames.keptPixels(), 12u);
  ASSERT_NE(frames.kept(1), nullptr);
  EXPECT_EQ(frames.kept(1)->pixels, b.pixels);
  EXPECT_EQ(frames.kept(3), nullptr);
}

}  // namespace
}  // namespace oz
