// The temporary files this process is writing, kept where a signal handler can
// reach them: an interrupted run (Ctrl-C, a kill, a closed terminal or session)
// removes them before it ends, so it leaves the old outputs as they were and
// no half-written file beside them.
//
// This is the one piece of process-wide state in the libraries. A signal
// handler can reach nothing else: it cannot be handed the objects that own the
// files, and it may call only async-signal-safe functions, so the paths sit in
// a fixed table of atomic pointers that it reads without locks or allocation.
#pragma once

#include <signal.h>

#include <initializer_list>
#include <string>

namespace oz {

// Creates a new file from `pattern` (a path ending in "XXXXXX", as mkstemp
// takes it), writes the file's name into `pattern` and tracks it. The
// interrupting signals are held meanwhile, so a file is never created
// untracked. `*pattern` must then stay unchanged until untrackTempFile. The
// descriptor open for writing, or -1.
int createTrackedTempFile(std::string* pattern);

// Stops tracking the file created under `path`; call it once the file has been
// renamed or removed.
void untrackTempFile(const std::string& path);

// Holds the interrupting signals while it lives, for steps that must not be
// parted by one (a name given, then renamed).
class HeldSignals {
 public:
  HeldSignals();
  ~HeldSignals();
  HeldSignals(const HeldSignals&) = delete;
  HeldSignals& operator=(const HeldSignals&) = delete;

 private:
  sigset_t saved_;
};

// Removes every tracked file. Async-signal-safe, for a signal handler of the
// caller's own that ends the process.
void removeTrackedTempFiles();

// From now on each of `caught` removes every tracked file and ends the
// process with the status 128 + the signal's number, as a shell reports a
// process the signal ended.
void removeTempFilesOnSignals(std::initializer_list<int> caught);

}  // namespace oz
