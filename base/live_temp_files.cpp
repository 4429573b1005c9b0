#include "base/live_temp_files.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <atomic>

namespace oz {
namespace {

// The program writes at most a sheet, a script and the settings file at once;
// the spare slots only make room for what may come.
constexpr size_t kSlots = 8;

std::array<std::atomic<const char*>, kSlots> gTracked{};
static_assert(std::atomic<const char*>::is_always_lock_free, "read from a signal handler");

// The signals the command line and the desktop program end on. They are held
// while a file is being created, whichever of them has a handler.
sigset_t interruptingSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&set, signal);
  return set;
}

void track(const char* path) {
  for (std::atomic<const char*>& slot : gTracked) {
    const char* empty = nullptr;
    if (slot.compare_exchange_strong(empty, path)) return;
  }
}

// Only async-signal-safe calls: unlink and _exit.
void removeTrackedAndExit(int signal) {
  removeTrackedTempFiles();
  _exit(128 + signal);
}

}  // namespace

void removeTrackedTempFiles() {
  for (std::atomic<const char*>& slot : gTracked) {
    if (const char* path = slot.load()) unlink(path);
  }
}

HeldSignals::HeldSignals() {
  const sigset_t held = interruptingSignals();
  sigprocmask(SIG_BLOCK, &held, &saved_);
}

HeldSignals::~HeldSignals() { sigprocmask(SIG_SETMASK, &saved_, nullptr); }

int createTrackedTempFile(std::string* pattern) {
  const HeldSignals held;
  const int fd = mkostemp(pattern->data(), O_CLOEXEC);
  if (fd >= 0) track(pattern->c_str());
  return fd;
}

void untrackTempFile(const std::string& path) {
  for (std::atomic<const char*>& slot : gTracked) {
    const char* mine = path.c_str();
    if (slot.compare_exchange_strong(mine, nullptr)) return;
  }
}

void removeTempFilesOnSignals(std::initializer_list<int> caught) {
  struct sigaction action {};
  action.sa_handler = removeTrackedAndExit;
  sigfillset(&action.sa_mask);  // no second signal cuts the removal short
  for (int signal : caught) sigaction(signal, &action, nullptr);
}

}  // namespace oz
