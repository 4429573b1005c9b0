// Work shared between the machine's cores: numbered tasks handed out in order
// to the calling thread and as many more threads as there are cores.
#pragma once

#include <cstddef>
#include <functional>

namespace oz {

// The processor cores this process may use; at least 1.
size_t machineThreads();

// Calls task(i, onCallingThread) once for each i from 0 to count - 1, in
// increasing order of start, on the calling thread and up to threads - 1 more
// (never more threads than tasks). Only the calling thread is told it is the
// calling one, so only its tasks may report progress to the caller.
// Once a task returns false or throws, no further task starts; the first
// exception is rethrown here after every thread has finished. True when every
// task ran and returned true. A thread that cannot be started leaves its share
// to the others.
bool forEachTask(size_t count, size_t threads,
                 const std::function<bool(size_t index, bool onCallingThread)>& task);

// As forEachTask, but the calling thread first runs `lead` while the other
// threads already take tasks, which may wait for what `lead` makes. Such waits
// must end when `lead` throws: no task starts after that, and the exception is
// rethrown once every thread has finished.
bool forEachTaskAfter(const std::function<void()>& lead, size_t count, size_t threads,
                      const std::function<bool(size_t index, bool onCallingThread)>& task);

}  // namespace oz
