#include "qt/qt_toolkit.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QEventLoop>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTextBrowser>
#include <algorithm>
#include <cmath>

#include "qt/input_guard.h"
#include "qt/key_sequences.h"
#include "qt/modal_requests.h"
#include "qt/qt_strings.h"
#include "qt/script_text_edit.h"
#include "qt/tab_panel.h"
#include "qt/toolkit_window.h"
#include "toolkit/arguments.h"
#include "toolkit/shortcut.h"

namespace oz {
namespace {

constexpr char kHtmlProperty[] = "oz-html";
constexpr int kProgressSteps = 1000;

std::optional<int> parseDecimal(const QString& text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok, 10);
  return ok ? std::optional<int>(value) : std::nullopt;
}

}  // namespace

QtToolkit::QtToolkit() : inputGuard_(std::make_unique<InputGuard>()) {
  // The logic decides when the program ends, not the last closed window.
  QApplication::setQuitOnLastWindowClosed(false);
  qApp->installEventFilter(inputGuard_.get());
}

QtToolkit::~QtToolkit() {
  qApp->removeEventFilter(inputGuard_.get());
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

template <typename W>
W* QtToolkit::widgetAs(int control) const {
  // dynamic_cast: the toolkit's own widget classes carry no meta-object of their own.
  return dynamic_cast<W*>(controlWidget(control));
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
  Event event = events_.front();
  events_.pop_front();
  return event;
}

std::optional<Event> QtToolkit::pollEvent() {
  QCoreApplication::processEvents();
  if (events_.empty()) return std::nullopt;
  Event event = events_.front();
  events_.pop_front();
  return event;
}

void QtToolkit::postControlEvent(int control) {
  if (const ControlEntry* entry = find(control)) {
    queueUnlessRepeated({EventKind::Control, control, entry->window});
  }
}

void QtToolkit::setResizeHandler(std::function<void(int)> handler) {
  resizeHandler_ = std::move(handler);
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
    for (const auto& menu : menus_) w->addMenu(menu.get());
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

// --- Controls.

void QtToolkit::adopt(int window, int control, ControlKind kind, QWidget* widget, Rect r) {
  widget->setObjectName(QString("control-%1").arg(control));
  widget->setGeometry(r.x, r.y, r.width, r.height);
  widget->show();
  controls_[control] = {widget, kind, window};
  lastCreated_[window] = control;
}

void QtToolkit::createLabel(int window, int control, Rect r, std::string_view text,
                            LabelAlign align) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  auto* label = new QLabel(toQ(text), parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment((align == LabelAlign::Centred ? Qt::AlignHCenter : Qt::AlignLeft) |
                      Qt::AlignVCenter);
  adopt(window, control, ControlKind::Label, label, r);
}

void QtToolkit::createTextField(int window, int control, Rect r, std::string_view text) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  adopt(window, control, ControlKind::TextField, new QLineEdit(toQ(text), parent), r);
}

void QtToolkit::createButton(int window, int control, Rect r, std::string_view caption) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  auto* button = new QPushButton(captionToQ(caption), parent);
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, button, [this, window, control] {
    queue({EventKind::Control, control, window});
  });
  adopt(window, control, ControlKind::Button, button, r);
}

void QtToolkit::createGroupFrame(int window, int control, Rect r, std::string_view title) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  adopt(window, control, ControlKind::GroupFrame, new QGroupBox(captionToQ(title), parent), r);
}

