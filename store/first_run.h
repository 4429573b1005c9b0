// The start-up step shared by the desktop program and the command line: find
// the support directory and seed it when the program runs there for the first
// time.
#pragma once

#include <string>

#include "store/support_dir.h"

namespace oz {

struct PreparedSupportDir {
  SupportDir dir;
  bool firstRun = false;  // the settings file did not exist, so the folder was seeded
};

// Forms the support directory for (`versionCode`, `home`). When the settings
// file does not exist (an empty file or a directory of that name does not
// count), this is a first run: the missing directories are created (owner
// only, parent first), the five example scripts are written, replacing files
// of the same names, and the settings file is created empty. Failures are
// silent: the program then works from defaults. Safe to run in several
// processes at once: each finds the scripts once it returns.
PreparedSupportDir prepareSupportDir(int versionCode, const std::string& home);

}  // namespace oz
