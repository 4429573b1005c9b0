#include "sheet/identical_frames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

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

TEST(IdenticalFramesTest, FindsTheEqualOwnerOfTheDigest) {
  IdenticalFrames frames;
  const RgbaImage image = solidImage(2, 1, {1, 2, 3, 0});
  frames.offer(0, 7, image, {});
  frames.offer(1, 7, image, {{1, 5}});  // one of two pixels lost: no copy
  frames.offer(2, 8, image, {{0, 5}, {1, 6}});
  std::vector<size_t> asked;
  const auto equalTo = [&](size_t wanted) {
    return [&asked, wanted](size_t index) {
      asked.push_back(index);
      return index == wanted;
    };
  };
  EXPECT_EQ(frames.find(7, equalTo(1)), 1u);
  EXPECT_EQ(std::count(asked.begin(), asked.end(), 2u), 0);
  asked.clear();
  EXPECT_EQ(frames.find(8, equalTo(0)), std::nullopt);
  EXPECT_EQ(asked, std::vector<size_t>{2});
  asked.clear();
  EXPECT_EQ(frames.find(9, equalTo(0)), std::nullopt);
  EXPECT_TRUE(asked.empty());
  // Nothing lost, a few lost pixels, or more than half of them: a copy.
  EXPECT_EQ(frames.copy(0), nullptr);
  EXPECT_TRUE(frames.lost(0).empty());
  EXPECT_EQ(frames.copy(1), nullptr);
  EXPECT_EQ(frames.lost(1), (LostPixels{{1, 5}}));
  ASSERT_NE(frames.copy(2), nullptr);
  EXPECT_EQ(frames.copy(2)->pixels, image.pixels);
}

// What drawing loses, and the comparison with a cell on the sheet.
TEST(IdenticalFramesTest, CellsOnTheSheetAreComparedAsTheFramesWere) {
  const RgbaImage clear = solidImage(2, 1, {0, 0, 0, 0});
  RgbaImage hidden = clear;  // colour under alpha 0 in its second pixel
  hidden.pixels[4] = 9;
  const RgbaImage soft = solidImage(2, 1, {9, 8, 7, 128});
  const RgbaImage opaque = solidImage(2, 1, {9, 8, 7, 255});
  const auto bytes = [](const RgbaImage& image, size_t pixel) {
    uint32_t value;
    std::memcpy(&value, &image.pixels[pixel * 4], 4);
    return value;
  };
  EXPECT_TRUE(pixelsLostInDrawing(clear, true).empty());
  EXPECT_EQ(pixelsLostInDrawing(hidden, false), (LostPixels{{1, bytes(hidden, 1)}}));
  EXPECT_TRUE(pixelsLostInDrawing(soft, false).empty());
  EXPECT_EQ(pixelsLostInDrawing(soft, true),
            (LostPixels{{0, bytes(soft, 0)}, {1, bytes(soft, 1)}}));
  EXPECT_TRUE(pixelsLostInDrawing(opaque, true).empty());

  // A cell drawn at (1, 0), its invisible pixels since bled to colours.
  RgbaImage canvas = solidImage(4, 2, {0, 0, 0, 0});
  canvas.pixel(1, 0)[0] = 50;
  canvas.pixel(2, 0)[1] = 60;
  // As the cell of `clear`: `clear` equals it, `hidden` does not, though
  // the sheet alone cannot tell them apart.
  EXPECT_TRUE(equalsCell(clear, canvas, 1, 0, {}));
  EXPECT_FALSE(equalsCell(hidden, canvas, 1, 0, {}));
  EXPECT_FALSE(equalsCell(soft, canvas, 1, 0, {}));
  // As the cell of `hidden`: the other way round.
  const LostPixels hiddenLost = pixelsLostInDrawing(hidden, false);
  EXPECT_TRUE(equalsCell(hidden, canvas, 1, 0, hiddenLost));
  EXPECT_FALSE(equalsCell(clear, canvas, 1, 0, hiddenLost));
  // A visible pixel compares all four bytes.
  std::memcpy(canvas.pixel(2, 1), opaque.pixels.data(), 4);
  std::memcpy(canvas.pixel(3, 1), opaque.pixels.data(), 4);
  EXPECT_TRUE(equalsCell(opaque, canvas, 2, 1, {}));
  canvas.pixel(3, 1)[2] = 6;
  EXPECT_FALSE(equalsCell(opaque, canvas, 2, 1, {}));
  EXPECT_FALSE(equalsCell(clear, canvas, 2, 1, {}));
}

}  // namespace
}  // namespace oz
