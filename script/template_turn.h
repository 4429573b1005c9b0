// Which way a template's engine expects frames stored turned to be turned:
// the template says so by the word it uses for them.
#pragma once

#include <span>
#include <string>

#include "sheet/layout/frame.h"

namespace oz {

// Anticlockwise when the template's lines for packed sheets (linesForLayout)
// name `ov.ImageRotatedAnticlockwise` and never `ov.ImageRotated`; clockwise
// otherwise, as most formats read it.
Turn templateTurn(std::span<const std::string> lines);

}  // namespace oz