void QtToolkit::createOption(int window, int control, Rect r, std::string_view caption) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  // Radio buttons of one parent would all be one group; the program's groups
  // are runs of options created one after another.
  QButtonGroup* group = nullptr;
  auto last = lastCreated_.find(window);
  if (last != lastCreated_.end()) {
    const ControlEntry* previous = find(last->second);
    auto previousGroup = optionGroups_.find(last->second);
    if (previous && previous->kind == ControlKind::Option && previousGroup != optionGroups_.end()) {
      group = previousGroup->second;
    }
  }
  if (!group) group = new QButtonGroup(parent);
  auto* option = new QRadioButton(captionToQ(caption), parent);
  option->setAutoExclusive(false);
  group->addButton(option);
  optionGroups_[control] = group;
  QObject::connect(option, &QRadioButton::clicked, option, [this, window, control] {
    queue({EventKind::Control, control, window});
  });
  adopt(window, control, ControlKind::Option, option, r);
}

void QtToolkit::createCheckBox(int window, int control, Rect r, std::string_view caption) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  auto* box = new QCheckBox(captionToQ(caption), parent);
  QObject::connect(box, &QCheckBox::clicked, box, [this, window, control] {
    queue({EventKind::Control, control, window});
  });
  adopt(window, control, ControlKind::CheckBox, box, r);
}

void QtToolkit::createList(int window, int control, Rect r) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  auto* list = new QComboBox(parent);
  list->setEditable(false);
  // `activated` comes from the user's choice only, never from setCurrentIndex.
  QObject::connect(list, &QComboBox::activated, list, [this, window, control] {
    queue({EventKind::Control, control, window});
  });
  adopt(window, control, ControlKind::List, list, r);
}

void QtToolkit::createSpinField(int window, int control, Rect r, int minimum, int maximum) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  auto* spin = new QSpinBox(parent);
  spin->setRange(minimum, maximum);
  spin->setValue(minimum);
  QObject::connect(spin, &QSpinBox::valueChanged, spin, [this, window, control] {
    if (!quiet_) queue({EventKind::Control, control, window});
  });
  adopt(window, control, ControlKind::SpinField, spin, r);
}

bool QtToolkit::createImageView(int window, int control, Rect r,
                                std::span<const std::uint8_t> png) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return false;
  QPixmap pixmap;
  const bool loaded =
      pixmap.loadFromData(png.data(), static_cast<uint>(png.size()), "PNG") && !pixmap.isNull();
  auto* view = new QLabel(parent);
  view->setScaledContents(true);
  if (loaded) view->setPixmap(pixmap);
  adopt(window, control, ControlKind::ImageView, view, r);
  return loaded;
}

void QtToolkit::createRichText(int window, int control, Rect r, std::string_view html) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  auto* area = new QTextBrowser(parent);
  area->setOpenExternalLinks(true);
  area->setLineWrapMode(QTextEdit::WidgetWidth);
  area->setProperty(kHtmlProperty, toQ(html));
  area->setHtml(toQ(html));
  adopt(window, control, ControlKind::RichText, area, r);
}

void QtToolkit::createTabPanel(int window, int control, Rect r) {
  QWidget* parent = prepareFor(window, control);
  if (!parent) return;
  auto* panel = new TabPanel(parent);
  // Every change of the selected tab is reported, the program's too; the
  // handler reads the selection when it runs.
  QObject::connect(panel, &QTabWidget::currentChanged, panel, [this, window, control] {
    queueUnlessRepeated({EventKind::TabChanged, control, window});
  });
  adopt(window, control, ControlKind::TabPanel, panel, r);
}

void QtToolkit::createEditor(int panel, int tab, int control, Rect r) {
  auto* tabs = widgetAs<TabPanel>(panel);
  if (!tabs || tab < 0 || tab >= tabs->count() || control == panel) return;
  removeControl(control);
  const int window = find(panel)->window;
  auto* editor = new ScriptTextEdit(tabs->widget(tab));
  QObject::connect(editor, &QPlainTextEdit::textChanged, editor, [this, window, control] {
    if (!quiet_) queueUnlessRepeated({EventKind::TextChanged, control, window});
  });
  adopt(window, control, ControlKind::Editor, editor, r);
}

void QtToolkit::removeControl(int control) {
  auto it = controls_.find(control);
  if (it == controls_.end()) return;
  delete it->second.widget.data();
  controls_.erase(it);
  optionGroups_.erase(control);
}

