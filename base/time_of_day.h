// The local time of day as a watch reports its builds: "14:02:03".
#pragma once

#include <string>

namespace oz {

std::string timeOfDay();

}  // namespace oz
