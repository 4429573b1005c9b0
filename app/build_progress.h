// Feedback during a sheet build: a build that is still running after about
// half a second shows a modal progress dialog, so a quick build never flashes
// one. Its Cancel stops the build.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "sheet/build_sheet.h"
#include "toolkit/toolkit.h"

namespace oz {

// The clock that times a sheet build for its progress dialog; tests pass one
// they move by hand.
using BuildClock = std::function<std::chrono::steady_clock::time_point()>;

inline constexpr const char* kBuildProgressTitle = "Creating Sprite";
inline constexpr std::chrono::milliseconds kProgressDelay{500};
// How often the dialog looks for a press of Cancel while what it shows stays
// the same, as it does while the sheet's data is compressed.
inline constexpr std::chrono::milliseconds kCancelCheckInterval{100};

// The dialog's text for a step of the build.
std::string buildProgressText(const BuildProgress& progress);
// How much of the whole build is done, from 0 to 1: loading the frames' headers
// is quick, decoding them onto the sheet and writing the PNG are the long
// parts, and training a palette sits in between.
double buildProgressFraction(const BuildProgress& progress);

class BuildProgressDialog {
 public:
  // The build is taken to start now.
  BuildProgressDialog(Toolkit& toolkit, BuildClock clock);
  BuildProgressDialog(const BuildProgressDialog&) = delete;
  BuildProgressDialog& operator=(const BuildProgressDialog&) = delete;
  // Closes the dialog if it was shown.
  ~BuildProgressDialog();

  // The build's progress callback: false once the user has pressed Cancel.
  bool report(const BuildProgress& progress);

 private:
  Toolkit& toolkit_;
  BuildClock clock_;
  std::chrono::steady_clock::time_point start_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point lastAsked_;  // the toolkit, last time
  // What the dialog shows, so a callback per row repaints only on visible change.
  std::string text_;
  int permille_ = -1;
};

}  // namespace oz
