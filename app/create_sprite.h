// The "Create" command: builds the sheet with `options` (what the main
// window's controls and the sheet options hold at this moment), exports the selected script after
// it, and ends with the completion message and the offer to preview the sheet. Runs to its end
// within one turn of the event loop and changes no control.
#pragma once

#include <optional>

#include "app/build_progress.h"
#include "app/export_choice.h"
#include "app/written_sheets.h"
#include "sheet/build_sheet.h"
#include "store/support_dir.h"
#include "toolkit/toolkit.h"

namespace oz {

// `options` with what the chosen script export adds to a build: the script's
// file and its template's, not to be written over, and the way the
// template's engine reads turned frames.
BuildOptions withScriptExport(const Toolkit& toolkit, const SupportDir& supportDir,
                              const ExportChoice& choice, BuildOptions options);

// The sheets written, or nothing when the build was refused or cancelled.
std::optional<WrittenSheets> createSprite(Toolkit& toolkit, const SupportDir& supportDir,
                                          const ExportChoice& choice, const BuildOptions& options,
                                          const BuildClock& clock);

}  // namespace oz
