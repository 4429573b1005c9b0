#include "app/sheet_on_disk.h"

#include <utility>

#include "sheet/header_layout.h"
#include "sheet/png/png_read.h"

namespace oz {

std::optional<WrittenSheet> sheetOnDisk(const BuildOptions& options) {
  if (options.savePath.empty() || options.dedupe) return std::nullopt;
  const std::optional<PngSize> file = readPngSize(options.savePath);
  if (!file || file->tooShort) return std::nullopt;
  HeaderLayout layout = layOutFromHeaders(options);
  if (layout.problem != LayoutProblem::None || layout.sheet.frames.empty() ||
      layout.sheet.width != file->width || layout.sheet.height != file->height) {
    return std::nullopt;
  }
  return WrittenSheet{options.savePath, std::move(layout.sheet.frames)};
}

}  // namespace oz
