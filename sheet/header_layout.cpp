#include "sheet/header_layout.h"

#include <optional>

#include "sheet/animation_scan.h"
#include "sheet/png/png_read.h"

namespace oz {

HeaderSize frameHeaderSize(const std::string& path) {
  const std::optional<PngSize> size = readPngSize(path);
  if (!size) return {};
  const bool beyondLimit = size->width > kSheetSizeLimit || size->height > kSheetSizeLimit;
  if (size->tooShort && !beyondLimit) return {};
  return {size->width, size->height, beyondLimit};
}

HeaderLayout layOutFromHeaders(const BuildOptions& options) {
  HeaderLayout result;
  FrameList& frames = result.sheet.frames;
  FolderFrames scanned = scanFolderFrames(options.imageFolder, options.animations);
  for (std::string& name : scanned.names) {
    const HeaderSize size = frameHeaderSize(options.imageFolder + name);
    frames.push_back({.name = std::move(name), .width = size.width, .height = size.height});
  }
  result.sheet.animations = animationsOnSheet(scanned.animations, frames.size(), options.savePath);
  const SheetLayout layout =
      layOutFrames(frames, LayoutRules{options.strip, parseColumns(options.columns),
                                       options.spacing, options.border, options.extrude});
  result.problem = layout.problem;
  result.sheet.path = options.savePath;
  result.sheet.width = options.powerOf2 ? padToPowerOf2(layout.width) : layout.width;
  result.sheet.height = options.powerOf2 ? padToPowerOf2(layout.height) : layout.height;
  return result;
}

}  // namespace oz
