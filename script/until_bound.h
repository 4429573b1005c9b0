// The number of passes an `ov.Until` line asks for.
#pragma once

#include <cstdint>
#include <string_view>

namespace oz {

// Reads the bound from an `ov.Until` line whose tags are already replaced:
// every "ov.Until", then every "=", then every blank is removed; then leading
// tabs are skipped, an optional sign read, and "$" hexadecimal, "%" binary or
// decimal digits up to the first character that does not fit. No digits give
// 0. Values beyond the 64-bit range saturate.
int64_t readUntilBound(std::string_view line);

}  // namespace oz
