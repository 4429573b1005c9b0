#include "sheet/packed_places.h"

namespace oz {

PackRules packRulesFor(const BuildOptions& options) {
  return {.maxSize = options.maxSize,
          .spacing = options.spacing,
          .border = options.border,
          .powerOf2 = options.powerOf2,
          .square = options.square,
          .rotation = options.rotate,
          .multipack = options.multipack};
}

RectSize packedCell(int64_t width, int64_t height, const BuildOptions& options) {
  return {width + 2 * options.extrude, height + 2 * options.extrude};
}

std::vector<size_t> framesOnSheetAt(const std::vector<size_t>& owners,
                                    const std::vector<size_t>& cellOf, const PackResult& packing,
                                    int32_t sheet) {
  std::vector<size_t> at;
  for (size_t i = 0; i < owners.size(); ++i) {
    if (packing.places[cellOf[owners[i]]].sheet == sheet) at.push_back(i);
  }
  return at;
}

FrameList framesOnSheet(const FrameList& frames, const std::vector<size_t>& owners,
                        const std::vector<size_t>& cellOf, const PackResult& packing, int32_t sheet,
                        int64_t extrude) {
  FrameList onSheet;
  for (const size_t i : framesOnSheetAt(owners, cellOf, packing, sheet)) {
    const PackedPlace& place = packing.places[cellOf[owners[i]]];
    FrameEntry entry = frames[i];
    entry.number = static_cast<int64_t>(onSheet.size()) + 1;
    entry.x = place.x + extrude;
    entry.y = place.y + extrude;
    entry.rotated = place.turned;
    onSheet.push_back(std::move(entry));
  }
  return onSheet;
}

}  // namespace oz
