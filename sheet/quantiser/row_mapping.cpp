#include "sheet/quantiser/row_mapping.h"

namespace oz {

void thresholdRow(const uint8_t* rgb, int32_t width, uint8_t* indices) {
  for (int32_t x = 0; x < width; ++x, rgb += 3) {
    // Strictly greater: a grey of 160 evaluates just below 160 and stays black.
    const double luminance = (0.2126 * rgb[0] + 0.7152 * rgb[1]) + 0.0722 * rgb[2];
    indices[x] = luminance > 160 ? 1 : 0;
  }
}

// Adds the pixel's error, then halves the running error (toward zero) until it
// is small both on its own and next to the pixel's error, so that no streak of
// error runs away across the row.
void ErrorDiffusion::settle(Error& e, const Error& d) {
  int dd = 0;
  for (int c = 0; c < 4; ++c) {
    e[c] += d[c];
    dd += d[c] * d[c];
  }
  for (;;) {
    int s = 0;
    bool large = false;
    for (int c : e) {
      s += c * c;
      large = large || c * c > 100;
    }
    if (!large && s <= 2 * dd && s <= 200) return;
    for (int& c : e) c /= 2;
  }
}

void ErrorDiffusion::push(uint8_t* pixel, const Error& e, int sixteenths) {
  for (int c = 0; c < 4; ++c) pixel[c] = clampByte(pixel[c] - sixteenths * e[c] / 16);
}

}  // namespace oz
