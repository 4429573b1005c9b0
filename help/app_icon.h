// The application icon: a 256 × 256 PNG drawn for this program (make_icon.sh),
// built into the executable so no file has to be found at run time.
#pragma once

#include <cstdint>
#include <span>

namespace oz {

std::span<const std::uint8_t> appIconPng();

}  // namespace oz
