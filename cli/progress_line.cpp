#include "cli/progress_line.h"

namespace oz {
namespace {

constexpr std::chrono::seconds kQuietTime{1};
// Ten redraws a second are enough to look alive without flooding a slow terminal.
constexpr std::chrono::milliseconds kRedrawInterval{100};
// Carriage return, then the text, then "erase to the end of the line".
constexpr const char* kEraseToEnd = "\x1b[K";

}  // namespace

std::string describeProgress(const BuildProgress& progress) {
  const std::string of = std::to_string(progress.done) + " of " + std::to_string(progress.total);
  switch (progress.phase) {
    case BuildPhase::LoadingFrames:
      return "Loading frame " + of;
    case BuildPhase::Composing:
      return "Composing frame " + of;
    case BuildPhase::ReducingColours:
      return "Reducing colours";
    case BuildPhase::Writing:
      return "Writing row " + of;
  }
  return {};
}

ProgressLine::ProgressLine(std::FILE* out, bool enabled, Clock now)
    : out_(out), enabled_(enabled), now_(std::move(now)), start_(now_()) {}

void ProgressLine::update(const BuildProgress& progress) {
  if (!enabled_) return;
  const auto now = now_();
  if (now - start_ <= kQuietTime) return;
  const bool phaseChanged = !drawn_ || progress.phase != lastPhase_;
  if (!phaseChanged && now - lastDrawn_ < kRedrawInterval) return;
  std::fprintf(out_, "\r%s%s", describeProgress(progress).c_str(), kEraseToEnd);
  std::fflush(out_);
  drawn_ = true;
  lastDrawn_ = now;
  lastPhase_ = progress.phase;
}

void ProgressLine::finish() {
  if (!drawn_) return;
  std::fprintf(out_, "\r%s", kEraseToEnd);
  std::fflush(out_);
  drawn_ = false;
}

}  // namespace oz
