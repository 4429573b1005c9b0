#include "testsupport/one_core.h"

#include <sched.h>

#include <stdexcept>

namespace oz::testing {

bool severalCores() {
  cpu_set_t all;
  return sched_getaffinity(0, sizeof all, &all) == 0 && CPU_COUNT(&all) > 1;
}

void onOneCore(const std::function<void()>& work) {
  cpu_set_t all;
  if (sched_getaffinity(0, sizeof all, &all) != 0) throw std::runtime_error("sched_getaffinity");
  cpu_set_t one;
  CPU_ZERO(&one);
  for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
    if (CPU_ISSET(cpu, &all)) {
      CPU_SET(cpu, &one);
      break;
    }
  }
  if (sched_setaffinity(0, sizeof one, &one) != 0) throw std::runtime_error("sched_setaffinity");
  work();
  sched_setaffinity(0, sizeof all, &all);
}

}  // namespace oz::testing
