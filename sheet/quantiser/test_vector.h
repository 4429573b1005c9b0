// Test support: reads a reduction case stored as JSON (the input pixels, the
// options, the expected palette and packed rows).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sheet/quantiser/reduction.h"

namespace oz::testing {

struct ReductionCase {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bits = 0;
  bool dither = false;
  std::vector<uint8_t> rgb;                // 3 bytes per pixel, rows unpadded
  std::vector<PaletteColour> palette;      // 2^bits entries with their alpha
  std::vector<std::vector<uint8_t>> rows;  // packed, top first
};

// The case in `json`, or nothing with the reason in `error`.
std::optional<ReductionCase> parseReductionCase(std::string_view json, std::string* error);

}  // namespace oz::testing
