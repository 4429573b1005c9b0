// Sheets an earlier run built, found again from the options that build was
// given, so that the Sheet Preview can show them after a restart.
#pragma once

#include <optional>

#include "app/written_sheets.h"
#include "sheet/build_sheet.h"

namespace oz {

// The files at `options.savePath` (numbered when the packed layout makes
// several) with their frames laid out from their headers as a build with
// `options` places them, turned `options.turn`, and their animations. Nothing when a file is
// missing or is no PNG, when that layout fails or a sheet's size is not its
// file's, and with `dedupe` or packed `trim` (only the pixels tell which
// frames share a cell, or what trimming leaves): the outlines would then not
// be the sheet's frames.
std::optional<WrittenSheets> sheetOnDisk(const BuildOptions& options);

}  // namespace oz
