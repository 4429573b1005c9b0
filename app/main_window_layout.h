// The main window's menus and controls as built: captions, places, sizes and
// the state each starts in.
#pragma once

#include "toolkit/toolkit.h"

namespace oz {

inline constexpr const char* kMainWindowTitle = "Orvane Zozivi";
inline constexpr int kMainWindowWidth = 340;
inline constexpr int kMainWindowHeight = 425;

inline constexpr const char* kScriptListPlaceholder = "Select a script...";

// The "File", "Script" and "Help" menus. There is no application menu on this
// platform, so "Quit" ends "File" and "About Orvane" ends "Help".
void createMainMenus(Toolkit& toolkit);

// Controls 0–28 in their start state; the script list holds only its
// placeholder entry.
void createMainControls(Toolkit& toolkit);

}  // namespace oz
