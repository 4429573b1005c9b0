#include "app/build_progress.h"

#include <algorithm>
#include <utility>

namespace oz {
namespace {

struct PhaseSpan {
  double start;
  double length;
};

PhaseSpan spanOf(BuildPhase phase) {
  switch (phase) {
    case BuildPhase::LoadingFrames:
      return {0.0, 0.05};
    case BuildPhase::Composing:
      return {0.05, 0.45};
    case BuildPhase::ReducingColours:
      return {0.5, 0.2};
    case BuildPhase::Writing:
      return {0.7, 0.3};
  }
  return {0.0, 0.0};
}

std::string count(const BuildProgress& p) {
  return std::to_string(p.done) + " of " + std::to_string(p.total);
}

}  // namespace

std::string buildProgressText(const BuildProgress& progress) {
  switch (progress.phase) {
    case BuildPhase::LoadingFrames:
      return "Loading frames (" + count(progress) + ")...";
    case BuildPhase::Composing:
      return "Composing the sheet (frame " + count(progress) + ")...";
    case BuildPhase::ReducingColours:
      return "Reducing colors...";
    case BuildPhase::Writing:
      return "Writing the sheet...";
  }
  return {};
}

double buildProgressFraction(const BuildProgress& progress) {
  const PhaseSpan span = spanOf(progress.phase);
  double within = 0;
  if (progress.total > 0) {
    within = std::clamp(static_cast<double>(progress.done) / static_cast<double>(progress.total),
                        0.0, 1.0);
  }
  return span.start + span.length * within;
}

BuildProgressDialog::BuildProgressDialog(Toolkit& toolkit, BuildClock clock)
    : toolkit_(toolkit), clock_(std::move(clock)), start_(clock_()) {}

BuildProgressDialog::~BuildProgressDialog() {
  if (shown_) toolkit_.closeProgress();
}

bool BuildProgressDialog::report(const BuildProgress& progress) {
  const auto now = clock_();
  if (!shown_ && now - start_ < kProgressDelay) return true;
  const double fraction = buildProgressFraction(progress);
  const int permille = static_cast<int>(fraction * 1000);
  std::string text = buildProgressText(progress);
  const bool unchanged = shown_ && permille == permille_ && text == text_;
  if (unchanged && now - lastAsked_ < kCancelCheckInterval) return true;
  shown_ = true;
  permille_ = permille;
  text_ = std::move(text);
  lastAsked_ = now;
  return toolkit_.showProgress(kBuildProgressTitle, text_, fraction);
}

}  // namespace oz
