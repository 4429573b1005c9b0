#include "sheet/compose.h"

#include <gtest/gtest.h>

#include <array>

namespace oz {
namespace {

using Rgba = std::array<uint8_t, 4>;

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

TEST(ComposeTest, PremultipliedRoundsToNearestAndStraightKeepsThePixel) {
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
  const RgbaImage premultiplied = drawn(frame, CanvasAlpha::Premultiplied);
  const RgbaImage straight = drawn(frame, CanvasAlpha::Straight);
  for (int32_t x = 0; x < frame.width; ++x) {
    EXPECT_EQ(at(premultiplied, x + 2, 1), cases[x].out) << "pixel " << x;
    const Rgba& in = cases[x].in;
    EXPECT_EQ(at(straight, x + 2, 1), (in[3] == 0 ? Rgba{0, 0, 0, 0} : in)) << "pixel " << x;
  }
  // Around the frame the canvas stays clear.
  EXPECT_EQ(at(premultiplied, 0, 0), (Rgba{0, 0, 0, 0}));
  EXPECT_EQ(at(premultiplied, frame.width + 2, 2), (Rgba{0, 0, 0, 0}));
}

}  // namespace
}  // namespace oz
