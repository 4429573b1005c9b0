// The "Create" command: builds the sheet with what the main window's controls
// and the sheet options hold at this moment, exports the selected script
// after it (one for each sheet), and ends with the completion message and the
// offer to preview the sheet. Runs to its end within one turn of the event
// loop and changes no control. "Rebuild on Change" builds again with the same
// choices, quietly.
#pragma once

#include <optional>
#include <vector>

#include "app/build_progress.h"
#include "app/export_choice.h"
#include "app/written_sheets.h"
#include "messages/problem_text.h"
#include "script/script_export.h"
#include "sheet/build_sheet.h"
#include "store/support_dir.h"
#include "toolkit/toolkit.h"

namespace oz {

// What a "Create" builds with: the options, with the script's files so that
// none is written over another and the way the template's engine reads turned
// frames, and the script export after the sheets.
struct CreateChoices {
  BuildOptions options;
  std::optional<ScriptExportRequest> script;  // nothing when no script is exported
};

// The choices as the controls hold them now, over the build `options`.
CreateChoices createChoices(const Toolkit& toolkit, const SupportDir& supportDir,
                            const ExportChoice& choice, const BuildOptions& options);

// The sheets written, or nothing when the build was refused or cancelled.
// What the build tells of the image folder is shown before the completion
// message.
std::optional<WrittenSheets> createSprite(Toolkit& toolkit, const CreateChoices& choices,
                                          const BuildClock& clock);

// How a build again ended.
struct RebuildResult {
  std::optional<WrittenSheets> sheets;  // in place, written or left as they were
  bool written = false;                 // some output was written, not left as it was
  std::optional<ProblemText> problem;   // the refusal, or a script's failure
  std::vector<ProblemText> notices;     // what the build told of the image folder
};

// Builds again with `choices` as "Create" does, progress and clipboard
// included, but shows no completion message, no preview question, no
// problem and no notice: the caller decides how often to show one.
// Cancelled, it has neither sheets nor a problem.
RebuildResult rebuildSprite(Toolkit& toolkit, const CreateChoices& choices,
                            const BuildClock& clock);

}  // namespace oz
