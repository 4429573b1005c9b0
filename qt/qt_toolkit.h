// QtToolkit: the Toolkit on Qt 6 Widgets.
//
// Needs a QApplication that lives longer than it. The event queue is the
// toolkit's own: Qt's signals push into it, and waitEvent runs Qt's event
// loop until something is queued. Windows are "window-N" and controls
// "control-N" by object name, so whole-program tests can find and click them.
//
// Menu shortcuts work from every window (Ctrl+S in an editor reaches "Save
// Script"), except a shortcut of Return alone, which acts only while the main
// window is active: in the Script Editor, Return types a line break.
#pragma once

#include <QPointer>
#include <deque>
#include <map>
#include <memory>
#include <vector>

#include "toolkit/control_kind.h"
#include "toolkit/toolkit.h"

class QAction;
class QButtonGroup;
class QEventLoop;
class QFileSystemWatcher;
class QMenu;
class QProgressDialog;
class QShortcut;
class QSocketNotifier;
class QTimer;
class QWidget;

namespace oz {

class FileDrops;
class InputGuard;
class ScriptTextEdit;
class TabPanel;
class ToolkitWindow;

class QtToolkit : public Toolkit {
 public:
  QtToolkit();
  ~QtToolkit() override;
  QtToolkit(const QtToolkit&) = delete;
  QtToolkit& operator=(const QtToolkit&) = delete;

  // The widget of a window or control, or the action of a menu item, for
  // tests; nullptr when there is none.
  QWidget* windowWidget(int window) const;
  QWidget* controlWidget(int control) const;
  // The action of a menu item, for tests; nullptr when there is none.
  QAction* menuItemAction(int item) const;

  bool openWindow(int window, std::string_view title, int width, int height,
                  const WindowStyle& style) override;
  void closeWindow(int window) override;
  bool isWindowOpen(int window) const override;
  void hideZoomButton(int window) override;
  int clientWidth(int window) const override;
  int clientHeight(int window) const override;
  void setMinimumSize(int window, int width, int height) override;
  int activeWindow() const override;
  void setEdited(int window, bool edited) override;
  bool isEdited(int window) const override;

  void createLabel(int window, int control, Rect r, std::string_view text,
                   LabelAlign align) override;
  void createTextField(int window, int control, Rect r, std::string_view text) override;
  void createFindField(int window, int control, Rect r) override;
  void createButton(int window, int control, Rect r, std::string_view caption) override;
  void createGroupFrame(int window, int control, Rect r, std::string_view title) override;
  void createOption(int window, int control, Rect r, std::string_view caption) override;
  void createCheckBox(int window, int control, Rect r, std::string_view caption) override;
  void createList(int window, int control, Rect r) override;
  void createListBox(int window, int control, Rect r) override;
  void createSpinField(int window, int control, Rect r, int minimum, int maximum) override;
  void setMinimumText(int spinField, std::string_view text) override;
  bool createImageView(int window, int control, Rect r, std::span<const std::uint8_t> png) override;
  void createRichText(int window, int control, Rect r, std::string_view html) override;
  void createTabPanel(int window, int control, Rect r) override;
  void createEditor(int panel, int tab, int control, Rect r) override;
  void createCanvas(int window, int control, Rect r) override;
  void paintCanvas(int canvas, const CanvasPicture& picture) override;
  void createScrollBar(int window, int control, Rect r, Orientation orientation) override;
  void setScrollRange(int scrollBar, int length, int page) override;
  void removeControl(int control) override;

  std::string text(int control) const override;
  void setText(int control, std::string_view text) override;
  int state(int control) const override;
  void setState(int control, int state) override;
  void addListEntry(int list, std::string_view entry) override;
  void clearList(int list) override;
  void setEnabled(int control, bool enabled) override;
  bool isEnabled(int control) const override;
  void setVisible(int control, bool visible) override;
  bool isVisible(int control) const override;
  void setGeometry(int control, Rect r) override;
  Rect geometry(int control) const override;
  void focus(int control) override;
  void setToolTip(int control, std::string_view text) override;

  void addTab(int panel, std::string_view title) override;
  void removeTab(int panel, int index) override;
  int tabCount(int panel) const override;
  std::string tabTitle(int panel, int index) const override;
  void setTabTitle(int panel, int index, std::string_view title) override;
  int itemWidth(int panel) const override;
  int itemHeight(int panel) const override;

  void insertText(int editor, std::string_view text) override;
  void setEditorFont(int editor, std::string_view family, double points) override;
  void setCaretColour(int editor, Colour colour) override;
  void setBackgroundColour(int editor, Colour colour) override;
  void applyColouring(int editor, const EditorColouring& colouring) override;
  TextRange selection(int editor) const override;
  void selectText(int editor, TextRange range) override;

