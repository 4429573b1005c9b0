// PNG files whose header claims another size than their pixel data holds, as
// a hostile or damaged frame might.
#pragma once

#include <cstdint>
#include <string>

namespace oz::testing {

// `png` (the bytes of a PNG file) with the width and height of its header
// replaced and the header's checksum made right again, so that only the image
// data gives the lie away. `png` unchanged when it has no header.
std::string withClaimedSize(std::string png, uint32_t width, uint32_t height);

}  // namespace oz::testing
