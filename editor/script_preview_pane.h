// The Script Editor's live preview pane: the current tab's expansion, shown
// beside the editors, refreshed a moment after typing stops.
#pragma once

#include <functional>
#include <span>
#include <string>

#include "editor/script_preview.h"
#include "toolkit/toolkit.h"

namespace oz {

// How long typing must pause before the preview follows it.
inline constexpr int kPreviewPauseMilliseconds = 250;

class ScriptPreviewPane {
 public:
  explicit ScriptPreviewPane(Toolkit& toolkit) : toolkit_(toolkit) {}

  // Where the expansion's frames and options come from: `options` gives what
  // "Create" would build with now; `exampleFrames` stands in when no folder
  // is chosen.
  void setSource(std::function<BuildOptions()> options, std::string exampleFrames);

  bool shown() const { return shown_; }
  void setShown(bool shown) { shown_ = shown; }

  // Creates the pane's controls in the open Script Editor window at `area`.
  void create(Rect area);
  // Removes them; the window stays open.
  void remove();
  void place(Rect area);

  // Typing goes on: the refresh waits for the next pause.
  void scheduleRefresh();
  // Expands `lines` now and shows the outcome.
  void refresh(std::span<const std::string> lines);

 private:
  Toolkit& toolkit_;
  std::function<BuildOptions()> options_;
  std::string exampleFrames_;
  bool shown_ = false;
};

// The expansion as read-only HTML: escaped, in a fixed-pitch block.
std::string previewHtml(std::string_view text);

}  // namespace oz
