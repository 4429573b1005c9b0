// orvane-zozivi-cli: parses the command line, runs the sheet build and reports
// how it ended.
#pragma once

#include <cstdio>

namespace oz {

enum CliExitStatus : int {
  kExitWritten = 0,
  // The build's message (title and text) went to `err`; or --install-script
  // found no such template, or an existing script, or no gallery at all.
  kExitRefused = 1,
  // A usage error, or one file named twice (the sheet, the script file, the
  // template or a frame).
  kExitUsage = 2,
  // The sheet, the script or the copied template could not be written, or
  // the template could not be read.
  kExitWriteFailed = 3,
};

// One success line on `out`; everything else on `err`. No exception leaves
// it: running out of memory anywhere ends with the build's "Out of Memory!"
// message and kExitRefused.
int runCli(int argc, const char* const* argv, std::FILE* out, std::FILE* err);

}  // namespace oz
