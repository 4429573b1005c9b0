// The build's progress as one self-rewriting line on a terminal, shown only
// once a build has run for more than a second, so quick builds print nothing.
#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "sheet/build_sheet.h"

namespace oz {

// "Writing row 120 of 2048", "Reducing colours", ...
std::string describeProgress(const BuildProgress& progress);

class ProgressLine {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // Draws on `out` only when `enabled` (standard error is a terminal). The
  // second counts from construction.
  ProgressLine(std::FILE* out, bool enabled, Clock now = std::chrono::steady_clock::now);

  void update(const BuildProgress& progress);
  // Clears the line, if one was drawn, so that what follows starts clean.
  void finish();

 private:
  std::FILE* out_;
  bool enabled_;
  Clock now_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastDrawn_;  // redraws are spaced out
  bool drawn_ = false;
  BuildPhase lastPhase_ = BuildPhase::LoadingFrames;
};

}  // namespace oz
