// The signals that end a watch (Ctrl-C, a kill, a closed terminal), turned
// into a request that the watch reads between its steps: the build under way
// stops at its next step and writes nothing, or, once its sheets are in place,
// writes their scripts too, so that the outputs stay whole and belong
// together. A second signal ends the process at once, as outside a watch,
// leaving the old outputs and no temporary file.
#pragma once

#include <signal.h>

namespace oz {

class StopSignals {
 public:
  // Catches SIGINT, SIGTERM and SIGHUP. One instance at a time.
  StopSignals();
  // Gives the signals back the handlers they had.
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // Readable once a signal has come: for poll.
  int descriptor() const { return readEnd_; }
  // The first signal that came, or 0. Safe from any thread.
  int signal() const;

 private:
  int readEnd_ = -1;
  struct sigaction saved_[3] = {};
};

}  // namespace oz
