#include "sheet/bleed.h"

#include <cstring>
#include <vector>

namespace oz {
namespace {

// The neighbours in the order a pixel looks at them: across and down first,
// as they are nearer than the diagonals.
constexpr int32_t kNeighbours[8][2] = {{-1, 0},  {1, 0},  {0, -1}, {0, 1},
                                       {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};

// A pixel's pass: 0 when visible, the pass that filled it, or one of these.
constexpr uint16_t kUnfilled = 0xFFFF;
constexpr uint16_t kQueued = 0xFFFE;  // to be filled in the coming pass

class Rectangle {
 public:
  Rectangle(RgbaImage& image, int32_t x, int32_t y, int32_t width, int32_t height)
      : image_(image),
        x_(x),
        y_(y),
        width_(width),
        height_(height),
        pass_(static_cast<size_t>(width) * static_cast<size_t>(height), kUnfilled) {}

  // Marks the visible pixels. False when there is nothing to do: no pixel is
  // visible, or none is invisible.
  bool markVisible() {
    bool anyInvisible = false;
    for (int32_t row = 0; row < height_; ++row) {
      const uint8_t* in = image_.pixel(x_, y_ + row);
      for (int32_t column = 0; column < width_; ++column) {
        if (in[column * 4 + 3] != 0) {
          pass_[index(column, row)] = 0;
          visible_.push_back(index(column, row));
        } else {
          anyInvisible = true;
        }
      }
    }
    return anyInvisible && !visible_.empty();
  }

  void grow() {
    std::vector<uint32_t> frontier = queueNeighbours(visible_);
    for (uint16_t pass = 1; !frontier.empty(); ++pass) {
      for (uint32_t at : frontier) fill(at, pass);
      frontier = queueNeighbours(frontier);
    }
  }

 private:
  uint32_t index(int32_t column, int32_t row) const {
    return static_cast<uint32_t>(row) * static_cast<uint32_t>(width_) +
           static_cast<uint32_t>(column);
  }
  uint8_t* pixel(uint32_t at) {
    return image_.pixel(x_ + static_cast<int32_t>(at % static_cast<uint32_t>(width_)),
                        y_ + static_cast<int32_t>(at / static_cast<uint32_t>(width_)));
  }

  // Calls use(index) for each neighbour of `at` inside the rectangle, in order.
  template <typename Use>
  void forNeighbours(uint32_t at, const Use& use) const {
    const int32_t column = static_cast<int32_t>(at % static_cast<uint32_t>(width_));
    const int32_t row = static_cast<int32_t>(at / static_cast<uint32_t>(width_));
    for (const auto& [dx, dy] : kNeighbours) {
      const int32_t c = column + dx;
      const int32_t r = row + dy;
      if (c < 0 || r < 0 || c >= width_ || r >= height_) continue;
      if (use(index(c, r))) return;
    }
  }

  // The unfilled neighbours of `pixels`, each once.
  std::vector<uint32_t> queueNeighbours(const std::vector<uint32_t>& pixels) {
    std::vector<uint32_t> queued;
    for (uint32_t at : pixels) {
      forNeighbours(at, [&](uint32_t next) {
        if (pass_[next] == kUnfilled) {
          pass_[next] = kQueued;
          queued.push_back(next);
        }
        return false;
      });
    }
    return queued;
  }

  // Takes the colour of the first neighbour filled before `pass`; one exists,
  // as the pixel was queued beside it.
  void fill(uint32_t at, uint16_t pass) {
    forNeighbours(at, [&](uint32_t from) {
      if (pass_[from] >= pass) return false;
      std::memcpy(pixel(at), pixel(from), 3);
      return true;
    });
    pass_[at] = pass;
  }

  RgbaImage& image_;
  const int32_t x_, y_, width_, height_;
  std::vector<uint16_t> pass_;     // per pixel of the rectangle, rows top first
  std::vector<uint32_t> visible_;  // the pixels of alpha above 0
};

}  // namespace

void bleedColours(RgbaImage& image, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (width < 1 || height < 1) return;
  Rectangle rectangle(image, x, y, width, height);
  if (rectangle.markVisible()) rectangle.grow();
}

}  // namespace oz