std::string QtToolkit::text(int control) const {
  const ControlEntry* entry = find(control);
  if (!entry) return {};
  QWidget* w = entry->widget;
  switch (entry->kind) {
    case ControlKind::Label:
      return fromQ(static_cast<QLabel*>(w)->text());
    case ControlKind::TextField:
      return fromQ(static_cast<QLineEdit*>(w)->text());
    case ControlKind::Button:
    case ControlKind::Option:
    case ControlKind::CheckBox:
      return captionFromQ(static_cast<QAbstractButton*>(w)->text());
    case ControlKind::GroupFrame:
      return captionFromQ(static_cast<QGroupBox*>(w)->title());
    case ControlKind::List:
      return fromQ(static_cast<QComboBox*>(w)->currentText());
    case ControlKind::SpinField:
      return std::to_string(static_cast<QSpinBox*>(w)->value());
    case ControlKind::RichText:
      return fromQ(w->property(kHtmlProperty).toString());
    case ControlKind::TabPanel: {
      auto* tabs = static_cast<TabPanel*>(w);
      return tabs->currentIndex() < 0 ? std::string()
                                      : captionFromQ(tabs->tabText(tabs->currentIndex()));
    }
    case ControlKind::Editor:
      return fromQ(static_cast<ScriptTextEdit*>(w)->text());
    case ControlKind::ImageView:
      return {};
  }
  return {};
}

void QtToolkit::setText(int control, std::string_view text) {
  const ControlEntry* entry = find(control);
  if (!entry) return;
  QWidget* w = entry->widget;
  switch (entry->kind) {
    case ControlKind::Label:
      static_cast<QLabel*>(w)->setText(toQ(text));
      break;
    case ControlKind::TextField:
      static_cast<QLineEdit*>(w)->setText(toQ(text));
      break;
    case ControlKind::Button:
    case ControlKind::Option:
    case ControlKind::CheckBox:
      static_cast<QAbstractButton*>(w)->setText(captionToQ(text));
      break;
    case ControlKind::GroupFrame:
      static_cast<QGroupBox*>(w)->setTitle(captionToQ(text));
      break;
    case ControlKind::SpinField:
      // The text sets the value, as typing would; no number, no change.
      if (std::optional<int> value = parseDecimal(toQ(text))) {
        quietly([&] { static_cast<QSpinBox*>(w)->setValue(*value); });
      }
      break;
    case ControlKind::RichText:
      w->setProperty(kHtmlProperty, toQ(text));
      static_cast<QTextBrowser*>(w)->setHtml(toQ(text));
      break;
    case ControlKind::Editor:
      quietly([&] { static_cast<ScriptTextEdit*>(w)->setPlainText(toQ(text)); });
      break;
    case ControlKind::List:
    case ControlKind::TabPanel:
    case ControlKind::ImageView:
      break;
  }
}

int QtToolkit::state(int control) const {
  const ControlEntry* entry = find(control);
  if (!entry) return 0;
  QWidget* w = entry->widget;
  switch (entry->kind) {
    case ControlKind::Option:
    case ControlKind::CheckBox:
      return static_cast<QAbstractButton*>(w)->isChecked() ? 1 : 0;
    case ControlKind::List:
      return static_cast<QComboBox*>(w)->currentIndex();
    case ControlKind::SpinField:
      return static_cast<QSpinBox*>(w)->value();
    case ControlKind::TabPanel:
      return static_cast<TabPanel*>(w)->currentIndex();
    default:
      return 0;
  }
}

