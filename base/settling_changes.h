// When a burst of changes has settled enough to build: the changes that come
// within kSettleTime of each other make one build, so that an editor saving
// several frames, or writing one in several steps, costs one build. A folder
// that never stops changing is still built kLongestWait after its first change.
#pragma once

#include <chrono>
#include <optional>

namespace oz {

inline constexpr std::chrono::milliseconds kSettleTime{200};
inline constexpr std::chrono::milliseconds kLongestWait{1000};

class SettlingChanges {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;

  // A change came at `now`.
  void changed(TimePoint now);
  // When the build of the changes so far is due; nothing when none is waiting.
  std::optional<TimePoint> due() const;
  // The build has started: what comes now waits for the next one.
  void taken() { first_.reset(); }

 private:
  std::optional<TimePoint> first_;  // the first change not yet built
  TimePoint last_;                  // the latest change
};

}  // namespace oz
