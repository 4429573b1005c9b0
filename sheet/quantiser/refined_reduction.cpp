#include "sheet/quantiser/refined_reduction.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "base/parallel.h"
#include "sheet/quantiser/alpha_palette.h"
#include "sheet/quantiser/colour_histogram.h"
#include "sheet/quantiser/gamma.h"
#include "sheet/quantiser/left_tie_search.h"
#include "sheet/quantiser/nearest_entry.h"
#include "sheet/quantiser/network_palette.h"
#include "sheet/quantiser/palette_refinement.h"
#include "sheet/quantiser/row_mapper.h"
#include "sheet/quantiser/selective_diffusion.h"

namespace oz {
namespace {

// The network only has to give the refinement a good start: on a large sheet
// a quarter of its samples does that, for less time. A small one takes them
// all, which costs little.
int sampleDivisor(int32_t width, int32_t height) {
  return static_cast<int64_t>(width) * height >= (int64_t{1} << 20) ? 4 : 1;
}

// The palette to start from, and the entry kept for clear pixels (-1: none).
struct StartingPalette {
  std::array<PaletteColour, 256> colours{};
  int size = 0;
  int transparent = -1;
};

// The opaque network's palette, every entry opaque: the file has no alpha.
StartingPalette startingPalette(const OpaqueImage& image, int32_t bits) {
  StartingPalette start;
  start.size = 1 << bits;
  start.colours =
      trainPalette(image, start.size, makeGammaTable(), sampleDivisor(image.width, image.height))
          .palette;
  for (int i = 0; i < start.size; ++i) start.colours[i].alpha = 255;
  return start;
}

StartingPalette startingPalette(const AlphaImage& image, int32_t bits) {
  const AlphaPalette trained =
      trainAlphaPalette(image, bits, makeGammaTable(), sampleDivisor(image.width, image.height));
  return {trained.colours, trained.size, trained.transparent};
}

template <class Image>
class RefinedReduction final : public Reduction {
 public:
  RefinedReduction(const Image& image, int32_t bits, bool dither, size_t threads)
      : palette_(refined(image, bits, threads)),
        search_(palette(), palette_.transparent),
        rows_(image, bits, false),
        image_(image),
        bits_(bits),
        dither_(dither),
        diffusion_(image),
        indices_(indexRow(image.width)) {}

  std::span<const PaletteColour> palette() const override {
    return {palette_.colours.data(), static_cast<size_t>(palette_.size)};
  }

  std::span<const uint8_t> row(int32_t y) override {
    search_.startRow();
    if (!dither_) return rows_.row(y, palette(), search_);
    diffusion_.mapRow(y, palette(), search_, indices_.data());
    packIndices(indices_.data(), image_.width, bits_);
    return {indices_.data(), packedRowBytes(image_.width, bits_)};
  }

 private:
  static StartingPalette refined(const Image& image, int32_t bits, size_t threads) {
    // The network's training and the count of colours read the image apart.
    StartingPalette palette;
    std::vector<CountedColour> colours;
    forEachTask(2, threads, [&](size_t task, bool) {
      if (task == 0) {
        palette = startingPalette(image, bits);
      } else {
        colours = countColours(image);
      }
      return true;
    });
    const std::span entries(palette.colours.data(), static_cast<size_t>(palette.size));
    refinePalette(entries, palette.transparent, colours, threads);
    palette.transparent = orderByUse(entries, palette.transparent, colours);
    return palette;
  }

  // Entries may have changed kind: translucent ones first again, so the
  // transparency chunk stays short, the clear entry first of all. Within each
  // kind the most used come first. Deflate codes the index bytes by Huffman
  // codes whose lengths it lists in byte order, a list that shrinks where
  // neighbouring bytes are about as common: on the example frames this saves
  // 8 % of the image data at 8 bits and 12 % at 4, where the network's order
  // is as good as random. Returns where the clear entry is now.
  static int orderByUse(std::span<PaletteColour> entries, int transparent,
                        std::span<const CountedColour> colours) {
    std::vector<uint64_t> use(entries.size(), 0);
    const NearestEntry nearest(entries, transparent);
    for (const CountedColour& c : colours) {
      use[nearest(c.red, c.green, c.blue, c.alpha)] += c.count;
    }
    std::vector<int> order(entries.size());
    for (size_t k = 0; k < order.size(); ++k) order[k] = static_cast<int>(k);
    const auto rank = [&](int k) { return k == transparent ? 0 : entries[k].alpha != 255 ? 1 : 2; };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
      if (rank(a) != rank(b)) return rank(a) < rank(b);
      return use[a] > use[b];
    });
    std::vector<PaletteColour> before(entries.begin(), entries.end());
    for (size_t k = 0; k < order.size(); ++k) entries[k] = before[order[k]];
    return transparent >= 0 ? 0 : -1;
  }

  StartingPalette palette_;
  LeftTieSearch search_;
  RowMapper<Image> rows_;
  Image image_;
  int32_t bits_;
  bool dither_;
  SelectiveDiffusion<Image> diffusion_;
  std::vector<uint8_t> indices_;
};

}  // namespace

std::unique_ptr<Reduction> openRefined(const OpaqueImage& image, int32_t bits, bool dither,
                                       size_t threads) {
  return std::make_unique<RefinedReduction<OpaqueImage>>(image, bits, dither, threads);
}

std::unique_ptr<Reduction> openRefined(const AlphaImage& image, int32_t bits, bool dither,
                                       size_t threads) {
  return std::make_unique<RefinedReduction<AlphaImage>>(image, bits, dither, threads);
}

}  // namespace oz
