// What a watch prints after each build: one line for a build whose outputs
// are in place, written or found unchanged; for a refused one its reason,
// once, until the reason changes, so that a folder saved again and again
// does not repeat it.
#pragma once

#include <cstdio>
#include <string>

#include "cli/cli_build.h"

namespace oz {

class WatchReport {
 public:
  // Lines go to `out`, or to `err` when standard output carries an output;
  // reasons and notices go to `err`.
  WatchReport(std::FILE* out, std::FILE* err) : out_(out), err_(err) {}

  // `said` is what the build wrote to its error stream on the way (problems
  // and notices), `when` the time of day it ended, `seconds` how long it took.
  void print(const CliBuildReport& report, const std::string& said, const std::string& when,
             double seconds);

 private:
  std::FILE* out_;
  std::FILE* err_;
  std::string lastSaid_;  // what the build before said
};

}  // namespace oz