void QtToolkit::setState(int control, int state) {
  const ControlEntry* entry = find(control);
  if (!entry) return;
  QWidget* w = entry->widget;
  switch (entry->kind) {
    case ControlKind::Option: {
      auto* option = static_cast<QRadioButton*>(w);
      QButtonGroup* group = option->group();
      // An exclusive group refuses to clear its chosen button; the program may.
      if (!state && group) group->setExclusive(false);
      option->setChecked(state != 0);
      if (!state && group) group->setExclusive(true);
      break;
    }
    case ControlKind::CheckBox:
      static_cast<QCheckBox*>(w)->setChecked(state != 0);
      break;
    case ControlKind::List: {
      auto* list = static_cast<QComboBox*>(w);
      list->setCurrentIndex(state >= 0 && state < list->count() ? state : -1);
      break;
    }
    case ControlKind::SpinField:
      quietly([&] { static_cast<QSpinBox*>(w)->setValue(state); });
      break;
    case ControlKind::TabPanel: {
      auto* tabs = static_cast<TabPanel*>(w);
      if (state >= 0 && state < tabs->count()) tabs->setCurrentIndex(state);
      break;
    }
    default:
      break;
  }
}

void QtToolkit::addListEntry(int list, std::string_view entry) {
  if (auto* combo = widgetAs<QComboBox>(list)) {
    const int selected = combo->currentIndex();
    combo->addItem(toQ(entry));
    // A list keeps "no selection" until the program or the user chooses.
    if (selected < 0) combo->setCurrentIndex(-1);
  }
}

void QtToolkit::clearList(int list) {
  if (auto* combo = widgetAs<QComboBox>(list)) combo->clear();
}

void QtToolkit::setEnabled(int control, bool enabled) {
  if (QWidget* w = controlWidget(control)) w->setEnabled(enabled);
}

bool QtToolkit::isEnabled(int control) const {
  QWidget* w = controlWidget(control);
  return w && w->isEnabled();
}

void QtToolkit::setVisible(int control, bool visible) {
  if (QWidget* w = controlWidget(control)) w->setVisible(visible);
}

bool QtToolkit::isVisible(int control) const {
  QWidget* w = controlWidget(control);
  return w && !w->isHidden();
}

void QtToolkit::setGeometry(int control, Rect r) {
  if (QWidget* w = controlWidget(control)) w->setGeometry(r.x, r.y, r.width, r.height);
}

Rect QtToolkit::geometry(int control) const {
  QWidget* w = controlWidget(control);
  if (!w) return {};
  const QRect g = w->geometry();
  return {g.x(), g.y(), g.width(), g.height()};
}

void QtToolkit::focus(int control) {
  if (QWidget* w = controlWidget(control)) w->setFocus(Qt::OtherFocusReason);
}

// --- Tab panels.

void QtToolkit::addTab(int panel, std::string_view title) {
  if (auto* tabs = widgetAs<TabPanel>(panel)) tabs->addTab(new QWidget, captionToQ(title));
}

void QtToolkit::removeTab(int panel, int index) {
  auto* tabs = widgetAs<TabPanel>(panel);
  if (!tabs || index < 0 || index >= tabs->count()) return;
  QWidget* page = tabs->widget(index);
  tabs->removeTab(index);
  delete page;  // and the editors in it
  std::erase_if(controls_, [](const auto& entry) { return !entry.second.widget; });
}

int QtToolkit::tabCount(int panel) const {
  auto* tabs = widgetAs<TabPanel>(panel);
  return tabs ? tabs->count() : 0;
}

std::string QtToolkit::tabTitle(int panel, int index) const {
  auto* tabs = widgetAs<TabPanel>(panel);
  if (!tabs || index < 0 || index >= tabs->count()) return {};
  return captionFromQ(tabs->tabText(index));
}

void QtToolkit::setTabTitle(int panel, int index, std::string_view title) {
  auto* tabs = widgetAs<TabPanel>(panel);
  if (tabs && index >= 0 && index < tabs->count()) tabs->setTabText(index, captionToQ(title));
}

int QtToolkit::itemWidth(int panel) const {
  auto* tabs = widgetAs<TabPanel>(panel);
  return tabs ? tabs->itemSize().width() : 0;
}

