// Drawing one frame into its cell of the sheet canvas, with what each cell
// option does around it, and the canvas the cells are drawn on.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "sheet/bleed.h"
#include "sheet/layout/frame.h"
#include "sheet/png/rgba_image.h"
#include "sheet/sprite_options.h"

namespace oz {

// Bleeding memory for each thread at work, reused from frame to frame: asked
// for anew per frame, it would cost more than the bleeding itself.
class ScratchPool {
 public:
  std::unique_ptr<BleedScratch> take();
  void give(std::unique_ptr<BleedScratch> scratch);

 private:
  std::mutex mutex_;
  std::vector<std::unique_ptr<BleedScratch>> free_;
};

// How a frame lies in its cell: where its stored rectangle starts, and
// whether (and which way) it is turned.
struct CellPlacement {
  int64_t x = 0;
  int64_t y = 0;
  bool turned = false;
  Turn turn = Turn::Clockwise;
};

// Draws `image` into its cell: the frame itself, turned when placed so, its
// invisible pixels given visible colours when asked (straight alpha only),
// then its edges repeated outward, so that the ring repeats the bled colours
// too. Cells never overlap, so different cells may be drawn on different
// threads at once.
void drawCell(RgbaImage& canvas, const RgbaImage& image, const CellPlacement& place,
              const SpriteOptions& options, ScratchPool& scratchPool);

// A canvas of `width` x `height` with room for that many rows, of which none is
// set yet. The room includes the byte the PNG writer puts before each row, so
// that it lays out the image data in the canvas itself rather than in a second
// copy.
RgbaImage emptyCanvas(int64_t width, int64_t height);

// Sets the canvas's rows up to `height`, transparent.
void growCanvas(RgbaImage& canvas, int64_t height);

}  // namespace oz