  int addMenu(std::string_view title) override;
  void addMenuItem(int menu, int item, std::string_view text, bool enabled) override;
  void addCheckableMenuItem(int menu, int item, std::string_view text, bool enabled) override;
  void addMenuSeparator(int menu) override;
  int addSubmenu(int menu, std::string_view title) override;
  void clearMenu(int menu) override;
  void setMenuItemEnabled(int item, bool enabled) override;
  bool isMenuItemEnabled(int item) const override;
  void setMenuItemChecked(int item, bool checked) override;
  bool isMenuItemChecked(int item) const override;

  Event waitEvent() override;
  std::optional<Event> pollEvent() override;
  void postControlEvent(int control) override;
  void setResizeHandler(std::function<void(int window)> handler) override;
  void acceptFileDrops(int window) override;
  void watchFolder(std::string_view folder) override;
  std::vector<std::string> droppedPaths() const override;
  void startTimer(int timer, int milliseconds, bool repeating) override;
  void stopTimer(int timer) override;
  void watchDescriptor(int watch, int descriptor) override;
  void stopWatchingDescriptor(int watch) override;

  int messageBox(std::string_view title, std::string_view text, MessageButtons buttons) override;
  void messageBoxWithDetails(std::string_view title, std::string_view text,
                             std::string_view details) override;
  std::string chooseFolder(std::string_view title, std::string_view startFolder) override;
  std::string chooseSaveFile(std::string_view title, std::string_view proposedName,
                             std::string_view filter, std::string_view startFolder) override;
  void setClipboardText(std::string_view text) override;
  void launch(std::string_view program, const std::vector<std::string>& arguments) override;
  void setBusy(bool busy) override;
  bool showProgress(std::string_view title, std::string_view text, double fraction) override;
  void closeProgress() override;

 private:
  struct ControlEntry {
    QPointer<QWidget> widget;
    ControlKind kind = ControlKind::Label;
    int window = Window::None;
  };
  struct MenuItemEntry {
    QAction* action = nullptr;
    bool mainWindowOnly = false;  // a shortcut of Return alone
  };

  ToolkitWindow* findWindow(int window) const;
  const ControlEntry* find(int control) const;
  // dynamic_cast: the toolkit's own widget classes carry no meta-object of their own.
  template <typename W>
  W* widgetAs(int control) const {
    return dynamic_cast<W*>(controlWidget(control));
  }
  // Places a new control's widget in the window and registers it.
  void adopt(int window, int control, ControlKind kind, QWidget* widget, Rect r);
  // Releases what `control` held; returns the client area of `window`, or
  // nullptr when the window is not open.
  QWidget* prepareFor(int window, int control);
  void queue(const Event& event);
  Event take();  // the next queued event, which the queue must hold
  void queueUnlessRepeated(const Event& event);
  void onActivated(int window);
  void installMainWindowShortcuts();
  // Runs `change` as the program's change: the signals it raises queue nothing.
  void quietly(const std::function<void()>& change);

  std::map<int, QPointer<ToolkitWindow>> windows_;
  std::vector<int> activation_;  // open windows, the most recently active last
  std::map<int, ControlEntry> controls_;
  std::map<int, int> lastCreated_;  // window → number of its control created last
  std::map<int, QPointer<QButtonGroup>> optionGroups_;  // option control → its group
  std::vector<std::unique_ptr<QMenu>> menus_;
  std::vector<int> submenus_;  // indices into menus_ of menus that are not in the menu bar
  std::map<int, MenuItemEntry> menuItems_;
  std::vector<QPointer<QShortcut>> mainWindowShortcuts_;
  std::deque<Event> events_;
  std::deque<std::vector<std::string>> drops_;  // one per queued FilesDropped event
  std::vector<std::string> dropped_;
  std::vector<int> dropWindows_;
  QEventLoop* waiting_ = nullptr;
  int quiet_ = 0;
  std::function<void(int)> resizeHandler_;
  std::map<int, std::unique_ptr<QTimer>> timers_;
  // Watched descriptors; each is disabled while its event waits in the queue.
  std::map<int, std::unique_ptr<QSocketNotifier>> notifiers_;
  std::unique_ptr<InputGuard> inputGuard_;
  std::unique_ptr<FileDrops> fileDrops_;
  std::unique_ptr<QFileSystemWatcher> watcher_;
  std::unique_ptr<QProgressDialog> progress_;
  bool busy_ = false;
};

}  // namespace oz
