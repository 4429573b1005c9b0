#include "app/rebuild_on_change.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "base/time_of_day.h"
#include "sheet/frame_watch.h"

namespace oz {
namespace {

constexpr const char* kWaitTitle = "Wait!";

std::string missingFolderText(const std::string& folder) {
  return "The folder \"" + folder + "\" no longer exists.";
}

// Why `folder` cannot be watched.
std::string unwatchableText(const std::string& folder, int error) {
  if (error == ENOENT) return missingFolderText(folder);
  return "The folder \"" + folder + "\" cannot be watched: " + std::strerror(error) + ".";
}

// The notices' count, for the status line; their words go into its tip.
std::string noticesCount(size_t count) {
  if (count == 0) return "";
  return ", " + std::to_string(count) + (count == 1 ? " note" : " notes");
}

std::string noticesTip(const std::vector<ProblemText>& notices) {
  std::string tip;
  for (const ProblemText& notice : notices) {
    if (!tip.empty()) tip += "\n\n";
    tip += notice.text;
    if (!notice.details.empty()) tip += "\n" + notice.details;
  }
  return tip;
}

}  // namespace

RebuildOnChange::RebuildOnChange(Toolkit& toolkit, BuildClock clock,
                                 std::function<void(WrittenSheets)> rebuilt)
    : toolkit_(toolkit), clock_(std::move(clock)), rebuilt_(std::move(rebuilt)) {}

RebuildOnChange::~RebuildOnChange() {
  if (watch_) toolkit_.stopWatchingDescriptor(Watch::Rebuild);
}

void RebuildOnChange::created(CreateChoices choices) {
  choices_ = std::move(choices);
  toolkit_.setMenuItemEnabled(MenuItem::RebuildOnChange, true);
  if (watch_ && !startWatching()) stop();
}

void RebuildOnChange::toggle() {
  if (watch_) {
    stop();
    return;
  }
  // Choosing the item ticks it; the tick is put right when the watch cannot start.
  if (!choices_ || !startWatching()) {
    toolkit_.setMenuItemChecked(MenuItem::RebuildOnChange, false);
    return;
  }
  toolkit_.setMenuItemChecked(MenuItem::RebuildOnChange, true);
  rebuild();
}

bool RebuildOnChange::startWatching() {
  if (watch_) toolkit_.stopWatchingDescriptor(Watch::Rebuild);
  watch_ = std::make_unique<FolderWatch>();
  std::string folder = choices_->options.imageFolder;
  int error = watchFrames(*watch_, choices_->options);
  if (error == 0 && choices_->script) {
    const std::string& templ = choices_->script->templatePath;
    folder = templ.substr(0, templ.rfind('/') + 1);
    error = watch_->watchFile(templ);
  }
  if (error != 0) {
    watch_.reset();
    toolkit_.messageBox(kWaitTitle, unwatchableText(folder, error), MessageButtons::Ok);
    return false;
  }
  toolkit_.watchDescriptor(Watch::Rebuild, watch_->descriptor());
  return true;
}

void RebuildOnChange::stop() {
  if (watch_) toolkit_.stopWatchingDescriptor(Watch::Rebuild);
  watch_.reset();
  settling_.taken();
  shownProblem_.reset();
  toolkit_.stopTimer(Timer::Rebuild);
  toolkit_.setMenuItemChecked(MenuItem::RebuildOnChange, false);
  show("");
}

bool RebuildOnChange::handleEvent(const Event& event) {
  if (event.kind == EventKind::FilesChanged && event.number == Watch::Rebuild) {
    if (watch_) filesChanged();
    return true;
  }
  if (event.kind == EventKind::Timer && event.number == Timer::Rebuild) {
    if (watch_) settled();
    return true;
  }
  return false;
}

void RebuildOnChange::filesChanged() {
  const FolderNews news = watch_->read();
  if (!news.gone.empty()) {
    const std::string folder = news.gone.front();
    stop();
    toolkit_.messageBox(kWaitTitle, missingFolderText(folder), MessageButtons::Ok);
    return;
  }
  if (!news.changed) return;
  settling_.changed(clock_());
  settled();
}

// Builds once the changes have settled, else waits for the rest of the time.
void RebuildOnChange::settled() {
  const std::optional<SettlingChanges::TimePoint> due = settling_.due();
  if (!due) return;
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(*due - clock_());
  if (left.count() > 0) {
    toolkit_.startTimer(Timer::Rebuild, static_cast<int>(left.count()), false);
    return;
  }
  rebuild();
}

void RebuildOnChange::rebuild() {
  settling_.taken();
  RebuildResult result = rebuildSprite(toolkit_, *choices_, clock_);
  const std::string when = timeOfDay();
  if (result.sheets) rebuilt_(std::move(*result.sheets));
  if (result.problem) {
    show("Not rebuilt at " + when + ": " + result.problem->title);
    if (result.problem != shownProblem_) {
      shownProblem_ = result.problem;
      toolkit_.messageBoxWithDetails(result.problem->title, result.problem->text,
                                     result.problem->details);
    }
    return;
  }
  if (!result.sheets) {
    show("Rebuild at " + when + " cancelled");
    return;
  }
  shownProblem_.reset();
  show("Rebuilt at " + when + (result.written ? ": written" : ": unchanged") +
           noticesCount(result.notices.size()),
       noticesTip(result.notices));
}

void RebuildOnChange::show(std::string_view status, std::string_view tip) {
  toolkit_.setText(Control::RebuildStatus, status);
  toolkit_.setToolTip(Control::RebuildStatus, tip);
}

}  // namespace oz
