// A sheet an earlier run built, found again from the options that build was
// given, so that the Sheet Preview can show it after a restart.
#pragma once

#include <optional>

#include "app/sheet_preview.h"
#include "sheet/build_sheet.h"

namespace oz {

// The file at `options.savePath` with its frames laid out from their headers
// as a build with `options` places them. Nothing when the file is missing or
// is no PNG, when that layout fails or its size is not the file's, and with
// `dedupe` (only the pixels tell which frames share a cell): the outlines
// would then not be the sheet's frames.
std::optional<WrittenSheet> sheetOnDisk(const BuildOptions& options);

}  // namespace oz
