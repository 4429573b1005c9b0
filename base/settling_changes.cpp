#include "base/settling_changes.h"

#include <algorithm>

namespace oz {

void SettlingChanges::changed(TimePoint now) {
  if (!first_) first_ = now;
  last_ = now;
}

std::optional<SettlingChanges::TimePoint> SettlingChanges::due() const {
  if (!first_) return std::nullopt;
  return std::min(last_ + kSettleTime, *first_ + kLongestWait);
}

}  // namespace oz
