#include "sheet/quantiser/packing.h"

namespace oz {

size_t packedRowBytes(int32_t width, int32_t bits) {
  return (static_cast<size_t>(width) * static_cast<size_t>(bits) + 7) / 8;
}

void packIndices(uint8_t* row, int32_t width, int32_t bits) {
  if (bits == 8) return;
  const int perByte = 8 / bits;
  const size_t bytes = packedRowBytes(width, bits);
  // Byte k reads indices k x perByte onward, never before k, so packing in
  // increasing k overwrites only indices already read.
  for (size_t k = 0; k < bytes; ++k) {
    unsigned packed = 0;
    for (int t = 0; t < perByte; ++t) {
      const size_t x = k * perByte + t;
      const unsigned index = x < static_cast<size_t>(width) ? row[x] : 0;
      packed |= index << (8 - bits * (t + 1));
    }
    row[k] = static_cast<uint8_t>(packed);
  }
}

}  // namespace oz
