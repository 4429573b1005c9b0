// The main window's side of the script export: which template the "Export
// Script" list names, where its result goes, and the script save requester.
#pragma once

#include <string>
#include <string_view>

#include "store/support_dir.h"
#include "toolkit/toolkit.h"

namespace oz {

struct ExportChoice {
  bool clipboardMode = false;      // the selected template sends its result to the clipboard
  std::string extension = ".txt";  // of the selected file template; kept while a clipboard one is
                                   // selected
};

// The list's placeholder became the selection: no destination, nothing to choose.
void clearScriptDestination(Toolkit& toolkit, ExportChoice& choice);

// Handles a selection in the "Export Script" list: reads the chosen template's
// first line and shows either the clipboard line in the disabled destination
// field, or an empty field with the controls to choose a file.
void scriptSelectionChanged(Toolkit& toolkit, const SupportDir& supportDir, ExportChoice& choice);

// The "..." of the script destination: the save requester, opened in
// `startFolder`, and the extension appended to a chosen path that lacks it.
void chooseScriptDestination(Toolkit& toolkit, const ExportChoice& choice,
                             std::string_view startFolder);

}  // namespace oz
