// The palette of a reduction that keeps transparency, and the search over it
// that keeps its two promises: a pixel of alpha 0 gets an entry of alpha 0, a
// pixel of alpha 255 an entry of alpha 255.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "sheet/quantiser/colormap.h"
#include "sheet/quantiser/colour_cache.h"
#include "sheet/quantiser/image_view.h"
#include "sheet/quantiser/palette_search.h"
#include "sheet/quantiser/reduction.h"

namespace oz {

// Entries in this order: the reserved transparent entry (when there is one),
// the other entries below alpha 255, then the entries of alpha 255. A PNG's
// tRNS chunk may leave out trailing opaque entries, so this order keeps it
// short.
struct AlphaPalette {
  int size = 0;  // 2^bits
  std::array<PaletteColour, 256> colours{};
  int transparent = -1;  // the entry every pixel of alpha 0 takes; -1 when none has alpha 0
  int firstOpaque = 0;   // entries [firstOpaque, size) have alpha 255
  Colormap opaque;       // those entries, for the search of opaque pixels
  Colormap all;          // every entry, for the search of the others
  std::array<uint8_t, 256> allOrder{};  // the entry of each position of `all`
};

// Trains a network of 2^bits neurons (one fewer when an entry is reserved) on
// `image` and pins its alpha ends; bits is 4 or 8. `sampleDivisor` as
// planTraining takes it.
AlphaPalette trainAlphaPalette(const AlphaImage& image, int bits, const GammaTable& gt,
                               int sampleDivisor = 1);

// The nearest entry of an AlphaPalette: alpha 0 takes the transparent entry,
// alpha 255 the nearest opaque entry, anything between the nearest of all.
// Both searches run to the nearest entry: these palettes have no fixed bytes
// to keep, and the quicker search misses most often on translucent pixels.
class AlphaSearch {
 public:
  // `remember` keeps the answers for translucent colours by colour: without
  // dithering, soft edges and shadows repeat their colours exactly. Dithered
  // queries rarely repeat, and there the table would only cost memory traffic.
  AlphaSearch(const AlphaPalette& palette, const GammaTable& gt, bool remember);

  int operator()(int red, int green, int blue, int alpha) {
    if (alpha == 0 && palette_.transparent >= 0) return palette_.transparent;
    if (alpha == 255 && palette_.firstOpaque < palette_.size) {
      return palette_.firstOpaque + opaque_(red, green, blue, 255);
    }
    if (!remembered_) return palette_.allOrder[all_(red, green, blue, alpha)];
    return palette_.allOrder[(*remembered_)(red, green, blue, alpha,
                                            [&] { return all_(red, green, blue, alpha); })];
  }

 private:
  const AlphaPalette& palette_;
  CachedSearch opaque_;
  EachSideSearch all_;
  std::unique_ptr<ColourCache<18>> remembered_;
};

}  // namespace oz
