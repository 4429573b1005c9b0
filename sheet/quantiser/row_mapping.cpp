#include "sheet/quantiser/row_mapping.h"

namespace oz {

void thresholdRow(const uint8_t* rgb, int32_t width, uint8_t* indices) {
  for (int32_t x = 0; x < width; ++x, rgb += 3) {
    // Strictly greater: a grey of 160 evaluates just below 160 and stays black.
    const double luminance = (0.2126 * rgb[0] + 0.7152 * rgb[1]) + 0.0722 * rgb[2];
    indices[x] = luminance > 160 ? 1 : 0;
  }
}

}  // namespace oz
