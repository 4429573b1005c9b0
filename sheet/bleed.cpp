#include "sheet/bleed.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace oz {
namespace {

// Distances of the framed rectangle: 0 for a visible pixel; the one-pixel
// frame around the rectangle is never a source, and its distance is one that
// no pixel inside can be one more than. Counting up from it, one step a pixel,
// stays far below 2^32: a rectangle holds at most 2^28 pixels.
constexpr uint32_t kOutside = 0x7fffffff;

uint32_t least(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  return std::min(std::min(a, b), std::min(c, d));
}

// The growth of repeated one-pixel passes, worked out without running them:
// the pass that fills a pixel is its distance to the nearest visible pixel in
// king's moves (the larger of the steps across and down), which two raster
// scans give exactly; the rectangle is convex, so the distance within it is
// the plain one. A pixel of distance d then takes its colour from the first of
// its neighbours, in the documented order, of distance d - 1: just those were
// filled before its pass. Pixels are coloured by increasing distance, so every
// source has its colour by then.
//
// The work runs on a copy of the rectangle with a one-pixel frame around it,
// so that every pixel has eight neighbours at fixed offsets.
using Pixel = BleedScratch::Pixel;

class Growth {
 public:
  Growth(BleedScratch& scratch, size_t width, size_t height)
      : width_(width),
        height_(height),
        stride_(width + 2),
        distances_(scratch.distances),
        order_(scratch.order),
        levels_(scratch.levels) {
    // Across and down first, as they are nearer than the diagonals.
    const auto s = static_cast<ptrdiff_t>(stride_);
    const ptrdiff_t order[8] = {-1, 1, -s, s, -s - 1, -s + 1, s - 1, s + 1};
    std::memcpy(neighbours_, order, sizeof order);
    // Only the frame needs setting: the first scan writes every pixel inside.
    distances_.resize(stride_ * (height + 2));
    std::fill_n(distances_.begin(), stride_, kOutside);
    std::fill_n(distances_.end() - static_cast<ptrdiff_t>(stride_), stride_, kOutside);
    for (size_t row = 1; row <= height; ++row) {
      distances_[row * stride_] = kOutside;
      distances_[row * stride_ + width + 1] = kOutside;
    }
  }

  // The distances: a scan down and rightward, as the pixels are marked, takes
  // each pixel's nearest from the left and the row above, one up and leftward
  // from the right and the row below; the second also counts the pixels of
  // each distance. False when there is nothing to do: no pixel is visible, or
  // none is invisible.
  bool measure(const RgbaImage& image, int32_t x, int32_t y) {
    const auto s = static_cast<ptrdiff_t>(stride_);
    size_t visible = 0;
    for (size_t row = 0; row < height_; ++row) {
      const uint8_t* in = image.pixel(x, y + static_cast<int32_t>(row));
      uint32_t* d = &distances_[at(0, row)];
      for (uint32_t* const end = d + width_; d != end; ++d, in += 4) {
        if (in[3] != 0) {
          *d = 0;
          ++visible;
          continue;
        }
        const uint32_t* up = d - s;
        *d = least(d[-1], up[-1], up[0], up[1]) + 1;
      }
    }
    if (visible == 0 || visible == width_ * height_) return false;
    levels_.assign(width_ + height_ + 1, 0);
    for (size_t row = height_; row-- > 0;) {
      uint32_t* const begin = &distances_[at(0, row)];
      for (uint32_t* d = begin + width_; d-- != begin;) {
        if (*d == 0) continue;
        const uint32_t* down = d + s;
        *d = std::min(*d, least(d[1], down[-1], down[0], down[1]) + 1);
        ++levels_[*d];
      }
    }
    return true;
  }

  // Lists the invisible pixels by increasing distance (a counting sort), each
  // with its place on the image.
  void sort(const RgbaImage& image, int32_t x, int32_t y) {
    uint32_t start = 0;
    for (uint32_t& level : levels_) start += std::exchange(level, start);
    order_.resize(start);
    const uint8_t* origin = image.pixels.data();
    for (size_t row = 0; row < height_; ++row) {
      const size_t first = at(0, row);
      const uint32_t* d = &distances_[first];
      const auto place =
          static_cast<uint32_t>(image.pixel(x, y + static_cast<int32_t>(row)) - origin);
      for (size_t column = 0; column < width_; ++column) {
        if (d[column] == 0) continue;
        order_[levels_[d[column]]++] = {static_cast<uint32_t>(first + column),
                                        place + static_cast<uint32_t>(column) * 4};
      }
    }
  }

  // Gives the invisible pixels their colours on the image, alpha kept at 0.
  void colour(RgbaImage& image) const {
    const auto row = static_cast<ptrdiff_t>(image.width) * 4;
    const ptrdiff_t places[8] = {-4, 4, -row, row, -row - 4, -row + 4, row - 4, row + 4};
    uint8_t* origin = image.pixels.data();
    for (const Pixel pixel : order_) {
      const uint32_t distance = distances_[pixel.at];
      for (size_t k = 0; k < 8; ++k) {
        if (distances_[pixel.at + neighbours_[k]] == distance - 1) {
          uint8_t* out = origin + pixel.place;
          std::memcpy(out, out + places[k], 3);
          break;
        }
      }
    }
  }

 private:
  size_t at(size_t column, size_t row) const { return (row + 1) * stride_ + column + 1; }

  const size_t width_;
  const size_t height_;
  const size_t stride_;
  ptrdiff_t neighbours_[8];
  std::vector<uint32_t>& distances_;  // in passes, of the framed rectangle, rows top first
  std::vector<Pixel>& order_;         // the rectangle's pixels by increasing distance
  std::vector<uint32_t>& levels_;     // where each distance begins in order_
};

}  // namespace

void bleedColours(RgbaImage& image, int32_t x, int32_t y, int32_t width, int32_t height,
                  BleedScratch& scratch) {
  if (width < 1 || height < 1) return;
  // Places on the image are kept in 32 bits: no sheet holds more bytes.
  Growth growth(scratch, static_cast<size_t>(width), static_cast<size_t>(height));
  if (!growth.measure(image, x, y)) return;
  growth.sort(image, x, y);
  growth.colour(image);
}

}  // namespace oz
