// The "Create" command: builds the sheet from what the main window's controls
// hold at this moment, exports the selected script after it, and ends with the
// completion message and the offer to preview the sheet. Runs to its end
// within one turn of the event loop and changes no control.
#pragma once

#include <string_view>

#include "app/build_clock.h"
#include "app/export_choice.h"
#include "store/support_dir.h"
#include "toolkit/toolkit.h"

namespace oz {

// The desktop's opener: it shows a file in the default viewer and a web
// address in the default browser.
inline constexpr const char* kOpener = "xdg-open";

// `target` (a path or an address, blanks and all) as the opener's one argument.
void openWithDesktop(Toolkit& toolkit, std::string_view target);

void createSprite(Toolkit& toolkit, const SupportDir& supportDir, const ExportChoice& choice,
                  const BuildClock& clock);

}  // namespace oz
