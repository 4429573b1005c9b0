// "Rebuild on Change" in the File menu: after a Create went through, the
// same build again whenever a frame, the image folder or the template
// changes, without the completion message and the preview question. The
// label under "Create" tells the last rebuild's time and result, with the
// build's notes counted and told in its tip (a box at every save would be
// one too many); a problem is shown once, not at every save, until a rebuild
// goes through again.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "app/build_progress.h"
#include "app/create_sprite.h"
#include "base/folder_watch.h"
#include "base/settling_changes.h"
#include "toolkit/toolkit.h"

namespace oz {

class RebuildOnChange {
 public:
  // `rebuilt` is told each sheet a rebuild put in place.
  RebuildOnChange(Toolkit& toolkit, BuildClock clock, std::function<void(WrittenSheets)> rebuilt);
  ~RebuildOnChange();
  RebuildOnChange(const RebuildOnChange&) = delete;
  RebuildOnChange& operator=(const RebuildOnChange&) = delete;

  // A Create went through with `choices`: the menu item is enabled, and a
  // watch under way follows the new choices from now on.
  void created(CreateChoices choices);
  // The menu item: turns rebuilding on (building at once, so that nothing
  // changed since the Create is missed) or off.
  void toggle();
  // The watch's news and its settling timer; false for any other event.
  bool handleEvent(const Event& event);

 private:
  // Watches the folder and the template; false, after saying why, when it cannot.
  bool startWatching();
  void stop();
  void filesChanged();
  void settled();
  void rebuild();
  // The status line under "Create", and the tip that tells what it sums up.
  void show(std::string_view status, std::string_view tip = "");

  Toolkit& toolkit_;
  const BuildClock clock_;
  const std::function<void(WrittenSheets)> rebuilt_;
  std::optional<CreateChoices> choices_;  // the last Create's
  std::unique_ptr<FolderWatch> watch_;    // while rebuilding is on
  SettlingChanges settling_;
  std::optional<ProblemText> shownProblem_;  // not shown again until a rebuild goes through
};

}  // namespace oz
