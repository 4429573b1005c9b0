// Which of the colour-depth dependent controls the main window shows and
// enables for a depth: "Dithering" and "Remove Alpha" share one place, and the
// background options matter only where nearly transparent pixels are replaced.
#pragma once

namespace oz {

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
