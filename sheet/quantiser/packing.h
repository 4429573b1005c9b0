// Packing a row of palette indices into PNG row bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace oz {

// Bytes in a packed row: ceil(width x bits / 8).
size_t packedRowBytes(int32_t width, int32_t bits);

// Packs width indices (one per byte) in place: at 4 bits two per byte, the
// first in the high nibble; at 1 bit eight per byte, the first in the most
// significant bit; at 8 bits unchanged. Unused low bits of the last byte are 0.
void packIndices(uint8_t* row, int32_t width, int32_t bits);

}  // namespace oz
