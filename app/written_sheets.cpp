#include "app/written_sheets.h"

#include <unordered_map>
#include <utility>

namespace oz {

WrittenSheets writtenSheets(std::vector<WrittenSheet> sheets,
                            const std::vector<std::string>& scanned, Turn turn) {
  WrittenSheets written{std::move(sheets), {}, turn};
  // A folder's file names are unique, so a name finds its one frame.
  std::unordered_map<std::string, FrameRef> byName;
  for (size_t s = 0; s < written.sheets.size(); ++s) {
    const FrameList& frames = written.sheets[s].frames;
    for (size_t f = 0; f < frames.size(); ++f) byName.emplace(frames[f].name, FrameRef{s, f});
  }
  for (const std::string& name : scanned) {
    const auto found = byName.find(name);
    if (found == byName.end()) continue;
    written.playOrder.push_back(found->second);
    byName.erase(found);
  }
  for (size_t s = 0; s < written.sheets.size(); ++s) {
    const FrameList& frames = written.sheets[s].frames;
    for (size_t f = 0; f < frames.size(); ++f) {
      if (byName.contains(frames[f].name)) written.playOrder.push_back({s, f});
    }
  }
  return written;
}

}  // namespace oz
