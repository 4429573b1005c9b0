#include "app/depth_rules.h"

namespace oz {

DepthControls depthControls(int depth, bool removeAlphaTicked) {
  switch (depth) {
    case 1:  // "24-bit": the background replaces pixels only when alpha is removed
      return {.ditheringShown = false,
              .ditheringEnabled = false,
              .backgroundEnabled = removeAlphaTicked};
    case 2:  // the palette depths: "8-bit", "4-bit", "1-bit"
    case 3:
    case 4:
      return {.ditheringShown = true, .ditheringEnabled = true, .backgroundEnabled = true};
    default:  // "32-bit" and "Alpha" keep every pixel's colour as it is
      return {};
  }
}

}  // namespace oz
