#include "app/sheet_on_disk.h"

#include <utility>

#include "sheet/header_layout.h"
#include "sheet/png/png_read.h"

namespace oz {

std::optional<WrittenSheet> sheetOnDisk(const BuildOptions& options) {
  if (options.savePath.empty() || options.dedupe || options.packed) return std::nullopt;
  const std::optional<PngSize> file = readPngSize(options.savePath);
  if (!file || file->tooShort) return std::nullopt;
  HeaderLayout layout = layOutFromHeaders(options);
  BuiltSheet& sheet = layout.sheets.front();
  if (layout.problem != LayoutProblem::None || sheet.frames.empty() ||
      sheet.width != file->width || sheet.height != file->height) {
    return std::nullopt;
  }
  return WrittenSheet{options.savePath, std::move(sheet.frames)};
}

}  // namespace oz
