// Test support: opaque 3-byte images for the reduction tests.
#pragma once

#include <cstdint>
#include <vector>

namespace oz::testing {

// Every byte random.
std::vector<uint8_t> noiseImage(int32_t width, int32_t height, uint32_t seed);

// What sprites look like to the quantiser: a white background with rectangles of
// a dozen flat colours and a few shaded ones, so colours repeat heavily.
std::vector<uint8_t> spriteImage(int32_t width, int32_t height, uint32_t seed);

}  // namespace oz::testing
