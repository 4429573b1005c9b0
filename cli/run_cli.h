// orvane-zozivi-cli: parses the command line, runs the sheet build and reports
// how it ended.
#pragma once

#include <cstdio>

namespace oz {

enum CliExitStatus : int {
  kExitWritten = 0,
  kExitRefused = 1,  // the build's message (title and text) went to `err`
  kExitUsage = 2,
  kExitWriteFailed = 3,  // the sheet could not be written
};

// One success line on `out`; everything else on `err`.
int runCli(int argc, const char* const* argv, std::FILE* out, std::FILE* err);

}  // namespace oz
