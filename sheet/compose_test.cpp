#include "sheet/compose.h"

#include <gtest/gtest.h>

#include <array>

namespace oz {
namespace {

using Rgba = std::array<uint8_t, 4>;

// One frame pixel of every alpha level, colours odd and unrelated to alpha.
RgbaImage everyAlphaLevel() {
  RgbaImage frame{16, 16, {}};
  for (int i = 0; i < 256; ++i) {
    frame.pixels.insert(frame.pixels.end(),
                        {static_cast<uint8_t>(i * 37 + 11), static_cast<uint8_t>(i * 91 + 5),
                         static_cast<uint8_t>(255 - i * 3), static_cast<uint8_t>(i)});
  }
  return frame;
}

RgbaImage drawn(const RgbaImage& frame, CanvasAlpha alpha) {
  // A canvas larger than the frame, the frame off its corner.
  RgbaImage canvas{frame.width + 3, frame.height + 2, {}};
  canvas.pixels.resize(static_cast<size_t>(canvas.width) * canvas.height * 4);
  drawFrame(canvas, frame, 2, 1, alpha);
  return canvas;
}

Rgba at(const RgbaImage& image, int32_t x, int32_t y) {
  const uint8_t* p = image.pixel(x, y);
  return {p[0], p[1], p[2], p[3]};
}

TEST(ComposeTest, StraightCanvasHoldsEveryFramePixelAsItIs) {
  const RgbaImage frame = everyAlphaLevel();
  const RgbaImage canvas = drawn(frame, CanvasAlpha::Straight);
  for (int32_t y = 0; y < frame.height; ++y) {
    for (int32_t x = 0; x < frame.width; ++x) {
      const Rgba in = at(frame, x, y);
      const Rgba expected = in[3] == 0 ? Rgba{0, 0, 0, 0} : in;
      ASSERT_EQ(at(canvas, x + 2, y + 1), expected) << "alpha " << int{in[3]};
    }
  }
  // Around the frame the canvas stays clear.
  EXPECT_EQ(at(canvas, 0, 0), (Rgba{0, 0, 0, 0}));
  EXPECT_EQ(at(canvas, 18, 16), (Rgba{0, 0, 0, 0}));
}

TEST(ComposeTest, PremultipliedCanvasRoundsToNearest) {
  struct Case {
    Rgba in, out;
  };
  const Case cases[] = {
      {{179, 115, 49, 16}, {11, 7, 3, 16}},      // 11.2, 7.2, 3.1: down
      {{255, 128, 1, 128}, {128, 64, 1, 128}},   // 128, 64.3, 0.502: the last up
      {{1, 3, 5, 127}, {0, 1, 2, 127}},          // 0.498, 1.494, 2.49: down
      {{255, 254, 128, 1}, {1, 1, 1, 1}},        // 1, 0.996, 0.502: up
      {{255, 1, 128, 254}, {254, 1, 127, 254}},  // 254, 0.996, 127.498
      {{200, 100, 50, 0}, {0, 0, 0, 0}},        {{200, 100, 50, 255}, {200, 100, 50, 255}},
  };
  RgbaImage frame{static_cast<int32_t>(std::size(cases)), 1, {}};
  for (const Case& c : cases) frame.pixels.insert(frame.pixels.end(), c.in.begin(), c.in.end());
  const RgbaImage canvas = drawn(frame, CanvasAlpha::Premultiplied);
  for (int32_t x = 0; x < frame.width; ++x) {
    EXPECT_EQ(at(canvas, x + 2, 1), cases[x].out) << "pixel " << x;
  }
}

}  // namespace
}  // namespace oz
