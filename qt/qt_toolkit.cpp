#include "qt/qt_toolkit.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QEventLoop>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMenu>
#include <QProcess>
#include <QProgressDialog>
#include <QShortcut>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "qt/file_drops.h"
#include "qt/input_guard.h"
#include "qt/key_sequences.h"
#include "qt/modal_requests.h"
#include "qt/qt_strings.h"
#include "qt/toolkit_window.h"
#include "toolkit/shortcut.h"

namespace oz {
namespace {

constexpr int kProgressSteps = 1000;
constexpr int kTitleBarButtonsWidth = 120;

}  // namespace

QtToolkit::QtToolkit()
    : inputGuard_(std::make_unique<InputGuard>()),
      fileDrops_(std::make_unique<FileDrops>(
          [this](int window) {
            return std::ranges::find(dropWindows_, window) != dropWindows_.end();
          },
          [this](int window, std::vector<std::string> paths) {
            drops_.push_back(std::move(paths));
            queue({EventKind::FilesDropped, window, window});
          })) {
  // The logic decides when the program ends, not the last closed window.
  QApplication::setQuitOnLastWindowClosed(false);
  qApp->installEventFilter(inputGuard_.get());
  qApp->installEventFilter(fileDrops_.get());
}

QtToolkit::~QtToolkit() {
  qApp->removeEventFilter(inputGuard_.get());
  qApp->removeEventFilter(fileDrops_.get());
  progress_.reset();
  for (auto& [number, window] : windows_) delete window.data();
  windows_.clear();
  menus_.clear();
  if (busy_) QApplication::restoreOverrideCursor();
}

// --- Lookups.

ToolkitWindow* QtToolkit::findWindow(int window) const {
  auto it = windows_.find(window);
  return it == windows_.end() ? nullptr : it->second.data();
}

QWidget* QtToolkit::windowWidget(int window) const { return findWindow(window); }

const QtToolkit::ControlEntry* QtToolkit::find(int control) const {
  auto it = controls_.find(control);
  if (it == controls_.end() || !it->second.widget) return nullptr;
  return &it->second;
}

QWidget* QtToolkit::controlWidget(int control) const {
  const ControlEntry* entry = find(control);
  return entry ? entry->widget.data() : nullptr;
}

QWidget* QtToolkit::prepareFor(int window, int control) {
  ToolkitWindow* w = findWindow(window);
  if (!w) return nullptr;
  removeControl(control);
  return w->content();
}

// --- Events.

void QtToolkit::queue(const Event& event) {
  events_.push_back(event);
  if (waiting_) waiting_->quit();
}

void QtToolkit::queueUnlessRepeated(const Event& event) {
  if (events_.empty() || events_.back() != event) queue(event);
}

void QtToolkit::quietly(const std::function<void()>& change) {
  ++quiet_;
  change();
  --quiet_;
}

Event QtToolkit::waitEvent() {
  while (events_.empty()) {
    // A real event loop, so that Qt's deferred deletions happen too.
    QEventLoop loop;
    waiting_ = &loop;
    loop.exec();
    waiting_ = nullptr;
  }
  return take();
}

std::optional<Event> QtToolkit::pollEvent() {
  QCoreApplication::processEvents();
  if (events_.empty()) return std::nullopt;
  return take();
}

Event QtToolkit::take() {
  Event event = events_.front();
  events_.pop_front();
  // Handed out, a watch's event is read by its handler before the loop runs
  // again: the notifier may report what is left from then on.
  if (event.kind == EventKind::FilesChanged) {
    if (auto it = notifiers_.find(event.number); it != notifiers_.end()) {
      it->second->setEnabled(true);
    }
  }
  if (event.kind == EventKind::FilesDropped) {
    dropped_ = std::move(drops_.front());
    drops_.pop_front();
  }
  return event;
}

void QtToolkit::acceptFileDrops(int window) {
  ToolkitWindow* w = findWindow(window);
  if (!w) return;
  w->setAcceptDrops(true);
  dropWindows_.push_back(window);
}

std::vector<std::string> QtToolkit::droppedPaths() const { return dropped_; }

void QtToolkit::watchFolder(std::string_view folder) {
  // Qt would complain on standard error about a file or a missing path; what
  // the program cannot do there it reports in its own words when it tries.
  if (!QFileInfo(toQ(folder)).isDir()) return;
  if (!watcher_) {
    watcher_ = std::make_unique<QFileSystemWatcher>();
    QObject::connect(watcher_.get(), &QFileSystemWatcher::directoryChanged, watcher_.get(), [this] {
      queueUnlessRepeated({EventKind::FolderChanged, 0, Window::None});
    });
  }
  watcher_->addPath(toQ(folder));
}

void QtToolkit::postControlEvent(int control) {
  if (const ControlEntry* entry = find(control)) {
    queueUnlessRepeated({EventKind::Control, control, entry->window});
  }
}

void QtToolkit::setResizeHandler(std::function<void(int)> handler) {
  resizeHandler_ = std::move(handler);
}

void QtToolkit::startTimer(int timer, int milliseconds, bool repeating) {
  std::unique_ptr<QTimer>& entry = timers_[timer];
  if (!entry) {
    entry = std::make_unique<QTimer>();
    QObject::connect(entry.get(), &QTimer::timeout, entry.get(), [this, timer] {
      queueUnlessRepeated({EventKind::Timer, timer, Window::None});
    });
  }
  entry->setSingleShot(!repeating);
  entry->start(milliseconds);
}

void QtToolkit::stopTimer(int timer) {
  auto it = timers_.find(timer);
  if (it != timers_.end()) it->second->stop();
}

void QtToolkit::watchDescriptor(int watch, int descriptor) {
  auto notifier = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
  QSocketNotifier* raw = notifier.get();
  QObject::connect(raw, &QSocketNotifier::activated, raw, [this, watch, raw] {
    // It would fire again at every turn of the loop until the bytes are read.
    raw->setEnabled(false);
    queue({EventKind::FilesChanged, watch, Window::None});
  });
  notifiers_[watch] = std::move(notifier);
}

void QtToolkit::stopWatchingDescriptor(int watch) {
  notifiers_.erase(watch);
  std::erase(events_, Event{EventKind::FilesChanged, watch, Window::None});
}

// --- Windows.

bool QtToolkit::openWindow(int window, std::string_view title, int width, int height,
                           const WindowStyle& style) {
  if (width <= 0 || height <= 0) return false;
  QWidget* over = nullptr;
  if (style.placement == Placement::CentredOverActiveWindow) {
    over = findWindow(activeWindow());
  }
  if (findWindow(window)) {
    if (over == findWindow(window)) over = nullptr;
    closeWindow(window);
  }
  WindowCallbacks callbacks{
      [this](int n) {
        queue({EventKind::WindowClose, n, n});
      },
      [this](int n) {
        if (resizeHandler_) resizeHandler_(n);
      },
      [this](int n) { onActivated(n); },
  };
  auto* w = new ToolkitWindow(window, toQ(title), QSize(width, height), style, callbacks);
  windows_[window] = w;
  if (style.menuBar) {
    for (size_t i = 0; i < menus_.size(); ++i) {
      if (std::ranges::find(submenus_, static_cast<int>(i)) == submenus_.end()) {
        w->addMenu(menus_[i].get());
      }
    }
  }
  onActivated(window);
  w->placeAndShow(over);
  if (window == Window::Main) installMainWindowShortcuts();
  return true;
}

void QtToolkit::closeWindow(int window) {
  ToolkitWindow* w = findWindow(window);
  if (!w) return;
  const bool wasActive = activeWindow() == window;
  windows_.erase(window);
  std::erase(activation_, window);
  std::erase(dropWindows_, window);
  std::erase_if(controls_, [window](const auto& entry) { return entry.second.window == window; });
  lastCreated_.erase(window);
  delete w;
  std::erase_if(optionGroups_, [](const auto& entry) { return !entry.second; });
  // As on a desktop whose key window closes: the window used last before it
  // takes the keyboard.
  if (wasActive && !activation_.empty()) {
    if (ToolkitWindow* next = findWindow(activation_.back())) {
      next->raise();
      next->activateWindow();
    }
  }
}

bool QtToolkit::isWindowOpen(int window) const { return findWindow(window) != nullptr; }

void QtToolkit::hideZoomButton(int window) {
  if (ToolkitWindow* w = findWindow(window)) w->hideZoomButton();
}

int QtToolkit::clientWidth(int window) const {
  ToolkitWindow* w = findWindow(window);
  return w ? w->content()->width() : 0;
}

int QtToolkit::clientHeight(int window) const {
  ToolkitWindow* w = findWindow(window);
  return w ? w->content()->height() : 0;
}

void QtToolkit::setMinimumSize(int window, int width, int height) {
  if (ToolkitWindow* w = findWindow(window)) w->setMinimumClientSize(QSize(width, height));
}

int QtToolkit::activeWindow() const {
  // The window activated last, by the program or the user. Unlike Qt's own
  // answer this holds at once after a window opens (a window manager
  // activates it later), while a message box of the window is up, and while
  // the program is in the background, as a key window would.
  return activation_.empty() ? Window::None : activation_.back();
}

void QtToolkit::onActivated(int window) {
  std::erase(activation_, window);
  activation_.push_back(window);
}

void QtToolkit::setEdited(int window, bool edited) {
  if (ToolkitWindow* w = findWindow(window)) w->setWindowModified(edited);
}

bool QtToolkit::isEdited(int window) const {
  ToolkitWindow* w = findWindow(window);
  return w && w->isWindowModified();
}

// --- Menus.

int QtToolkit::addMenu(std::string_view title) {
  menus_.push_back(std::make_unique<QMenu>(captionToQ(title)));
  for (auto& [number, window] : windows_) {
    if (window && window->style().menuBar) window->addMenu(menus_.back().get());
  }
  return static_cast<int>(menus_.size()) - 1;
}

void QtToolkit::addMenuItem(int menu, int item, std::string_view text, bool enabled) {
  if (menu < 0 || menu >= static_cast<int>(menus_.size())) return;
  const MenuItemText parsed = parseMenuItemText(text);
  QAction* action = menus_[menu]->addAction(captionToQ(parsed.label));
  action->setEnabled(enabled);
  action->setMenuRole(QAction::NoRole);
  MenuItemEntry entry{action, false};
  if (parsed.shortcut) {
    action->setShortcut(toKeySequence(*parsed.shortcut));
    entry.mainWindowOnly = isBareReturn(*parsed.shortcut);
    // A bare Return is shown in the menu but served by a shortcut of the
    // main window alone; every other key acts from every window.
    action->setShortcutContext(entry.mainWindowOnly ? Qt::WidgetShortcut : Qt::ApplicationShortcut);
  }
  QObject::connect(action, &QAction::triggered, action, [this, item] {
    queue({EventKind::MenuItem, item, activeWindow()});
  });
  menuItems_[item] = entry;
  if (entry.mainWindowOnly) installMainWindowShortcuts();
}

void QtToolkit::installMainWindowShortcuts() {
  for (QPointer<QShortcut>& shortcut : mainWindowShortcuts_) delete shortcut.data();
  mainWindowShortcuts_.clear();
  ToolkitWindow* main = findWindow(Window::Main);
  if (!main) return;
  for (auto& [item, entry] : menuItems_) {
    if (!entry.mainWindowOnly) continue;
    QAction* action = entry.action;
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
      auto* shortcut = new QShortcut(QKeySequence(key), main);
      shortcut->setContext(Qt::WindowShortcut);
      QObject::connect(shortcut, &QShortcut::activated, action, [action] {
        if (action->isEnabled()) action->trigger();
      });
      mainWindowShortcuts_.push_back(shortcut);
    }
  }
}

