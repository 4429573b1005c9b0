#include "sheet/header_layout.h"

#include <algorithm>
#include <numeric>
#include <optional>

#include "sheet/animation_scan.h"
#include "sheet/numbered_path.h"
#include "sheet/packed_places.h"
#include "sheet/png/png_read.h"

namespace oz {

HeaderSize frameHeaderSize(const std::string& path) {
  const std::optional<PngSize> size = readPngSize(path);
  if (!size) return {};
  const bool beyondLimit = size->width > kSheetSizeLimit || size->height > kSheetSizeLimit;
  if (size->tooShort && !beyondLimit) return {};
  return {size->width, size->height, beyondLimit};
}

namespace {

// The frames packed whole as the packed build packs them; a frame without a
// size takes a cell of one pixel, but keeps no size.
HeaderLayout packFromHeaders(FrameList frames, const AnimationList& animations,
                             const BuildOptions& options) {
  const PackRules rules = packRulesFor(options);
  std::vector<RectSize> cells;
  bool fits = true;
  for (FrameEntry& frame : frames) {
    frame.sourceWidth = frame.width;
    frame.sourceHeight = frame.height;
    cells.push_back(
        packedCell(std::max<int64_t>(frame.width, 1), std::max<int64_t>(frame.height, 1), options));
    fits = fits && fitsOnSheet(cells.back(), rules);
  }
  const PackResult packing = fits && !frames.empty() ? packRectangles(cells, rules) : PackResult{};
  if (!packing.fits) {
    BuiltSheet unpacked{std::move(frames), 0, 0, options.savePath};
    unpacked.animations = animationsOnSheet(animations, unpacked.frames.size(), options.savePath);
    return {unpacked.frames.empty() ? LayoutProblem::Empty : LayoutProblem::TooLarge,
            {std::move(unpacked)}};
  }
  std::vector<size_t> own(frames.size());
  std::iota(own.begin(), own.end(), 0);
  HeaderLayout result;
  const auto count = static_cast<int64_t>(packing.sheets.size());
  for (int64_t s = 0; s < count; ++s) {
    const auto sheet = static_cast<int32_t>(s);
    BuiltSheet built{framesOnSheet(frames, own, own, packing, sheet, options.extrude),
                     packing.sheets[s].width, packing.sheets[s].height,
                     numberedPath(options.savePath, s, count)};
    built.animations =
        animationsOnSheet(animations, framesOnSheetAt(own, own, packing, sheet), built.path);
    result.sheets.push_back(std::move(built));
  }
  return result;
}

}  // namespace

HeaderLayout layOutFromHeaders(const BuildOptions& options) {
  FrameList frames;
  FolderFrames scanned = scanFolderFrames(options.imageFolder, options.animations);
  for (std::string& name : scanned.names) {
    const HeaderSize size = frameHeaderSize(options.imageFolder + name);
    frames.push_back({.name = std::move(name), .width = size.width, .height = size.height});
  }
  if (options.packed) return packFromHeaders(std::move(frames), scanned.animations, options);
  const SheetLayout layout =
      layOutFrames(frames, LayoutRules{options.strip, parseColumns(options.columns),
                                       options.spacing, options.border, options.extrude});
  BuiltSheet sheet{std::move(frames), options.powerOf2 ? padToPowerOf2(layout.width) : layout.width,
                   options.powerOf2 ? padToPowerOf2(layout.height) : layout.height,
                   options.savePath};
  sheet.animations = animationsOnSheet(scanned.animations, sheet.frames.size(), options.savePath);
  return {layout.problem, {std::move(sheet)}};
}

}  // namespace oz
