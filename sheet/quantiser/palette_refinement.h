// Refining a palette by k-means (Lloyd) iterations: every colour of the image
// goes to its nearest entry, and every entry moves to the mean of its colours,
// which lowers the squared error of the mapping at each step.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "sheet/quantiser/colour_histogram.h"
#include "sheet/quantiser/reduction.h"

namespace oz {

// Iterations at most; the refinement stops early once no entry moves.
inline constexpr int kRefinementRounds = 16;
// After the rounds settle, up to this many entries move from where they serve
// least to the cluster with the largest error, each followed by rounds again,
// where colours x entries stays within kRelocationWork: an opaque 2048 x 2048
// sheet of sprites (35,000 colours at 256 entries) does, the same sheet with
// translucent edges (68,000 in its sample) does not, where relocating took six
// times as long.
inline constexpr int kRelocations = 16;
inline constexpr size_t kRelocationWork = size_t{1} << 24;

// Moves the entries of `palette` toward the colours they serve, measured as
// NearestEntry measures. Entry `fixed` (or none, -1) keeps its alpha, the one
// every clear pixel takes; its colour becomes the mean of the faint colours
// nearest to it (the translucent colours' mean to start with). An entry
// that serves an opaque colour stays opaque; one that serves only translucent
// colours takes their mean alpha, below 255. An entry that serves no colour
// moves onto the colour served worst (count x distance). So entries may change
// kind, and the caller orders them afterwards. Whole-number arithmetic
// throughout: the result does not depend on the machine, nor on the number of
// `threads` the searches are shared between.
void refinePalette(std::span<PaletteColour> palette, int fixed,
                   std::span<const CountedColour> colours, size_t threads = 1);

}  // namespace oz
