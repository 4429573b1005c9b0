#include "app/sheet_on_disk.h"

#include <utility>
#include <vector>

#include "sheet/animation_scan.h"
#include "sheet/header_layout.h"
#include "sheet/png/png_read.h"

namespace oz {

std::optional<WrittenSheets> sheetOnDisk(const BuildOptions& options) {
  if (options.savePath.empty() || options.dedupe || (options.packed && options.trim)) {
    return std::nullopt;
  }
  HeaderLayout layout = layOutFromHeaders(options);
  if (layout.problem != LayoutProblem::None || layout.sheets.front().frames.empty()) {
    return std::nullopt;
  }
  std::vector<WrittenSheet> sheets;
  for (BuiltSheet& sheet : layout.sheets) {
    const std::optional<PngSize> file = readPngSize(sheet.path);
    if (!file || file->tooShort || sheet.width != file->width || sheet.height != file->height) {
      return std::nullopt;
    }
    sheets.push_back({std::move(sheet.path), std::move(sheet.frames), std::move(sheet.animations)});
  }
  return writtenSheets(std::move(sheets),
                       scanFolderFrames(options.imageFolder, options.animations).names, options);
}

}  // namespace oz
