#include "sheet/animation.h"

#include <numeric>

#include "base/path_parts.h"

namespace oz {

AnimationList animationsOnSheet(const AnimationList& animations, std::span<const size_t> onSheet,
                                const std::string& sheetPath) {
  if (animations.empty()) {
    return {{std::string(withoutExtension(fileNamePart(sheetPath))), 0, onSheet.size()}};
  }
  AnimationList result;
  auto animation = animations.begin();
  auto last = animations.end();  // the animation result.back() is part of
  for (size_t position = 0; position < onSheet.size(); ++position) {
    // Both run forward, so the whole walk is linear.
    while (animation != animations.end() &&
           onSheet[position] >= animation->first + animation->count) {
      ++animation;
    }
    if (animation == animations.end()) break;
    if (onSheet[position] < animation->first) continue;  // in no animation
    if (animation != last) {
      result.push_back({animation->name, position, 0});
      last = animation;
    }
    ++result.back().count;
  }
  return result;
}

AnimationList animationsOnSheet(const AnimationList& animations, size_t frameCount,
                                const std::string& sheetPath) {
  std::vector<size_t> all(frameCount);
  std::iota(all.begin(), all.end(), size_t{0});
  return animationsOnSheet(animations, all, sheetPath);
}

}  // namespace oz
