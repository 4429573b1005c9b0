#include <csignal>
#include <cstdio>

#include "base/live_temp_files.h"
#include "cli/run_cli.h"

int main(int argc, char** argv) {
  // A closed standard output is a failed write like any other, reported with
  // its message and status 3, not a silent death.
  std::signal(SIGPIPE, SIG_IGN);
  // Ctrl-C, a kill or a closed terminal leaves the old outputs as they were.
  oz::removeTempFilesOnSignals({SIGINT, SIGTERM, SIGHUP});
  return oz::runCli(argc, argv, stdout, stderr);
}
