#include "base/parallel.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace oz {

size_t machineThreads() {
  // The affinity mask, not the machine's core count: a container or `taskset`
  // may give this process fewer cores than the machine has.
  cpu_set_t cores;
  if (sched_getaffinity(0, sizeof cores, &cores) == 0) {
    const int count = CPU_COUNT(&cores);
    if (count > 0) return static_cast<size_t>(count);
  }
  const unsigned count = std::thread::hardware_concurrency();
  return count > 0 ? count : 1;
}

bool forEachTaskAfter(const std::function<void()>& lead, size_t count, size_t threads,
                      const std::function<bool(size_t index, bool onCallingThread)>& task) {
  std::atomic<size_t> next{0};
  std::atomic<bool> stopped{false};
  std::mutex failureLock;
  std::exception_ptr failure;
  const auto fail = [&] {
    const std::lock_guard<std::mutex> hold(failureLock);
    if (!failure) failure = std::current_exception();
    stopped = true;
  };

  auto run = [&](bool onCallingThread) {
    while (!stopped.load()) {
      const size_t index = next.fetch_add(1);
      if (index >= count) return;
      try {
        if (!task(index, onCallingThread)) stopped = true;
      } catch (...) {
        fail();
      }
    }
  };

  std::vector<std::thread> helpers;
  const size_t wanted = std::min(threads, count);
  helpers.reserve(wanted);
  for (size_t i = 1; i < wanted; ++i) {
    try {
      helpers.emplace_back(run, false);
    } catch (const std::system_error&) {
      break;
    }
  }
  try {
    if (lead) lead();
  } catch (...) {
    fail();
  }
  run(true);
  for (std::thread& helper : helpers) helper.join();
  if (failure) std::rethrow_exception(failure);
  return !stopped.load();
}

bool forEachTask(size_t count, size_t threads,
                 const std::function<bool(size_t index, bool onCallingThread)>& task) {
  return forEachTaskAfter({}, count, threads, task);
}

}  // namespace oz