void QtToolkit::addMenuSeparator(int menu) {
  if (menu >= 0 && menu < static_cast<int>(menus_.size())) menus_[menu]->addSeparator();
}

int QtToolkit::addSubmenu(int menu, std::string_view title) {
  if (menu < 0 || menu >= static_cast<int>(menus_.size())) return -1;
  menus_.push_back(std::make_unique<QMenu>(captionToQ(title)));
  menus_[menu]->addMenu(menus_.back().get());
  const int index = static_cast<int>(menus_.size()) - 1;
  submenus_.push_back(index);
  return index;
}

void QtToolkit::clearMenu(int menu) {
  if (menu < 0 || menu >= static_cast<int>(menus_.size())) return;
  QMenu* cleared = menus_[menu].get();
  std::erase_if(menuItems_,
                [cleared](const auto& entry) { return entry.second.action->parent() == cleared; });
  cleared->clear();
}

void QtToolkit::setMenuItemEnabled(int item, bool enabled) {
  auto it = menuItems_.find(item);
  if (it != menuItems_.end()) it->second.action->setEnabled(enabled);
}

bool QtToolkit::isMenuItemEnabled(int item) const {
  auto it = menuItems_.find(item);
  return it != menuItems_.end() && it->second.action->isEnabled();
}

// A checkable action toggles its tick before it reports being triggered.
void QtToolkit::addCheckableMenuItem(int menu, int item, std::string_view text, bool enabled) {
  addMenuItem(menu, item, text, enabled);
  if (QAction* action = menuItemAction(item)) action->setCheckable(true);
}

