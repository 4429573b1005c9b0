#include "cli/stop_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>

#include "base/live_temp_files.h"

namespace oz {
namespace {

constexpr int kCaught[] = {SIGINT, SIGTERM, SIGHUP};

// A signal handler reaches nothing but what is global, and only through
// async-signal-safe calls: the signal that came, and the pipe that wakes the
// watch's poll.
std::atomic<int> gStopSignal{0};
int gWakeEnd = -1;
static_assert(std::atomic<int>::is_always_lock_free, "read from a signal handler");

void requestStop(int signal) {
  int none = 0;
  if (!gStopSignal.compare_exchange_strong(none, signal)) {
    removeTrackedTempFiles();
    _exit(128 + signal);
  }
  const char byte = 0;
  [[maybe_unused]] const ssize_t written = write(gWakeEnd, &byte, 1);
}

}  // namespace

StopSignals::StopSignals() {
  int ends[2] = {-1, -1};
  if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
    readEnd_ = ends[0];
    gWakeEnd = ends[1];
  }
  gStopSignal = 0;
  struct sigaction action {};
  action.sa_handler = requestStop;
  sigfillset(&action.sa_mask);
  for (size_t k = 0; k < std::size(kCaught); ++k) sigaction(kCaught[k], &action, &saved_[k]);
}

StopSignals::~StopSignals() {
  for (size_t k = 0; k < std::size(kCaught); ++k) sigaction(kCaught[k], &saved_[k], nullptr);
  if (readEnd_ >= 0) close(readEnd_);
  if (gWakeEnd >= 0) close(gWakeEnd);
  gWakeEnd = -1;
}

int StopSignals::signal() const { return gStopSignal.load(); }

}  // namespace oz
