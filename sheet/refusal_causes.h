// What a refused build found: the causes its refusals carry.
#pragma once

#include <optional>

#include "sheet/build_sheet.h"
#include "sheet/layout/grid_layout.h"

namespace oz {

// The refusal of a layout's problem, with what caused it. `frames` are the
// frames the layout was made of, their sizes settled; `cellOwners` as the
// layout was given them, when identical frames share a cell.
BuildRefusal layoutRefusal(const SheetLayout& layout, const FrameList& frames,
                           const BuildOptions& options, const std::vector<size_t>& cellOwners = {});

// The refusal of a sheet that could not be written at `path`.
BuildRefusal sheetNotWritten(const std::string& path);

// The refusal when one file would be written twice or written over what the
// run reads: the sheet and the script file, each against the other, the
// template and every frame. Nothing when every file is another.
std::optional<BuildRefusal> runFilesClash(const BuildOptions& options, const FrameList& frames);

}  // namespace oz