void QtToolkit::setMenuItemChecked(int item, bool checked) {
  if (QAction* action = menuItemAction(item)) action->setChecked(checked);
}

bool QtToolkit::isMenuItemChecked(int item) const {
  const QAction* action = menuItemAction(item);
  return action && action->isChecked();
}

QAction* QtToolkit::menuItemAction(int item) const {
  auto it = menuItems_.find(item);
  return it == menuItems_.end() ? nullptr : it->second.action;
}

// --- Modal requests. Input is taken again for their time even while busy.

int QtToolkit::messageBox(std::string_view title, std::string_view text, MessageButtons buttons) {
  inputGuard_->setBusy(false);
  const int result = showMessageBox(findWindow(activeWindow()), title, text, {}, buttons);
  inputGuard_->setBusy(busy_);
  return result;
}

void QtToolkit::messageBoxWithDetails(std::string_view title, std::string_view text,
                                      std::string_view details) {
  inputGuard_->setBusy(false);
  showMessageBox(findWindow(activeWindow()), title, text, details, MessageButtons::Ok);
  inputGuard_->setBusy(busy_);
}
std::string QtToolkit::chooseFolder(std::string_view title, std::string_view startFolder) {
  inputGuard_->setBusy(false);
  std::string folder = requestFolder(findWindow(activeWindow()), title, startFolder);
  inputGuard_->setBusy(busy_);
  return folder;
}

