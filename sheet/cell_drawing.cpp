#include "sheet/cell_drawing.h"

#include "base/huge_pages.h"
#include "sheet/compose.h"
#include "sheet/extrude.h"

namespace oz {

std::unique_ptr<BleedScratch> ScratchPool::take() {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (free_.empty()) return std::make_unique<BleedScratch>();
  std::unique_ptr<BleedScratch> scratch = std::move(free_.back());
  free_.pop_back();
  return scratch;
}

void ScratchPool::give(std::unique_ptr<BleedScratch> scratch) {
  const std::lock_guard<std::mutex> lock(mutex_);
  free_.push_back(std::move(scratch));
}

void drawCell(RgbaImage& canvas, const RgbaImage& image, const CellPlacement& place,
              const SpriteOptions& options, ScratchPool& scratchPool) {
  const auto x = static_cast<int32_t>(place.x);
  const auto y = static_cast<int32_t>(place.y);
  const CanvasAlpha alpha =
      options.premultipliedAlpha ? CanvasAlpha::Premultiplied : CanvasAlpha::Straight;
  if (place.turned) {
    drawTurnedFrame(canvas, image, x, y, place.turn, alpha);
  } else {
    drawFrame(canvas, image, x, y, alpha);
  }
  const int32_t width = place.turned ? image.height : image.width;
  const int32_t height = place.turned ? image.width : image.height;
  if (options.bleed && !options.premultipliedAlpha) {
    std::unique_ptr<BleedScratch> scratch = scratchPool.take();
    bleedColours(canvas, x, y, width, height, *scratch);
    scratchPool.give(std::move(scratch));
  }
  extrudeEdges(canvas, x, y, width, height, options.extrude);
}

RgbaImage emptyCanvas(int64_t width, int64_t height) {
  RgbaImage canvas;
  canvas.width = static_cast<int32_t>(width);
  reserveOnHugePages(canvas.pixels, static_cast<size_t>(width) * static_cast<size_t>(height) * 4 +
                                        static_cast<size_t>(height));
  return canvas;
}

void growCanvas(RgbaImage& canvas, int64_t height) {
  if (height <= canvas.height) return;
  canvas.height = static_cast<int32_t>(height);
  canvas.pixels.resize(static_cast<size_t>(canvas.width) * static_cast<size_t>(height) * 4);
}

}  // namespace oz
