// The working pixels of error diffusion. Dithering pushes error only from a
// row into the one below it, so two rows of working pixels (4 bytes each) hold
// all the state a full-size working copy would: the row being mapped and the
// next one, which collects the pushes.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace oz {

class WorkingRows {
 public:
  explicit WorkingRows(int32_t width)
      : current_(4 * static_cast<size_t>(width)), next_(current_.size()) {}

  // Makes row y current, with the error pushed into it, and loads row y + 1
  // fresh when there is one; load(row, out) writes a row's 4-byte pixels.
  // REQUIRES: y = 0, 1, ..., height - 1 in order.
  template <class Load>
  void moveTo(int32_t y, int32_t height, Load load) {
    if (y == 0) {
      load(0, current_.data());
    } else {
      std::swap(current_, next_);
    }
    hasBelow_ = y + 1 < height;
    if (hasBelow_) load(y + 1, next_.data());
  }

  uint8_t* current() { return current_.data(); }
  // The row below the current one, or nullptr for the last row.
  uint8_t* below() { return hasBelow_ ? next_.data() : nullptr; }

 private:
  std::vector<uint8_t> current_;
  std::vector<uint8_t> next_;
  bool hasBelow_ = false;
};

}  // namespace oz
