#include "sheet/quantiser/kept_nearest.h"

#include <algorithm>
#include <array>
#include <climits>

#include "base/parallel.h"

namespace oz {
namespace {

// each(i) for every colour i below `count`, kColoursPerTask to a task.
template <class Each>
void forEachColour(size_t count, size_t threads, const Each& each) {
  const size_t tasks = (count + kColoursPerTask - 1) / kColoursPerTask;
  forEachTask(tasks, threads, [&](size_t task, bool) {
    const size_t end = std::min(count, (task + 1) * kColoursPerTask);
    for (size_t i = task * kColoursPerTask; i < end; ++i) each(i);
    return true;
  });
}

std::array<bool, 256> movedSet(std::span<const int> moved) {
  std::array<bool, 256> set{};
  for (int k : moved) set[k] = true;
  return set;
}

}  // namespace

void KeptNearest::update(std::span<const PaletteColour> palette, int fixed,
                         std::span<const CountedColour> colours, std::span<const int> moved) {
  const NearestEntry nearest(palette, fixed);
  const bool compare =
      known_ && moved.size() <= kMovedToCompare && hasOpaque_ == nearest.hasOpaque();
  const std::array<bool, 256> hasMoved = movedSet(moved);
  entry_.resize(colours.size());
  distance_.resize(colours.size());
  alone_.resize(colours.size());
  forEachColour(colours.size(), threads_, [&](size_t i) {
    const CountedColour& c = colours[i];
    // A colour that was nearer its entry than any other, and whose entry
    // stayed, is still nearer it than every entry that stayed. Where a moved
    // one comes as near, the search's order of equals decides: search.
    if (compare && alone_[i] && !hasMoved[entry_[i]]) {
      if (c.alpha == 0 && fixed >= 0) return;  // clear colours keep the clear entry
      int best = entry_[i];
      int bestd = distance_[i];
      bool alone = true;
      for (int k : moved) {
        if (!nearest.mayServe(k, c.alpha)) continue;
        const int d = nearest.distance(k, c.red, c.green, c.blue, c.alpha);
        if (d < bestd) {
          best = k;
          bestd = d;
          alone = true;
        } else if (d == bestd) {
          alone = false;
        }
      }
      if (alone) {
        entry_[i] = static_cast<uint8_t>(best);
        distance_[i] = bestd;
        return;
      }
    }
    const NearestEntry::Found found = nearest.find(c.red, c.green, c.blue, c.alpha);
    entry_[i] = static_cast<uint8_t>(found.index);
    distance_[i] = found.distance;
    alone_[i] = found.alone;
  });
  hasOpaque_ = nearest.hasOpaque();
  known_ = true;
}

void KeptTwoNearest::update(std::span<const PaletteColour> palette, int fixed,
                            std::span<const CountedColour> colours, std::span<const int> moved) {
  const NearestEntry nearest(palette, fixed);
  const bool compare =
      known_ && moved.size() <= kMovedToCompare && hasOpaque_ == nearest.hasOpaque();
  const std::array<bool, 256> hasMoved = movedSet(moved);
  two_.resize(colours.size());
  forEachColour(colours.size(), threads_, [&](size_t i) {
    const CountedColour& c = colours[i];
    NearestEntry::TwoNearest& two = two_[i];
    // While neither of the two entries moved, every entry that stayed is as
    // far as the second or further, so the moved ones are all that can change
    // the answer, offered as twoNearest offers every entry it meets.
    const bool kept = compare && two.best >= 0 && !hasMoved[two.best] &&
                      (two.next < 0 || !hasMoved[two.next]) && !(c.alpha == 0 && fixed >= 0);
    if (!kept) {
      two = nearest.twoNearest(c.red, c.green, c.blue, c.alpha);
      return;
    }
    for (int k : moved) {
      if (!nearest.mayServe(k, c.alpha)) continue;
      two.offer(k, nearest.distance(k, c.red, c.green, c.blue, c.alpha));
    }
  });
  hasOpaque_ = nearest.hasOpaque();
  known_ = true;
}

}  // namespace oz
