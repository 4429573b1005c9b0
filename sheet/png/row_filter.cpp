#include "sheet/png/row_filter.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace oz {
namespace {

uint8_t paethPredictor(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a);
  const int pb = std::abs(p - b);
  const int pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
  return static_cast<uint8_t>(pb <= pc ? b : c);
}

// The byte of each filter's predictor: left (a), above (b), above-left (c).
template <RowFilter kFilter>
void filterWith(const uint8_t* row, const uint8_t* previous, size_t rowBytes, size_t pixelBytes,
                uint8_t* out) {
  for (size_t i = 0; i < rowBytes; ++i) {
    const int a = i >= pixelBytes ? row[i - pixelBytes] : 0;
    const int b = previous != nullptr ? previous[i] : 0;
    const int c = previous != nullptr && i >= pixelBytes ? previous[i - pixelBytes] : 0;
    int predicted = 0;
    if constexpr (kFilter == RowFilter::Sub) predicted = a;
    if constexpr (kFilter == RowFilter::Up) predicted = b;
    if constexpr (kFilter == RowFilter::Average) predicted = (a + b) / 2;
    if constexpr (kFilter == RowFilter::Paeth) predicted = paethPredictor(a, b, c);
    out[i] = static_cast<uint8_t>(row[i] - predicted);
  }
}

// The sum of the filtered bytes read as signed magnitudes.
uint64_t absoluteSum(const uint8_t* bytes, size_t count) {
  uint64_t sum = 0;
  for (size_t i = 0; i < count; ++i) sum += bytes[i] < 128 ? bytes[i] : 256 - bytes[i];
  return sum;
}

}  // namespace

void filterRow(RowFilter filter, const uint8_t* row, const uint8_t* previous, size_t rowBytes,
               size_t pixelBytes, uint8_t* out) {
  switch (filter) {
    case RowFilter::None:
      std::memcpy(out, row, rowBytes);
      return;
    case RowFilter::Sub:
      return filterWith<RowFilter::Sub>(row, previous, rowBytes, pixelBytes, out);
    case RowFilter::Up:
      return filterWith<RowFilter::Up>(row, previous, rowBytes, pixelBytes, out);
    case RowFilter::Average:
      return filterWith<RowFilter::Average>(row, previous, rowBytes, pixelBytes, out);
    case RowFilter::Paeth:
      return filterWith<RowFilter::Paeth>(row, previous, rowBytes, pixelBytes, out);
  }
}

bool unfilterRow(uint8_t filter, uint8_t* row, const uint8_t* previous, size_t rowBytes,
                 size_t pixelBytes) {
  const auto up = [&](size_t i) { return previous != nullptr ? previous[i] : 0; };
  const auto left = [&](size_t i) { return i >= pixelBytes ? row[i - pixelBytes] : 0; };
  switch (filter) {
    case static_cast<uint8_t>(RowFilter::None):
      return true;
    case static_cast<uint8_t>(RowFilter::Sub):
      for (size_t i = pixelBytes; i < rowBytes; ++i) row[i] += row[i - pixelBytes];
      return true;
    case static_cast<uint8_t>(RowFilter::Up):
      if (previous != nullptr) {
        for (size_t i = 0; i < rowBytes; ++i) row[i] += previous[i];
      }
      return true;
    case static_cast<uint8_t>(RowFilter::Average):
      for (size_t i = 0; i < rowBytes; ++i) row[i] += static_cast<uint8_t>((left(i) + up(i)) / 2);
      return true;
    case static_cast<uint8_t>(RowFilter::Paeth):
      for (size_t i = 0; i < rowBytes; ++i) {
        const int upLeft = i >= pixelBytes && previous != nullptr ? previous[i - pixelBytes] : 0;
        row[i] += paethPredictor(left(i), up(i), upLeft);
      }
      return true;
    default:
      return false;
  }
}

void filterRowsAdaptively(uint8_t* data, size_t rowBytes, int32_t height, size_t pixelBytes) {
  const size_t stride = rowBytes + 1;
  std::vector<uint8_t> candidate(rowBytes);
  std::vector<uint8_t> best(rowBytes);
  for (int32_t y = height - 1; y >= 0; --y) {
    uint8_t* row = data + static_cast<size_t>(y) * stride;
    const uint8_t* previous = y > 0 ? row - stride + 1 : nullptr;
    uint64_t bestSum = absoluteSum(row + 1, rowBytes);
    RowFilter bestFilter = RowFilter::None;
    for (int f = 1; f < kRowFilterCount; ++f) {
      const auto filter = static_cast<RowFilter>(f);
      filterRow(filter, row + 1, previous, rowBytes, pixelBytes, candidate.data());
      const uint64_t sum = absoluteSum(candidate.data(), rowBytes);
      if (sum < bestSum) {
        bestSum = sum;
        bestFilter = filter;
        best.swap(candidate);
      }
    }
    row[0] = static_cast<uint8_t>(bestFilter);
    if (bestFilter != RowFilter::None) std::memcpy(row + 1, best.data(), rowBytes);
  }
}

}  // namespace oz