std::string QtToolkit::chooseSaveFile(std::string_view title, std::string_view proposedName,
                                      std::string_view filter, std::string_view startFolder) {
  inputGuard_->setBusy(false);
  std::string path =
      requestSaveFile(findWindow(activeWindow()), title, proposedName, filter, startFolder);
  inputGuard_->setBusy(busy_);
  return path;
}

// --- Desktop.

void QtToolkit::setClipboardText(std::string_view text) {
  QGuiApplication::clipboard()->setText(toQ(text), QClipboard::Clipboard);
}

void QtToolkit::launch(std::string_view program, const std::vector<std::string>& arguments) {
  QStringList list;
  for (const std::string& argument : arguments) list.append(toQ(argument));
  QProcess::startDetached(toQ(program), list);
}

// --- Long commands.

void QtToolkit::setBusy(bool busy) {
  if (busy == busy_) return;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    busy_ = true;
    inputGuard_->setBusy(true);
    return;
  }
  // Input that arrived during the command is read now and dropped.
  QCoreApplication::processEvents();
  inputGuard_->setBusy(false);
  busy_ = false;
  QApplication::restoreOverrideCursor();
}

bool QtToolkit::showProgress(std::string_view title, std::string_view text, double fraction) {
  if (!progress_) {
    progress_ = std::make_unique<QProgressDialog>(findWindow(activeWindow()));
    progress_->setObjectName("progress");
    progress_->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    progress_->setCancelButtonText(QStringLiteral("Cancel"));
    progress_->setWindowModality(Qt::ApplicationModal);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->setMinimumDuration(0);
    progress_->setRange(0, kProgressSteps);
    // Escape rejects a dialog; here it cancels, as the button does.
    QObject::connect(progress_.get(), &QDialog::rejected, progress_.get(),
                     &QProgressDialog::cancel);
    // The one input taken while busy: the dialog's own Cancel.
    inputGuard_->allow(progress_.get());
  }
  // Cancelled, the dialog has hidden itself; it must not come back.
  if (progress_->wasCanceled()) return false;
  progress_->setWindowTitle(toQ(title));
  // Wide enough for the window manager to show the whole title beside its
  // buttons, whose font may be larger than the dialog's.
  const int titleWidth = progress_->fontMetrics().horizontalAdvance(toQ(title));
  progress_->setMinimumWidth(2 * titleWidth + kTitleBarButtonsWidth);
  progress_->setLabelText(toQ(text));
  progress_->setValue(
      static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * kProgressSteps)));
  progress_->show();
  // Repaint now, and take a press of Cancel; the input guard keeps the
  // user's other input out.
  QCoreApplication::processEvents();
  return !progress_->wasCanceled();
}

void QtToolkit::closeProgress() { progress_.reset(); }

}  // namespace oz
