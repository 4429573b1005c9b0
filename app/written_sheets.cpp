#include "app/written_sheets.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <utility>

#include "base/path_parts.h"

namespace oz {
namespace {

std::vector<FrameRef> playOrderOf(const std::vector<WrittenSheet>& sheets,
                                  const std::vector<std::string>& scanned) {
  std::vector<FrameRef> order;
  // A folder's file names are unique, so a name finds its one frame.
  std::unordered_map<std::string, FrameRef> byName;
  for (size_t s = 0; s < sheets.size(); ++s) {
    const FrameList& frames = sheets[s].frames;
    for (size_t f = 0; f < frames.size(); ++f) byName.emplace(frames[f].name, FrameRef{s, f});
  }
  for (const std::string& name : scanned) {
    const auto found = byName.find(name);
    if (found == byName.end()) continue;
    order.push_back(found->second);
    byName.erase(found);
  }
  for (size_t s = 0; s < sheets.size(); ++s) {
    const FrameList& frames = sheets[s].frames;
    for (size_t f = 0; f < frames.size(); ++f) {
      if (byName.contains(frames[f].name)) order.push_back({s, f});
    }
  }
  return order;
}

// Each sheet holds a run of an animation's frames; the runs of one name,
// put in the play order, are the animation, and the animations come in the
// order of their first frames, as the build made them.
std::vector<PlayedAnimation> joinedAnimations(const std::vector<WrittenSheet>& sheets,
                                              const std::vector<FrameRef>& playOrder) {
  std::map<std::pair<size_t, size_t>, size_t> placeInOrder;
  for (size_t i = 0; i < playOrder.size(); ++i) {
    placeInOrder[{playOrder[i].sheet, playOrder[i].frame}] = i;
  }
  std::vector<PlayedAnimation> joined;
  std::unordered_map<std::string, size_t> byName;
  for (size_t s = 0; s < sheets.size(); ++s) {
    for (const Animation& animation : sheets[s].animations) {
      const auto [at, added] = byName.try_emplace(animation.name, joined.size());
      if (added) joined.push_back({animation.name, {}});
      std::vector<FrameRef>& frames = joined[at->second].frames;
      for (size_t f = animation.first; f < animation.first + animation.count; ++f) {
        frames.push_back({s, f});
      }
    }
  }
  const auto place = [&placeInOrder](const FrameRef& ref) {
    return placeInOrder.at({ref.sheet, ref.frame});
  };
  for (PlayedAnimation& animation : joined) {
    std::ranges::sort(animation.frames, {}, place);
  }
  std::ranges::sort(joined, {}, [&place](const PlayedAnimation& animation) {
    return place(animation.frames.front());
  });
  return joined;
}

}  // namespace

WrittenSheets writtenSheets(std::vector<WrittenSheet> sheets,
                            const std::vector<std::string>& scanned, const BuildOptions& options) {
  WrittenSheets written{std::move(sheets), {}, {}, frameRateOf(options), options.turn};
  written.playOrder = playOrderOf(written.sheets, scanned);
  if (options.animations != AnimationSource::None) {
    written.animations = joinedAnimations(written.sheets, written.playOrder);
  }
  // Without animations the script gives each sheet one, of its own frames;
  // the preview plays the build's frames across the sheets as one.
  if (written.animations.empty()) {
    written.animations.push_back(
        {std::string(withoutExtension(fileNamePart(options.savePath))), written.playOrder});
  }
  return written;
}

}  // namespace oz
