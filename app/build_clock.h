// The clock that times a sheet build for its progress dialog; tests pass one
// they move by hand.
#pragma once

#include <chrono>
#include <functional>

namespace oz {

using BuildClock = std::function<std::chrono::steady_clock::time_point()>;

}  // namespace oz
