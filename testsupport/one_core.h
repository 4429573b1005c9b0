// Running a piece of a test on one core, for tests that hold a result made on
// every core to the one made on a single core.
#pragma once

#include <functional>

namespace oz::testing {

// Whether this process may run on more than one core.
bool severalCores();

// Runs `work` with the process held to the first core it may use, then gives
// it back all of them.
void onOneCore(const std::function<void()>& work);

}  // namespace oz::testing
