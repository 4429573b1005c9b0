// The nearest palette index for a pixel, searched outward from the colormap
// entry its green level points to.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sheet/quantiser/candidate_cells.h"
#include "sheet/quantiser/colormap.h"

namespace oz {

// Where the walk outward from the start entry stops.
enum class SearchStop {
  // The first entry, on either side, whose green distance alone exceeds the
  // best distance so far ends the whole search: quick, but a nearer entry may
  // remain on the other side. The opaque sheets' reduction searches so.
  Together,
  // Each side stops at its own first such entry, so the search finds the
  // nearest entry.
  EachSide,
};

// Nearest entry of `map` for the pixel (red, green, blue, alpha), each 0..255.
// Walks up from netindex[green] and down from the entry below it, alternately,
// until `stop` says. On equal distances the entry found first stays.
int searchColormap(const Colormap& map, const GammaTable& gt, int red, int green, int blue,
                   int alpha, SearchStop stop = SearchStop::Together);

// Nearest entry of `map` by the plain sum of the four squared differences, no
// gamma and no weighting, each side searched to its own end: for colormaps
// that hold colours as they are, not in gamma space.
int searchSquares(const Colormap& map, int red, int green, int blue, int alpha);

// searchColormap(map, gt, ..., SearchStop::EachSide), the same entry for every
// query, found sooner for translucent ones. The weight of colour falls with
// alpha, so the walk by green stops late for them. Where many queries fall
// close together, only the entries that can be nearest somewhere in the
// query's cell are compared; elsewhere, below alpha 192, a walk outward by
// alpha, whose difference counts in full, stops early. Ties go to the entry
// the walk by green meets first, and each distance is summed as that walk
// sums it.
class EachSideSearch {
 public:
  EachSideSearch(const Colormap& map, const GammaTable& gt);

  int operator()(int red, int green, int blue, int alpha);

 private:
  // Below this alpha the colour weight is under 0.94 and the walk by alpha
  // looks at fewer entries than the walk by green.
  static constexpr int kWalkByAlphaBelow = 192;

  // The search without cells.
  int walk(int red, int green, int blue, int alpha) const;

  const Colormap& map_;
  const GammaTable& gt_;
  CandidateCells cells_;
  std::array<double, 256> weights_{};   // colourWeight of each alpha
  std::array<uint8_t, 256> levels_{};   // gt of each byte, a whole number
  std::array<uint8_t, 256> byAlpha_{};  // entry positions in order of alpha
  std::array<int, 257> alphaStart_{};   // per alpha level: its first place in byAlpha_
};

// searchColormap with a memory: the result depends on the query colour alone,
// and sprites repeat their colours, dithered or not, so most pixels are answered
// from a table keyed by the colour. Opaque queries that miss are searched in
// integers, which give the same answer. The pixels handed to the reduction are
// opaque and dithering never lowers their alpha, so only opaque colours are
// kept; any other query is searched each time.
class CachedSearch {
 public:
  CachedSearch(const Colormap& map, const GammaTable& gt, SearchStop stop = SearchStop::Together);

  int operator()(int red, int green, int blue, int alpha) {
    const uint32_t key = keyOf(red, green, blue, alpha);
    if (key == lastKey_ && lastIndex_ >= 0) return lastIndex_;
    lastKey_ = key;
    if (alpha != 255) {
      lastIndex_ = search(red, green, blue, alpha);
      return lastIndex_;
    }
    // Dithering asks for colours a few steps apart from one another, so they
    // share a block of slots: the low bits of each channel pick the slot within
    // the block, and the remaining high bits, hashed, pick the block.
    // Multiplying by an odd number permutes the high bits, so the block (the
    // top bits of the product) and the tag (the rest) together name them.
    const uint32_t r = static_cast<uint32_t>(red);
    const uint32_t g = static_cast<uint32_t>(green);
    const uint32_t b = static_cast<uint32_t>(blue);
    const uint32_t low = (r & kRedLow) | (g & kGreenLow) << kRedLowBits |
                         (b & kBlueLow) << (kRedLowBits + kGreenLowBits);
    const uint32_t high = r >> kRedLowBits | (g >> kGreenLowBits) << (8 - kRedLowBits) |
                          (b >> kBlueLowBits) << (16 - kRedLowBits - kGreenLowBits);
    const uint32_t hash = (high * kHashMultiplier) & kHighMask;
    uint16_t& slot = slots_[(hash >> kTagBits) << kLowBits | low];
    const uint16_t tag = static_cast<uint16_t>((hash & kTagMask) << 9 | kFilled);
    if ((slot & ~kIndexMask) != tag)
      slot = static_cast<uint16_t>(tag | search(red, green, blue, alpha));
    lastIndex_ = slot & kIndexMask;
    return lastIndex_;
  }

 private:
  // A slot holds tag << 9 | kFilled | index in 2 bytes, so the table covers
  // the colours of a large dithered sheet while staying near the processor.
  // A block of 2^kLowBits slots is 512 bytes: eight neighbouring cache lines.
  static constexpr int kSlotBits = 18;
  static constexpr int kRedLowBits = 3;
  static constexpr int kGreenLowBits = 3;
  static constexpr int kBlueLowBits = 2;
  static constexpr int kLowBits = kRedLowBits + kGreenLowBits + kBlueLowBits;
  static constexpr uint32_t kRedLow = (uint32_t{1} << kRedLowBits) - 1;
  static constexpr uint32_t kGreenLow = (uint32_t{1} << kGreenLowBits) - 1;
  static constexpr uint32_t kBlueLow = (uint32_t{1} << kBlueLowBits) - 1;
  static constexpr int kTagBits = 24 - kSlotBits;
  static constexpr uint32_t kHighMask = (uint32_t{1} << (24 - kLowBits)) - 1;
  static constexpr uint32_t kHashMultiplier = 2654435761u;  // Knuth's: spreads nearby blocks
  static constexpr uint32_t kTagMask = (uint32_t{1} << kTagBits) - 1;
  static constexpr uint32_t kFilled = 0x100;  // 0, an empty slot, matches no tag
  static constexpr uint32_t kIndexMask = 0xff;

  static uint32_t keyOf(int red, int green, int blue, int alpha) {
    return static_cast<uint32_t>(red) | static_cast<uint32_t>(green) << 8 |
           static_cast<uint32_t>(blue) << 16 | static_cast<uint32_t>(alpha) << 24;
  }

  int search(int red, int green, int blue, int alpha) const;

  const Colormap& map_;
  const GammaTable& gt_;
  SearchStop stop_;
  std::vector<uint16_t> slots_;
  uint32_t lastKey_ = 0;  // the previous query: neighbouring pixels repeat it most often
  int lastIndex_ = -1;    // -1: no previous query
};

}  // namespace oz
