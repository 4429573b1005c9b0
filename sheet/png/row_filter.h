// PNG row filters over image data laid out as the PNG stores it: each row is
// one filter-type byte followed by the row's bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace oz {

enum class RowFilter : uint8_t { None = 0, Sub = 1, Up = 2, Average = 3, Paeth = 4 };
inline constexpr int kRowFilterCount = 5;

// Writes `row` filtered with `filter` to `out` (rowBytes bytes). `previous` is
// the unfiltered row above, nullptr for the top row. `pixelBytes` is the
// distance to the byte of the pixel on the left: bytes per pixel, at least 1.
void filterRow(RowFilter filter, const uint8_t* row, const uint8_t* previous, size_t rowBytes,
               size_t pixelBytes, uint8_t* out);

// Undoes filter type `filter` on `row` (rowBytes bytes) in place; `previous`
// is the row above, already unfiltered, nullptr for the top row. False for a
// filter type the PNG format does not have.
bool unfilterRow(uint8_t filter, uint8_t* row, const uint8_t* previous, size_t rowBytes,
                 size_t pixelBytes);

// `data` holds `height` unfiltered rows of 1 + rowBytes bytes. Each row is
// replaced, in place, by its filtered form that has the least sum of absolute
// differences (bytes read as signed), with its filter byte set; the usual
// heuristic for images of 8 or more bits per sample. Rows are done bottom-up,
// so that the row above a row is still unfiltered when it is needed.
void filterRowsAdaptively(uint8_t* data, size_t rowBytes, int32_t height, size_t pixelBytes);

}  // namespace oz
