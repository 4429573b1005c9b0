// The "Sheet Options..." window: the sheet's choices that the main window's
// controls do not show, one tick box each with a line saying what it does,
// the palette quantiser, a list, then the spacing, border and extrusion in
// pixels, one field each.
// A choice is stored in the settings file at once; the choices stay while the
// window is closed, and "Create" takes them from here.
#pragma once

#include "sheet/build_sheet.h"
#include "store/settings_store.h"
#include "toolkit/toolkit.h"

namespace oz {

inline constexpr const char* kSheetOptionsTitle = "Sheet Options";

class SheetOptionsWindow {
 public:
  SheetOptionsWindow(Toolkit& toolkit, SettingsStore& settings);

  // Takes the choices read from the settings file at start-up.
  void restore(const SpriteOptions& stored);
  // Opens the window over the active window (anew when it is open), showing
  // the choices with the enabling of the main window's `depth`.
  void open(int depth);
  // Enables what applies at `depth` when the main window's depth changes, and
  // "Alpha Bleeding" only with straight alpha. Disabling never changes a tick.
  void followDepth(int depth);
  // Handles a click on one of the window's ticks, a choice in its list or a
  // change of one of its fields; false for any other control.
  bool handleControl(int control);
  // Sets the choices in `options` as they apply at options.colorDepth: a
  // choice that does nothing at that depth goes to the build switched off, and
  // so does alpha bleeding with premultiplied alpha; the quantiser is the
  // network's except for a palette.
  void applyTo(BuildOptions& options) const;

 private:
  Toolkit& toolkit_;
  SettingsStore& settings_;
  SpriteOptions chosen_;
  int depth_ = 0;  // the main window's depth, as last followed
};

}  // namespace oz
