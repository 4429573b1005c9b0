// Hands a file or a web address to the desktop, which shows it in the default
// viewer or browser.
#pragma once

#include <string_view>

#include "toolkit/toolkit.h"

namespace oz {

inline constexpr const char* kOpener = "xdg-open";

// `target` (a path or an address, blanks and all) as the opener's one argument.
void openWithDesktop(Toolkit& toolkit, std::string_view target);

}  // namespace oz