int QtToolkit::itemHeight(int panel) const {
  auto* tabs = widgetAs<TabPanel>(panel);
  return tabs ? tabs->itemSize().height() : 0;
}

// --- Editors.

void QtToolkit::insertText(int editor, std::string_view text) {
  if (auto* edit = widgetAs<ScriptTextEdit>(editor)) edit->insertPlainText(toQ(text));
}

void QtToolkit::setEditorFont(int editor, std::string_view family, double points) {
  auto* edit = widgetAs<ScriptTextEdit>(editor);
  if (!edit) return;
  const QString name = toQ(family);
  QFont font = QFontDatabase::families().contains(name, Qt::CaseInsensitive)
                   ? QFont(name)
                   : QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSizeF(points);
  edit->setFont(font);
}

void QtToolkit::setCaretColour(int editor, Colour colour) {
  if (auto* edit = widgetAs<ScriptTextEdit>(editor)) edit->setCaretColour(toQColor(colour));
}

void QtToolkit::setBackgroundColour(int editor, Colour colour) {
  if (auto* edit = widgetAs<ScriptTextEdit>(editor)) edit->setBackgroundColour(toQColor(colour));
}

void QtToolkit::applyColouring(int editor, const EditorColouring& colouring) {
  if (auto* edit = widgetAs<ScriptTextEdit>(editor)) edit->applyColouring(colouring);
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

void QtToolkit::setMenuItemEnabled(int item, bool enabled) {
  auto it = menuItems_.find(item);
  if (it != menuItems_.end()) it->second.action->setEnabled(enabled);
}

bool QtToolkit::isMenuItemEnabled(int item) const {
  auto it = menuItems_.find(item);
  return it != menuItems_.end() && it->second.action->isEnabled();
}

// --- Modal requests. Input is taken again for their time even while busy.

int QtToolkit::messageBox(std::string_view title, std::string_view text, MessageButtons buttons) {
  inputGuard_->setBusy(false);
  const int result = showMessageBox(findWindow(activeWindow()), title, text, buttons);
  inputGuard_->setBusy(busy_);
  return result;
}

std::string QtToolkit::chooseFolder(std::string_view title) {
  inputGuard_->setBusy(false);
  std::string folder = requestFolder(findWindow(activeWindow()), title);
  inputGuard_->setBusy(busy_);
  return folder;
}

std::string QtToolkit::chooseSaveFile(std::string_view title, std::string_view proposedName,
                                      std::string_view filter) {
  inputGuard_->setBusy(false);
  std::string path = requestSaveFile(findWindow(activeWindow()), title, proposedName, filter);
  inputGuard_->setBusy(busy_);
  return path;
}

// --- Desktop.

void QtToolkit::setClipboardText(std::string_view text) {
  QGuiApplication::clipboard()->setText(toQ(text), QClipboard::Clipboard);
}

void QtToolkit::launch(std::string_view program, std::string_view arguments) {
  QStringList list;
  for (const std::string& argument : splitArguments(arguments)) list.append(toQ(argument));
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

void QtToolkit::showProgress(std::string_view title, std::string_view text, double fraction) {
  if (!progress_) {
    progress_ = std::make_unique<QProgressDialog>(findWindow(activeWindow()));
    progress_->setObjectName("progress");
    progress_->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    progress_->setCancelButton(nullptr);
    progress_->setWindowModality(Qt::ApplicationModal);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->setMinimumDuration(0);
    progress_->setRange(0, kProgressSteps);
  }
  progress_->setWindowTitle(toQ(title));
  progress_->setLabelText(toQ(text));
  progress_->setValue(
      static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * kProgressSteps)));
  progress_->show();
  // Repaint now; the input guard keeps the user's input out.
  QCoreApplication::processEvents();
}

void QtToolkit::closeProgress() { progress_.reset(); }

}  // namespace oz
