// The main window's menus and controls as built: captions, places, sizes and
// the state each starts in.
#pragma once

#include "sheet/build_sheet.h"
#include "toolkit/toolkit.h"

namespace oz {

inline constexpr const char* kMainWindowTitle = "Orvane Zozivi";
inline constexpr int kMainWindowWidth = 340;
// Room below "Create" for the label of the last rebuild on change.
inline constexpr int kMainWindowHeight = 445;

inline constexpr const char* kScriptListPlaceholder = "Select a script...";

// The "File", "Script" and "Help" menus. There is no application menu on this
// platform, so "Quit" ends "File" and "About Orvane" ends "Help". Returns the
// index of the empty "Open Recent" submenu of "File".
int createMainMenus(Toolkit& toolkit);

// Controls 0–28 in their start state; the script list holds only its
// placeholder entry.
void createMainControls(Toolkit& toolkit);

// The tick boxes that each show one export option.
struct OptionTick {
  int control;
  bool SpriteOptions::*option;
};
inline constexpr OptionTick kOptionTicks[] = {
    {Control::Dithering, &SpriteOptions::dithering},
    {Control::RemoveAlpha, &SpriteOptions::removeAlpha},
    {Control::Retina, &SpriteOptions::retina},
    {Control::PowerOf2, &SpriteOptions::powerOf2},
};

// The export options and the two paths as the controls show them now.
BuildOptions optionsFromControls(const Toolkit& toolkit);

// Which of the colour-depth dependent controls the main window shows and
// enables for a depth: "Dithering" and "Remove Alpha" share one place, and the
// background options matter only where nearly transparent pixels are replaced.
struct DepthControls {
  bool ditheringShown = true;  // otherwise "Remove Alpha" is shown, enabled, in its place
  bool ditheringEnabled = false;
  bool backgroundEnabled = false;

  bool operator==(const DepthControls&) const = default;
};

// `depth` is an index of the "Color Depth" list (0 "32-bit" … 5 "Alpha");
// `removeAlphaTicked` matters only for "24-bit". An index outside 0..5 gives
// the controls of "32-bit".
DepthControls depthControls(int depth, bool removeAlphaTicked);

}  // namespace oz
