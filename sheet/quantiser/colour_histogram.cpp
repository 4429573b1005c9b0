#include "sheet/quantiser/colour_histogram.h"

#include <algorithm>
#include <cstdint>

namespace oz {
namespace {

bool isPrime(int64_t n) {
  if (n < 2) return false;
  for (int64_t d = 2; d * d <= n; ++d) {
    if (n % d == 0) return false;
  }
  return true;
}

// Open addressing on the packed colour; the table doubles at half full. A slot
// holds the colour's position in the list plus 1, 0 when empty.
class ColourTable {
 public:
  void add(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    const uint32_t key = r | g << 8 | b << 16 | static_cast<uint32_t>(a) << 24;
    // Sprites lie in runs of one colour: the background, flat fills.
    if (key == lastKey_ && !colours_.empty()) {
      ++colours_[last_].count;
      return;
    }
    if (2 * (colours_.size() + 1) > slots_.size()) grow();
    const size_t at = find(key);
    if (slots_[at] == 0) {
      colours_.push_back(CountedColour{r, g, b, a, 0});
      keys_.push_back(key);
      slots_[at] = static_cast<uint32_t>(colours_.size());
    }
    last_ = slots_[at] - 1;
    lastKey_ = key;
    ++colours_[last_].count;
  }

  size_t size() const { return colours_.size(); }
  std::vector<CountedColour> take() { return std::move(colours_); }

 private:
  static constexpr uint32_t kSpread = 2654435761u;  // Knuth's multiplier

  size_t find(uint32_t key) const {
    const size_t mask = slots_.size() - 1;
    for (size_t at = (key * kSpread) & mask;; at = (at + 1) & mask) {
      if (slots_[at] == 0 || keys_[slots_[at] - 1] == key) return at;
    }
  }

  void grow() {
    slots_.assign(std::max<size_t>(1024, 2 * slots_.size()), 0);
    for (size_t i = 0; i < keys_.size(); ++i) slots_[find(keys_[i])] = static_cast<uint32_t>(i + 1);
  }

  std::vector<uint32_t> slots_;
  std::vector<uint32_t> keys_;
  std::vector<CountedColour> colours_;
  uint32_t lastKey_ = 0;  // the colour last added, at colours_[last_]
  size_t last_ = 0;
};

// Calls add(table, pixel) for every `step`th pixel of `image` in raster order;
// false when the table outgrows `limit` colours, and the count stops there.
template <class Image, class Add>
bool countInto(ColourTable& table, const Image& image, int64_t step, size_t limit, Add add) {
  const int64_t pixels = static_cast<int64_t>(image.width) * image.height;
  for (int64_t p = 0; p < pixels; p += step) {
    add(table, image.row(static_cast<int32_t>(p / image.width)) +
                   Image::kBytes * static_cast<size_t>(p % image.width));
    if (table.size() > limit) return false;
  }
  return true;
}

template <class Image, class Add>
std::vector<CountedColour> count(const Image& image, Add add) {
  const int64_t pixels = static_cast<int64_t>(image.width) * image.height;
  if (pixels > kHistogramSamples && pixels <= kExactCountPixels) {
    ColourTable every;
    if (countInto(every, image, 1, kExactColours, add)) return every.take();
  }
  ColourTable table;
  countInto(table, image, histogramStep(image.width, image.height), SIZE_MAX, add);
  return table.take();
}

}  // namespace

int64_t histogramStep(int32_t width, int32_t height) {
  const int64_t pixels = static_cast<int64_t>(width) * height;
  if (pixels <= kHistogramSamples) return 1;
  int64_t step = (pixels + kHistogramSamples - 1) / kHistogramSamples;
  while (!isPrime(step) || width % step == 0) ++step;
  return step;
}

std::vector<CountedColour> countColours(const OpaqueImage& image) {
  return count(image,
               [](ColourTable& table, const uint8_t* p) { table.add(p[0], p[1], p[2], 255); });
}

std::vector<CountedColour> countColours(const AlphaImage& image) {
  return count(image, [](ColourTable& table, const uint8_t* p) {
    if (p[3] != 0) table.add(p[0], p[1], p[2], p[3]);
  });
}

}  // namespace oz
