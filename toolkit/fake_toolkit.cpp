#include "toolkit/fake_toolkit.h"

#include <poll.h>
#include <sys/stat.h>

#include <algorithm>
#include <charconv>

#include "base/byte_text.h"

namespace oz {
namespace {

std::string number(int n) { return std::to_string(n); }

}  // namespace

FakeToolkit::FakeToolkit(FailureReporter reportFailure)
    : reportFailure_(std::move(reportFailure)) {}

FakeToolkit::~FakeToolkit() {
  if (!answers_.empty()) {
    reportFailure_(number(static_cast<int>(answers_.size())) + " scripted answer(s) never used");
  }
  if (cancelWhen_) reportFailure_("the progress dialog's Cancel was never pressed");
}

// --- The script of answers.

void FakeToolkit::answerMessage(int result) {
  answers_.push_back({Answer::Kind::Message, result, {}});
}

void FakeToolkit::answerFolder(std::string folder) {
  answers_.push_back({Answer::Kind::Folder, 0, std::move(folder)});
}

void FakeToolkit::pressProgressCancelWhen(std::function<bool(const ProgressStep&)> when) {
  cancelWhen_ = std::move(when);
}

void FakeToolkit::answerSaveFile(std::string path) {
  answers_.push_back({Answer::Kind::SaveFile, 0, std::move(path)});
}

std::optional<FakeToolkit::Answer> FakeToolkit::nextAnswer(Answer::Kind kind, const char* what) {
  if (answers_.empty()) {
    reportFailure_(std::string("no scripted answer left for ") + what);
    return std::nullopt;
  }
  Answer answer = answers_.front();
  if (answer.kind != kind) {
    reportFailure_(std::string("the next scripted answer is not for ") + what);
    return std::nullopt;
  }
  answers_.pop_front();
  return answer;
}

// --- Lookups.

FakeControl* FakeToolkit::find(int control, const char* operation) {
  auto it = controls_.find(control);
  if (it != controls_.end()) return &it->second;
  reportFailure_(std::string(operation) + ": no control " + number(control));
  return nullptr;
}

const FakeControl* FakeToolkit::find(int control, const char* operation) const {
  return const_cast<FakeToolkit*>(this)->find(control, operation);
}

FakeWindow* FakeToolkit::findWindow(int window, const char* operation) {
  auto it = windows_.find(window);
  if (it != windows_.end()) return &it->second;
  reportFailure_(std::string(operation) + ": window " + number(window) + " is not open");
  return nullptr;
}

const FakeWindow* FakeToolkit::findWindow(int window, const char* operation) const {
  return const_cast<FakeToolkit*>(this)->findWindow(window, operation);
}

const FakeControl& FakeToolkit::control(int control) const {
  const FakeControl* c = find(control, "control");
  return c ? *c : missingControl_;
}

const FakeWindow& FakeToolkit::window(int window) const {
  const FakeWindow* w = findWindow(window, "window");
  return w ? *w : missingWindow_;
}

const FakeMenuItem& FakeToolkit::menuItem(int item) const {
  auto it = menuItems_.find(item);
  if (it != menuItems_.end()) return it->second;
  reportFailure_("no menu item " + number(item));
  return missingItem_;
}

// --- Events.

void FakeToolkit::queue(const Event& event) { events_.push_back(event); }

void FakeToolkit::queueUnlessRepeated(const Event& event) {
  if (events_.empty() || events_.back() != event) events_.push_back(event);
}

Event FakeToolkit::waitEvent() {
  // Only a watched descriptor can bring an event the test has not queued; a
  // minute is far longer than any change a test makes takes to be seen.
  if (events_.empty()) queueReadableDescriptors(60000);
  if (std::optional<Event> event = pollEvent()) return *event;
  reportFailure_("waiting for an event, but none is queued");
  return {EventKind::MenuItem, MenuItem::Quit, activeWindow()};
}

std::optional<Event> FakeToolkit::pollEvent() {
  queueReadableDescriptors(0);
  if (events_.empty()) return std::nullopt;
  return take();
}

void FakeToolkit::queueReadableDescriptors(int milliseconds) {
  std::vector<pollfd> watched;
  std::vector<int> watches;
  for (const auto& [watch, descriptor] : descriptors_) {
    const Event event{EventKind::FilesChanged, watch, Window::None};
    if (std::ranges::find(events_, event) != events_.end()) continue;
    watched.push_back({descriptor, POLLIN, 0});
    watches.push_back(watch);
  }
  if (watched.empty() || poll(watched.data(), watched.size(), milliseconds) <= 0) return;
  for (size_t k = 0; k < watched.size(); ++k) {
    if (watched[k].revents & POLLIN) queue({EventKind::FilesChanged, watches[k], Window::None});
  }
}

void FakeToolkit::watchDescriptor(int watch, int descriptor) { descriptors_[watch] = descriptor; }

void FakeToolkit::stopWatchingDescriptor(int watch) {
  descriptors_.erase(watch);
  std::erase(events_, Event{EventKind::FilesChanged, watch, Window::None});
}

Event FakeToolkit::take() {
  Event event = events_.front();
  events_.pop_front();
  if (event.kind == EventKind::FilesDropped) {
    dropped_ = std::move(drops_.front());
    drops_.pop_front();
  }
  return event;
}

void FakeToolkit::acceptFileDrops(int window) {
  if (findWindow(window, "acceptFileDrops")) dropWindows_.push_back(window);
}

std::vector<std::string> FakeToolkit::droppedPaths() const { return dropped_; }

// As the real toolkit, on the disk's word: a file or a missing path is not watched.
void FakeToolkit::watchFolder(std::string_view folder) {
  struct stat info {};
  if (stat(std::string(folder).c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    watched_.emplace_back(folder);
  }
}

void FakeToolkit::changeFolder(std::string_view folder) {
  if (std::ranges::find(watched_, folder) == watched_.end()) {
    reportFailure_("changeFolder: " + std::string(folder) + " is not watched");
    return;
  }
  queueUnlessRepeated({EventKind::FolderChanged, 0, Window::None});
}

void FakeToolkit::postControlEvent(int control) {
  if (const FakeControl* c = find(control, "postControlEvent")) {
    queueUnlessRepeated({EventKind::Control, control, c->window});
  }
}

void FakeToolkit::setResizeHandler(std::function<void(int)> handler) {
  resizeHandler_ = std::move(handler);
}

void FakeToolkit::startTimer(int timer, int milliseconds, bool repeating) {
  if (milliseconds <= 0) reportFailure_("startTimer: timer " + number(timer) + " has no interval");
  timers_[timer] = {milliseconds, repeating};
}

void FakeToolkit::stopTimer(int timer) { timers_.erase(timer); }

// --- The user's actions.

FakeControl* FakeToolkit::usable(int control, const char* action) {
  FakeControl* c = find(control, action);
  if (!c) return nullptr;
  if (!c->enabled || !c->visible) {
    reportFailure_(std::string(action) + ": control " + number(control) + " is " +
                   (c->enabled ? "hidden" : "disabled"));
    return nullptr;
  }
  activate(c->window);
  return c;
}

void FakeToolkit::activate(int window) {
  if (!findWindow(window, "activate")) return;
  std::erase(activation_, window);
  activation_.push_back(window);
}

void FakeToolkit::click(int control) {
  FakeControl* c = usable(control, "click");
  if (!c) return;
  if (c->kind == ControlKind::Option) {
    setState(control, 1);
  } else if (c->kind == ControlKind::CheckBox) {
    c->state = c->state ? 0 : 1;
  } else if (c->kind != ControlKind::Button) {
    reportFailure_("click: control " + number(control) + " is no button, option or check box");
    return;
  }
  queue({EventKind::Control, control, c->window});
}

void FakeToolkit::chooseListEntry(int list, int index) {
  FakeControl* c = usable(list, "chooseListEntry");
  if (!c) return;
  const bool isList = c->kind == ControlKind::List || c->kind == ControlKind::ListBox;
  if (!isList || index < 0 || index >= static_cast<int>(c->entries.size())) {
    reportFailure_("chooseListEntry: list " + number(list) + " has no entry " + number(index));
    return;
  }
  c->state = index;
  queue({EventKind::Control, list, c->window});
}

void FakeToolkit::setSpinValue(int spin, int value) {
  FakeControl* c = usable(spin, "setSpinValue");
  if (!c) return;
  if (c->kind != ControlKind::SpinField) {
    reportFailure_("setSpinValue: control " + number(spin) + " is no spin field");
    return;
  }
  c->state = std::clamp(value, c->minimum, c->maximum);
  queue({EventKind::Control, spin, c->window});
}

void FakeToolkit::type(int control, std::string_view text) {
  FakeControl* c = usable(control, "type");
  if (!c) return;
  if (c->kind == ControlKind::TextField) {
    c->text = text;
  } else if (c->kind == ControlKind::Editor) {
    insertText(control, text);
  } else if (c->kind == ControlKind::SpinField) {
    setText(control, text);
    queue({EventKind::Control, control, c->window});
  } else {
    reportFailure_("type: control " + number(control) + " takes no typing");
  }
}

void FakeToolkit::selectInEditor(int editor, size_t start, size_t length) {
  FakeControl* c = usable(editor, "selectInEditor");
  if (!c) return;
  if (c->kind != ControlKind::Editor || start + length > c->text.size()) {
    reportFailure_("selectInEditor: out of the text of control " + number(editor));
    return;
  }
  c->selectionStart = start;
  c->selectionEnd = start + length;
}

void FakeToolkit::selectTab(int panel, int index) {
  FakeControl* c = usable(panel, "selectTab");
  if (!c) return;
  if (index < 0 || index >= static_cast<int>(c->tabs.size())) {
    reportFailure_("selectTab: panel " + number(panel) + " has no tab " + number(index));
    return;
  }
  selectTabAndNotify(panel, *c, index);
}

void FakeToolkit::chooseMenuItem(int item) {
  auto it = menuItems_.find(item);
  if (it == menuItems_.end()) {
    reportFailure_("chooseMenuItem: no menu item " + number(item));
  } else if (!it->second.enabled) {
    reportFailure_("chooseMenuItem: menu item " + number(item) + " is disabled");
  } else {
    if (it->second.checkable) it->second.checked = !it->second.checked;
    queue({EventKind::MenuItem, item, activeWindow()});
  }
}

void FakeToolkit::requestClose(int window) {
  if (!findWindow(window, "requestClose")) return;
  queue({EventKind::WindowClose, window, window});
}

void FakeToolkit::dropFiles(int window, std::vector<std::string> paths) {
  if (!findWindow(window, "dropFiles")) return;
  if (std::ranges::find(dropWindows_, window) == dropWindows_.end()) {
    reportFailure_("dropFiles: window " + number(window) + " takes no drops");
    return;
  }
  activate(window);
  queue({EventKind::FilesDropped, window, window});
  drops_.push_back(std::move(paths));
}

void FakeToolkit::pressEscape(int window) {
  const FakeWindow* w = findWindow(window, "pressEscape");
  if (!w) return;
  activate(window);
  if (w->style.closesWithEscape) queue({EventKind::WindowClose, window, window});
}

void FakeToolkit::pressFieldKey(int field, FieldKey key) {
  FakeControl* c = usable(field, "pressFieldKey");
  if (!c) return;
  if (!c->findField || key == FieldKey::None) {
    reportFailure_("pressFieldKey: control " + number(field) + " reports no such key");
    return;
  }
  activate(c->window);
  Event event{EventKind::Control, field, c->window};
  event.fieldKey = key;
  queue(event);
}

FakeControl* FakeToolkit::usableCanvas(int canvas, const char* action) {
  FakeControl* c = usable(canvas, action);
  if (c && c->kind != ControlKind::Canvas) {
    reportFailure_(std::string(action) + ": control " + number(canvas) + " is no canvas");
    return nullptr;
  }
  return c;
}

void FakeToolkit::movePointer(int canvas, int x, int y) {
  if (FakeControl* c = usableCanvas(canvas, "movePointer")) {
    queueUnlessRepeated({EventKind::PointerMoved, canvas, c->window, x, y});
  }
}

void FakeToolkit::turnWheel(int canvas, int steps) {
  if (FakeControl* c = usableCanvas(canvas, "turnWheel")) {
    queue({EventKind::Wheel, canvas, c->window, 0, 0, steps});
  }
}

void FakeToolkit::scroll(int scrollBar, int position) {
  FakeControl* c = usable(scrollBar, "scroll");
  if (!c) return;
  if (c->kind != ControlKind::ScrollBar) {
    reportFailure_("scroll: control " + number(scrollBar) + " is no scroll bar");
    return;
  }
  const int moved = std::clamp(position, c->minimum, c->maximum);
  if (moved == c->state) return;
  c->state = moved;
  queue({EventKind::Control, scrollBar, c->window});
}

void FakeToolkit::fireTimer(int timer) {
  auto it = timers_.find(timer);
  if (it == timers_.end()) {
    reportFailure_("fireTimer: timer " + number(timer) + " is not running");
    return;
  }
  if (!it->second.repeating) timers_.erase(it);
  queueUnlessRepeated({EventKind::Timer, timer, Window::None});
}

void FakeToolkit::resize(int window, int width, int height) {
  FakeWindow* w = findWindow(window, "resize");
  if (!w) return;
  if (!w->style.resizable) {
    reportFailure_("resize: window " + number(window) + " is not resizable");
    return;
  }
  activate(window);
  w->width = std::max(width, w->minimumWidth);
  w->height = std::max(height, w->minimumHeight);
  if (resizeHandler_) resizeHandler_(window);
}

// --- Windows.

bool FakeToolkit::openWindow(int window, std::string_view title, int width, int height,
                             const WindowStyle& style) {
  if (windows_.count(window)) closeWindow(window);
  windows_[window] = {std::string(title), width, height, style, false, 0, 0, false};
  activation_.push_back(window);
  opened_.push_back(window);
  return true;
}

void FakeToolkit::closeWindow(int window) {
  if (!findWindow(window, "closeWindow")) return;
  std::erase_if(controls_, [window](const auto& entry) { return entry.second.window == window; });
  lastCreated_.erase(window);
  if (!controls_.count(focused_)) focused_ = -1;
  windows_.erase(window);
  std::erase(activation_, window);
  std::erase(dropWindows_, window);
}

bool FakeToolkit::isWindowOpen(int window) const { return windows_.count(window) != 0; }

void FakeToolkit::hideZoomButton(int window) {
  if (FakeWindow* w = findWindow(window, "hideZoomButton")) w->zoomHidden = true;
}

int FakeToolkit::clientWidth(int window) const {
  const FakeWindow* w = findWindow(window, "clientWidth");
  return w ? w->width : 0;
}

int FakeToolkit::clientHeight(int window) const {
  const FakeWindow* w = findWindow(window, "clientHeight");
  return w ? w->height : 0;
}

void FakeToolkit::setMinimumSize(int window, int width, int height) {
  if (FakeWindow* w = findWindow(window, "setMinimumSize")) {
    w->minimumWidth = width;
    w->minimumHeight = height;
  }
}

int FakeToolkit::activeWindow() const {
  return activation_.empty() ? Window::None : activation_.back();
}

void FakeToolkit::setEdited(int window, bool edited) {
  if (FakeWindow* w = findWindow(window, "setEdited")) w->edited = edited;
}

bool FakeToolkit::isEdited(int window) const {
  const FakeWindow* w = findWindow(window, "isEdited");
  return w && w->edited;
}

// --- Controls.

FakeControl* FakeToolkit::create(int window, int control, ControlKind kind, Rect r,
                                 std::string_view text) {
  if (!findWindow(window, "create control")) return nullptr;
  if (controls_.count(control)) removeControl(control);
  FakeControl& c = controls_[control];
  c.kind = kind;
  c.window = window;
  c.rect = r;
  c.text = text;
  if (kind == ControlKind::Option) {
    auto last = lastCreated_.find(window);
    const FakeControl* previous = nullptr;
    if (last != lastCreated_.end() && controls_.count(last->second)) {
      previous = &controls_[last->second];
    }
    c.optionGroup = previous && previous->kind == ControlKind::Option ? previous->optionGroup
                                                                      : nextOptionGroup_++;
  }
  lastCreated_[window] = control;
  return &c;
}

void FakeToolkit::createLabel(int window, int control, Rect r, std::string_view text,
                              LabelAlign align) {
  if (FakeControl* c = create(window, control, ControlKind::Label, r, text)) c->align = align;
}

void FakeToolkit::createTextField(int window, int control, Rect r, std::string_view text) {
  create(window, control, ControlKind::TextField, r, text);
}

void FakeToolkit::createFindField(int window, int control, Rect r) {
  if (FakeControl* c = create(window, control, ControlKind::TextField, r, "")) c->findField = true;
}

void FakeToolkit::createButton(int window, int control, Rect r, std::string_view caption) {
  create(window, control, ControlKind::Button, r, caption);
}

void FakeToolkit::createGroupFrame(int window, int control, Rect r, std::string_view title) {
  create(window, control, ControlKind::GroupFrame, r, title);
}

void FakeToolkit::createOption(int window, int control, Rect r, std::string_view caption) {
  create(window, control, ControlKind::Option, r, caption);
}

void FakeToolkit::createCheckBox(int window, int control, Rect r, std::string_view caption) {
  create(window, control, ControlKind::CheckBox, r, caption);
}

void FakeToolkit::createList(int window, int control, Rect r) {
  if (FakeControl* c = create(window, control, ControlKind::List, r, "")) c->state = -1;
}

void FakeToolkit::createListBox(int window, int control, Rect r) {
  if (FakeControl* c = create(window, control, ControlKind::ListBox, r, "")) c->state = -1;
}

void FakeToolkit::createSpinField(int window, int control, Rect r, int minimum, int maximum) {
  if (FakeControl* c = create(window, control, ControlKind::SpinField, r, "")) {
    c->minimum = minimum;
    c->maximum = maximum;
    c->state = minimum;
  }
}

void FakeToolkit::setMinimumText(int spinField, std::string_view text) {
  FakeControl* c = find(spinField, "setMinimumText");
  if (!c) return;
  if (c->kind != ControlKind::SpinField) {
    reportFailure_("setMinimumText: control " + number(spinField) + " is no spin field");
    return;
  }
  c->minimumText = text;
}

std::string FakeToolkit::shownText(int spinField) const {
  const FakeControl& c = control(spinField);
  if (c.state == c.minimum && !c.minimumText.empty()) return c.minimumText;
  return std::to_string(c.state);
}

bool FakeToolkit::createImageView(int window, int control, Rect r,
                                  std::span<const std::uint8_t> png) {
  static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  const bool isPng = png.size() > sizeof kSignature &&
                     std::equal(std::begin(kSignature), std::end(kSignature), png.begin());
  FakeControl* c = create(window, control, ControlKind::ImageView, r, "");
  if (c && isPng) c->pngBytes = png.size();
  return c && isPng;
}

void FakeToolkit::createRichText(int window, int control, Rect r, std::string_view html) {
  create(window, control, ControlKind::RichText, r, html);
}

void FakeToolkit::createTabPanel(int window, int control, Rect r) {
  if (FakeControl* c = create(window, control, ControlKind::TabPanel, r, "")) c->state = -1;
}

void FakeToolkit::createEditor(int panel, int tab, int control, Rect r) {
  const FakeControl* tabs = find(panel, "createEditor");
  if (!tabs) return;
  if (tabs->kind != ControlKind::TabPanel || tab < 0 ||
      tab >= static_cast<int>(tabs->tabs.size())) {
    reportFailure_("createEditor: panel " + number(panel) + " has no tab " + number(tab));
    return;
  }
  if (FakeControl* c = create(tabs->window, control, ControlKind::Editor, r, "")) {
    c->panel = panel;
    c->tab = tab;
  }
}

void FakeToolkit::createCanvas(int window, int control, Rect r) {
  create(window, control, ControlKind::Canvas, r, "");
}

void FakeToolkit::paintCanvas(int canvas, const CanvasPicture& picture) {
  FakeControl* c = find(canvas, "paintCanvas");
  if (!c) return;
  if (c->kind != ControlKind::Canvas) {
    reportFailure_("paintCanvas: control " + number(canvas) + " is no canvas");
    return;
  }
  const size_t pixels = static_cast<size_t>(std::max(picture.imageWidth, 0)) *
                        static_cast<size_t>(std::max(picture.imageHeight, 0));
  if (pixels != 0 && (!picture.rgba || picture.rgba->size() != pixels * 4)) {
    reportFailure_("paintCanvas: the pixels do not match the image's size");
  }
  c->picture = picture;
  ++c->paintings;
}

void FakeToolkit::createScrollBar(int window, int control, Rect r, Orientation orientation) {
  if (FakeControl* c = create(window, control, ControlKind::ScrollBar, r, "")) {
    c->orientation = orientation;
  }
}

void FakeToolkit::setScrollRange(int scrollBar, int length, int page) {
  FakeControl* c = find(scrollBar, "setScrollRange");
  if (!c) return;
  if (c->kind != ControlKind::ScrollBar) {
    reportFailure_("setScrollRange: control " + number(scrollBar) + " is no scroll bar");
    return;
  }
  c->maximum = std::max(0, length - page);
  c->page = page;
  c->state = std::clamp(c->state, 0, c->maximum);
}

void FakeToolkit::removeControl(int control) {
  if (!find(control, "removeControl")) return;
  controls_.erase(control);
  if (focused_ == control) focused_ = -1;
}

std::string FakeToolkit::text(int control) const {
  const FakeControl* c = find(control, "text");
  if (!c) return {};
  if (c->kind == ControlKind::List || c->kind == ControlKind::ListBox) {
    return c->state >= 0 && c->state < static_cast<int>(c->entries.size()) ? c->entries[c->state]
                                                                           : std::string();
  }
  if (c->kind == ControlKind::SpinField) return std::to_string(c->state);
  if (c->kind == ControlKind::TabPanel) return tabTitle(control, c->state);
  return c->text;
}

void FakeToolkit::setText(int control, std::string_view text) {
  FakeControl* c = find(control, "setText");
  if (!c) return;
  // A real toolkit would show U+FFFD and give that back.
  if (!isValidUtf8(text))
    reportFailure_("setText: text for control " + number(control) + " is not UTF-8");
  if (c->kind == ControlKind::List || c->kind == ControlKind::ListBox ||
      c->kind == ControlKind::TabPanel || c->kind == ControlKind::ImageView ||
      c->kind == ControlKind::Canvas || c->kind == ControlKind::ScrollBar) {
    reportFailure_("setText: control " + number(control) + " has no text of its own");
    return;
  }
  if (c->kind == ControlKind::SpinField) {
    // The field's text sets its value, as typing would; no number, no change.
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc() && end == text.data() + text.size()) {
      c->state = std::clamp(value, c->minimum, c->maximum);
    }
    return;
  }
  c->text = text;
  c->selectionStart = c->selectionEnd = 0;
}

int FakeToolkit::state(int control) const {
  const FakeControl* c = find(control, "state");
  return c ? c->state : 0;
}

void FakeToolkit::setState(int control, int state) {
  FakeControl* c = find(control, "setState");
  if (!c) return;
  switch (c->kind) {
    case ControlKind::Option:
      if (state) {
        for (auto& [number, other] : controls_) {
          if (other.kind == ControlKind::Option && other.optionGroup == c->optionGroup) {
            other.state = 0;
          }
        }
      }
      c->state = state ? 1 : 0;
      break;
    case ControlKind::CheckBox:
      c->state = state ? 1 : 0;
      break;
    case ControlKind::List:
    case ControlKind::ListBox:
      c->state = state >= 0 && state < static_cast<int>(c->entries.size()) ? state : -1;
      break;
    case ControlKind::SpinField:
    case ControlKind::ScrollBar:
      c->state = std::clamp(state, c->minimum, c->maximum);
      break;
    case ControlKind::TabPanel:
      if (state >= 0 && state < static_cast<int>(c->tabs.size())) {
        selectTabAndNotify(control, *c, state);
      }
      break;
    default:
      reportFailure_("setState: control " + number(control) + " has no state");
  }
}

void FakeToolkit::addListEntry(int list, std::string_view entry) {
  if (FakeControl* c = find(list, "addListEntry")) c->entries.emplace_back(entry);
}

void FakeToolkit::clearList(int list) {
  if (FakeControl* c = find(list, "clearList")) {
    c->entries.clear();
    c->state = -1;
  }
}

void FakeToolkit::setEnabled(int control, bool enabled) {
  if (FakeControl* c = find(control, "setEnabled")) c->enabled = enabled;
}

bool FakeToolkit::isEnabled(int control) const {
  const FakeControl* c = find(control, "isEnabled");
  return c && c->enabled;
}

void FakeToolkit::setVisible(int control, bool visible) {
  if (FakeControl* c = find(control, "setVisible")) c->visible = visible;
}

bool FakeToolkit::isVisible(int control) const {
  const FakeControl* c = find(control, "isVisible");
  return c && c->visible;
}

void FakeToolkit::setGeometry(int control, Rect r) {
  if (FakeControl* c = find(control, "setGeometry")) c->rect = r;
}

Rect FakeToolkit::geometry(int control) const {
  const FakeControl* c = find(control, "geometry");
  return c ? c->rect : Rect{};
}

void FakeToolkit::focus(int control) {
  if (find(control, "focus")) focused_ = control;
}

void FakeToolkit::setToolTip(int control, std::string_view text) {
  if (FakeControl* c = find(control, "setToolTip")) c->toolTip = text;
}

// --- Tab panels.

void FakeToolkit::selectTabAndNotify(int panel, FakeControl& tabs, int index) {
  if (tabs.state == index) return;
  tabs.state = index;
  queueUnlessRepeated({EventKind::TabChanged, panel, tabs.window});
}

void FakeToolkit::removeEditorsOfTab(int panel, int tab) {
  std::erase_if(controls_, [panel, tab](const auto& entry) {
    return entry.second.kind == ControlKind::Editor && entry.second.panel == panel &&
           entry.second.tab == tab;
  });
  for (auto& [number, c] : controls_) {
    if (c.kind == ControlKind::Editor && c.panel == panel && c.tab > tab) --c.tab;
  }
}

void FakeToolkit::addTab(int panel, std::string_view title) {
  FakeControl* c = find(panel, "addTab");
  if (!c) return;
  c->tabs.emplace_back(title);
  if (c->tabs.size() == 1) selectTabAndNotify(panel, *c, 0);
}

void FakeToolkit::removeTab(int panel, int index) {
  FakeControl* c = find(panel, "removeTab");
  if (!c) return;
  const int count = static_cast<int>(c->tabs.size());
  if (index < 0 || index >= count) {
    reportFailure_("removeTab: panel " + number(panel) + " has no tab " + number(index));
    return;
  }
  const bool selectionChanges = index <= c->state;
  c->tabs.erase(c->tabs.begin() + index);
  removeEditorsOfTab(panel, index);
  // Like a tab bar: the tab to the right takes the place of the removed
  // selected one, the left one when it was the last.
  if (index < c->state || (index == c->state && index == count - 1)) --c->state;
  if (selectionChanges) queueUnlessRepeated({EventKind::TabChanged, panel, c->window});
}

int FakeToolkit::tabCount(int panel) const {
  const FakeControl* c = find(panel, "tabCount");
  return c ? static_cast<int>(c->tabs.size()) : 0;
}

std::string FakeToolkit::tabTitle(int panel, int index) const {
  const FakeControl* c = find(panel, "tabTitle");
  if (!c || index < 0 || index >= static_cast<int>(c->tabs.size())) return {};
  return c->tabs[index];
}

void FakeToolkit::setTabTitle(int panel, int index, std::string_view title) {
  FakeControl* c = find(panel, "setTabTitle");
  if (c && index >= 0 && index < static_cast<int>(c->tabs.size())) c->tabs[index] = title;
}

int FakeToolkit::itemWidth(int panel) const {
  const FakeControl* c = find(panel, "itemWidth");
  return c ? c->rect.width - 2 * kTabBorder : 0;
}

int FakeToolkit::itemHeight(int panel) const {
  const FakeControl* c = find(panel, "itemHeight");
  return c ? c->rect.height - kTabBarHeight - kTabBorder : 0;
}

// --- Editors.

void FakeToolkit::insertText(int editor, std::string_view text) {
  FakeControl* c = find(editor, "insertText");
  if (!c) return;
  if (c->kind != ControlKind::Editor) {
    reportFailure_("insertText: control " + number(editor) + " is no editor");
    return;
  }
  if (!isValidUtf8(text))
    reportFailure_("insertText: text for control " + number(editor) + " is not UTF-8");
  c->text.replace(c->selectionStart, c->selectionEnd - c->selectionStart, text);
  c->selectionStart = c->selectionEnd = c->selectionStart + text.size();
  queueUnlessRepeated({EventKind::TextChanged, editor, c->window});
}

void FakeToolkit::setEditorFont(int editor, std::string_view family, double points) {
  if (FakeControl* c = find(editor, "setEditorFont")) {
    c->fontFamily = family;
    c->fontPoints = points;
  }
}

void FakeToolkit::setCaretColour(int editor, Colour colour) {
  if (FakeControl* c = find(editor, "setCaretColour")) c->caretColour = colour;
}

void FakeToolkit::setBackgroundColour(int editor, Colour colour) {
  if (FakeControl* c = find(editor, "setBackgroundColour")) c->backgroundColour = colour;
}

void FakeToolkit::applyColouring(int editor, const EditorColouring& colouring) {
  if (FakeControl* c = find(editor, "applyColouring")) {
    c->colouring = colouring;
    ++c->colouringsApplied;
  }
}

TextRange FakeToolkit::selection(int editor) const {
  const auto found = controls_.find(editor);
  if (found == controls_.end() || found->second.kind != ControlKind::Editor) {
    reportFailure_("selection: control " + number(editor) + " is no editor");
    return {};
  }
  return {found->second.selectionStart, found->second.selectionEnd - found->second.selectionStart};
}

void FakeToolkit::selectText(int editor, TextRange range) {
  FakeControl* c = find(editor, "selectText");
  if (!c) return;
  if (c->kind != ControlKind::Editor || range.start + range.length > c->text.size() ||
      !isValidUtf8(std::string_view(c->text).substr(0, range.start)) ||
      !isValidUtf8(std::string_view(c->text).substr(range.start, range.length))) {
    reportFailure_("selectText: not a stretch of the text of control " + number(editor));
    return;
  }
  c->selectionStart = range.start;
  c->selectionEnd = range.start + range.length;
  ++c->selectionsShown;
}

// --- Menus.

int FakeToolkit::addMenu(std::string_view title) {
  menus_.push_back({std::string(title), {}});
  return static_cast<int>(menus_.size()) - 1;
}

void FakeToolkit::addMenuItem(int menu, int item, std::string_view text, bool enabled) {
  if (menu < 0 || menu >= static_cast<int>(menus_.size())) {
    reportFailure_("addMenuItem: no menu " + number(menu));
    return;
  }
  menus_[menu].items.push_back(item);
  menuItems_[item] = {menu, std::string(text), enabled};
}

void FakeToolkit::addMenuSeparator(int menu) {
  if (menu < 0 || menu >= static_cast<int>(menus_.size())) {
    reportFailure_("addMenuSeparator: no menu " + number(menu));
    return;
  }
  menus_[menu].items.push_back(FakeMenu::kSeparator);
}

int FakeToolkit::addSubmenu(int menu, std::string_view title) {
  if (menu < 0 || menu >= static_cast<int>(menus_.size())) {
    reportFailure_("addSubmenu: no menu " + number(menu));
    return -1;
  }
  const int index = static_cast<int>(menus_.size());
  menus_[menu].items.push_back(FakeMenu::kSubmenu - index);
  menus_.push_back({std::string(title), {}, menu});
  return index;
}

void FakeToolkit::clearMenu(int menu) {
  if (menu < 0 || menu >= static_cast<int>(menus_.size())) {
    reportFailure_("clearMenu: no menu " + number(menu));
    return;
  }
  for (int item : menus_[menu].items) menuItems_.erase(item);
  menus_[menu].items.clear();
}

void FakeToolkit::setMenuItemEnabled(int item, bool enabled) {
  auto it = menuItems_.find(item);
  if (it == menuItems_.end()) {
    reportFailure_("setMenuItemEnabled: no menu item " + number(item));
    return;
  }
  it->second.enabled = enabled;
}

bool FakeToolkit::isMenuItemEnabled(int item) const { return menuItem(item).enabled; }

void FakeToolkit::addCheckableMenuItem(int menu, int item, std::string_view text, bool enabled) {
  addMenuItem(menu, item, text, enabled);
  auto it = menuItems_.find(item);
  if (it != menuItems_.end()) it->second.checkable = true;
}

void FakeToolkit::setMenuItemChecked(int item, bool checked) {
  auto it = menuItems_.find(item);
  if (it == menuItems_.end() || !it->second.checkable) {
    reportFailure_("setMenuItemChecked: no checkable menu item " + number(item));
    return;
  }
  it->second.checked = checked;
}

bool FakeToolkit::isMenuItemChecked(int item) const { return menuItem(item).checked; }

// --- Modal requests.

int FakeToolkit::messageBox(std::string_view title, std::string_view text, MessageButtons buttons) {
  int answer = MessageResult::Ok;
  if (buttons != MessageButtons::Ok) {
    const std::string question = "the question \"" + std::string(title) + "\"";
    std::optional<Answer> scripted = nextAnswer(Answer::Kind::Message, question.c_str());
    answer = scripted ? scripted->result : MessageResult::No;
    if (answer == MessageResult::Cancel && buttons != MessageButtons::YesNoCancel) {
      reportFailure_(question + " offers no Cancel");
      answer = MessageResult::No;
    }
  }
  messages_.push_back({std::string(title), std::string(text), buttons, answer});
  return answer;
}

void FakeToolkit::messageBoxWithDetails(std::string_view title, std::string_view text,
                                        std::string_view details) {
  messages_.push_back({std::string(title), std::string(text), MessageButtons::Ok, MessageResult::Ok,
                       std::string(details)});
}
std::string FakeToolkit::chooseFolder(std::string_view title, std::string_view startFolder) {
  std::optional<Answer> scripted = nextAnswer(Answer::Kind::Folder, "a folder requester");
  std::string answer = scripted ? scripted->path : std::string();
  if (!answer.empty() && answer.back() != '/') answer += '/';
  requesters_.push_back(
      {RequesterKind::Folder, std::string(title), {}, {}, std::string(startFolder), answer});
  return answer;
}

std::string FakeToolkit::chooseSaveFile(std::string_view title, std::string_view proposedName,
                                        std::string_view filter, std::string_view startFolder) {
  std::optional<Answer> scripted = nextAnswer(Answer::Kind::SaveFile, "a save requester");
  std::string answer = scripted ? scripted->path : std::string();
  requesters_.push_back({RequesterKind::SaveFile, std::string(title), std::string(proposedName),
                         std::string(filter), std::string(startFolder), answer});
  return answer;
}

// --- Desktop and long commands.

void FakeToolkit::setClipboardText(std::string_view text) { clipboard_.emplace_back(text); }

void FakeToolkit::launch(std::string_view program, const std::vector<std::string>& arguments) {
  launches_.push_back({std::string(program), arguments});
}

void FakeToolkit::setBusy(bool busy) { busy_ = busy; }

bool FakeToolkit::showProgress(std::string_view title, std::string_view text, double fraction) {
  if (progressCancelled_) return false;
  progressShown_ = true;
  progress_.push_back({std::string(title), std::string(text), fraction});
  if (cancelWhen_ && cancelWhen_(progress_.back())) {
    cancelWhen_ = nullptr;
    progressCancelled_ = true;
    progressShown_ = false;  // a cancelled dialog goes away at once
    return false;
  }
  return true;
}

void FakeToolkit::closeProgress() {
  progressShown_ = false;
  progressCancelled_ = false;
}

}  // namespace oz
