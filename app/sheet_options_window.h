// The "Sheet Options..." window: the sheet's choices that the main window's
// controls do not show, in two columns. The sheet's pixels on the left: one
// tick box each with a line saying what it does, the palette quantiser, a
// list, then the spacing, border and extrusion in pixels, one field each. The
// layout on the right: "Grid" (the main window's strip or sheet) or "Packed",
// and the packed layout's own choices, enabled only while it is chosen; under
// them where the script's animations come from and their frame rate, which
// shows the rate that applies while none is chosen.
// A choice is stored in the settings file at once; the choices stay while the
// window is closed, and "Create" takes them from here.
#pragma once

#include <functional>

#include "sheet/build_sheet.h"
#include "store/settings_store.h"
#include "toolkit/toolkit.h"

namespace oz {

inline constexpr const char* kSheetOptionsTitle = "Sheet Options";

class SheetOptionsWindow {
 public:
  // `layoutChanged` is told after the user chose another layout.
  SheetOptionsWindow(Toolkit& toolkit, SettingsStore& settings,
                     std::function<void()> layoutChanged);

  // Takes the choices read from the settings file at start-up.
  void restore(const SpriteOptions& stored);
  // Opens the window over the active window (anew when it is open), showing
  // the choices with the enabling of the main window's `depth`.
  void open(int depth);
  // Enables what applies at `depth` when the main window's depth changes, and
  // "Alpha Bleeding" only with straight alpha. Disabling never changes a tick.
  void followDepth(int depth);
  // Handles a click on one of the window's ticks, a choice in one of its
  // lists or a change of one of its fields; false for any other control.
  bool handleControl(int control);
  // Whether "Packed" is chosen, in place of the main window's strip or grid.
  bool packedChosen() const { return chosen_.packed; }
  // Sets the choices in `options` as they apply at options.colorDepth: a
  // choice that does nothing at that depth or in the chosen layout goes to
  // the build switched off (at its default), and so does alpha bleeding with
  // premultiplied alpha and the trim threshold without trimming; the
  // quantiser is the network's except for a palette.
  void applyTo(BuildOptions& options) const;

 private:
  void followChoices();  // enables each row as the choices and the depth allow

  Toolkit& toolkit_;
  SettingsStore& settings_;
  const std::function<void()> layoutChanged_;
  SpriteOptions chosen_;
  int depth_ = 0;  // the main window's depth, as last followed
};

}  // namespace oz
