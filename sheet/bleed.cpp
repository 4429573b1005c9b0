#include "sheet/bleed.h"

#include <cstring>

namespace oz {
namespace {

// What the fourth byte of each framed pixel says during the growth.
constexpr uint8_t kFilled = 0;     // visible, or filled in an earlier pass
constexpr uint8_t kFilledNow = 1;  // filled in this pass: not yet a source
constexpr uint8_t kQueued = 2;     // to be filled in this pass
constexpr uint8_t kUnfilled = 3;
constexpr uint8_t kOutside = 4;  // the frame around the rectangle: never filled

// The growth runs on a copy of the rectangle with a one-pixel frame around it,
// so that every pixel has eight neighbours at fixed offsets and no pixel needs
// its row and column worked out. Colour and state share each pixel's 4 bytes.
class Growth {
 public:
  Growth(BleedScratch& scratch, size_t width, size_t height)
      : stride_(width + 2),
        pixels_(scratch.pixels),
        frontier_(scratch.frontier),
        next_(scratch.next) {
    // Across and down first, as they are nearer than the diagonals.
    const auto s = static_cast<ptrdiff_t>(stride_);
    const ptrdiff_t order[8] = {-1, 1, -s, s, -s - 1, -s + 1, s - 1, s + 1};
    std::memcpy(neighbours_, order, sizeof order);
    pixels_.assign(stride_ * (height + 2) * 4, kOutside);
    frontier_.clear();
    next_.clear();
  }

  // Copies the rectangle in. False when there is nothing to do: no pixel is
  // visible, or none is invisible.
  bool load(const RgbaImage& image, int32_t x, int32_t y, int32_t width, int32_t height) {
    bool anyInvisible = false;
    for (int32_t row = 0; row < height; ++row) {
      const uint8_t* in = image.pixel(x, y + row);
      size_t p = at(0, row);
      for (int32_t column = 0; column < width; ++column, in += 4, ++p) {
        uint8_t* out = &pixels_[p * 4];
        std::memcpy(out, in, 3);
        if (in[3] != 0) {
          out[3] = kFilled;
          frontier_.push_back(static_cast<uint32_t>(p));
        } else {
          out[3] = kUnfilled;
          anyInvisible = true;
        }
      }
    }
    return anyInvisible && !frontier_.empty();
  }

  // Pass by pass: each queued pixel takes the colour of its first neighbour
  // filled before this pass; then the pass's pixels become sources and queue
  // their unfilled neighbours for the next.
  void grow() {
    queueNext();
    while (!next_.empty()) {
      frontier_.swap(next_);
      next_.clear();
      for (const uint32_t p : frontier_) {
        uint8_t* out = &pixels_[static_cast<size_t>(p) * 4];
        for (const ptrdiff_t offset : neighbours_) {
          const uint8_t* from = out + offset * 4;
          if (from[3] == kFilled) {
            std::memcpy(out, from, 3);
            break;
          }
        }
        out[3] = kFilledNow;
      }
      queueNext();
    }
  }

  // Writes the colours back into the invisible pixels, keeping their alpha.
  void store(RgbaImage& image, int32_t x, int32_t y, int32_t width, int32_t height) const {
    for (int32_t row = 0; row < height; ++row) {
      uint8_t* out = image.pixel(x, y + row);
      const uint8_t* in = &pixels_[at(0, row) * 4];
      for (int32_t column = 0; column < width; ++column, out += 4, in += 4) {
        if (out[3] == 0) std::memcpy(out, in, 3);
      }
    }
  }

 private:
  size_t at(int32_t column, int32_t row) const {
    return (static_cast<size_t>(row) + 1) * stride_ + static_cast<size_t>(column) + 1;
  }

  // Makes the frontier's pixels sources and queues their unfilled neighbours.
  void queueNext() {
    for (const uint32_t p : frontier_) {
      uint8_t* pixel = &pixels_[static_cast<size_t>(p) * 4];
      pixel[3] = kFilled;
      for (const ptrdiff_t offset : neighbours_) {
        uint8_t* neighbour = pixel + offset * 4;
        if (neighbour[3] == kUnfilled) {
          neighbour[3] = kQueued;
          next_.push_back(static_cast<uint32_t>(p + offset));
        }
      }
    }
  }

  const size_t stride_;
  ptrdiff_t neighbours_[8];
  std::vector<uint8_t>& pixels_;     // the framed rectangle, rows top first
  std::vector<uint32_t>& frontier_;  // the pixels of the last pass
  std::vector<uint32_t>& next_;      // the pixels of the coming pass
};

}  // namespace

void bleedColours(RgbaImage& image, int32_t x, int32_t y, int32_t width, int32_t height,
                  BleedScratch& scratch) {
  if (width < 1 || height < 1) return;
  Growth growth(scratch, static_cast<size_t>(width), static_cast<size_t>(height));
  if (!growth.load(image, x, y, width, height)) return;
  growth.grow();
  growth.store(image, x, y, width, height);
}

}  // namespace oz
