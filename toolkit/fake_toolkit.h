// FakeToolkit: an in-memory Toolkit for tests of the windows' logic.
//
// It keeps a model of every window, control and menu item that tests can
// read, answers message boxes and requesters from a script the test writes
// beforehand, records what was shown, put on the clipboard and launched, and
// offers the user's actions (click, type, choose, close, resize), which change
// the model and queue the event the real toolkit would queue.
//
// Mistakes are reported to the failure reporter given at construction (in a
// GoogleTest: [](const std::string& m) { ADD_FAILURE() << m; }): a question
// or requester with no scripted answer left, waiting on an empty event queue,
// a user action on a disabled, hidden or missing control, text that is not
// UTF-8, scripted answers left unused at destruction. The call then goes on with a harmless value
// (No, cancel, the Quit menu item) so the test ends instead of hanging.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "toolkit/control_kind.h"
#include "toolkit/toolkit.h"

namespace oz {

struct FakeControl {
  ControlKind kind = ControlKind::Label;
  int window = Window::None;
  Rect rect;
  std::string text;  // caption, field or editor text, rich-text HTML
  std::string toolTip;
  LabelAlign align = LabelAlign::Left;
  bool enabled = true;
  bool visible = true;
  int state = 0;
  bool findField = false;            // a text field that reports its keys
  std::vector<std::string> entries;  // list entries
  std::vector<std::string> tabs;     // tab titles
  int minimum = 0;                   // spin field and scroll bar range
  std::string minimumText;           // spin field: shown at its minimum in place of the number
  int maximum = 0;
  int page = 0;  // scroll bar: how much of its length shows
  Orientation orientation = Orientation::Horizontal;
  int optionGroup = -1;  // options sharing a group are exclusive
  size_t pngBytes = 0;   // image view
  // Editors.
  int panel = -1;
  int tab = -1;
  size_t selectionStart = 0;  // caret and selection, as byte offsets into text
  size_t selectionEnd = 0;
  int selectionsShown = 0;  // selectText calls, each scrolling the selection into view
  std::string fontFamily;
  double fontPoints = 0;
  Colour caretColour;
  Colour backgroundColour;
  EditorColouring colouring;
  int colouringsApplied = 0;
  // Canvases.
  CanvasPicture picture;
  int paintings = 0;
};

struct FakeTimer {
  int milliseconds = 0;
  bool repeating = false;
};

struct FakeWindow {
  std::string title;
  int width = 0;
  int height = 0;
  WindowStyle style;
  bool zoomHidden = false;
  int minimumWidth = 0;
  int minimumHeight = 0;
  bool edited = false;
};

struct FakeMenuItem {
  int menu = 0;
  std::string text;
  bool enabled = false;
  bool checkable = false;
  bool checked = false;
};

struct FakeMenu {
  std::string title;
  std::vector<int> items;  // item numbers in order; kSeparator for a separator,
                           // kSubmenu - index for a submenu
  int parent = -1;         // the menu a submenu belongs to
  static constexpr int kSeparator = -1000;
  static constexpr int kSubmenu = -2000;
};

struct ShownMessage {
  std::string title;
  std::string text;
  MessageButtons buttons = MessageButtons::Ok;
  int answer = MessageResult::Ok;
  std::string details = {};  // messageBoxWithDetails only
};

enum class RequesterKind { Folder, SaveFile };

struct ShownRequester {
  RequesterKind kind = RequesterKind::Folder;
  std::string title;
  std::string proposedName;  // save requester only
  std::string filter;        // save requester only
  std::string startFolder;
  std::string answer;
};

struct Launched {
  std::string program;
  std::vector<std::string> arguments;
};

struct ProgressStep {
  std::string title;
  std::string text;
  double fraction = 0;
};

class FakeToolkit : public Toolkit {
 public:
  using FailureReporter = std::function<void(const std::string&)>;

  explicit FakeToolkit(FailureReporter reportFailure);
  ~FakeToolkit() override;

  // --- The script of answers, used in order.
  void answerMessage(int result);         // for questions; OK boxes need none
  void answerFolder(std::string folder);  // empty for cancel
  void answerSaveFile(std::string path);  // empty for cancel
  size_t unusedAnswers() const { return answers_.size(); }
  // Presses the progress dialog's Cancel while it shows the first step for
  // which `when` is true: that showProgress and the later ones answer false
  // until closeProgress. A press never made is reported at destruction.
  void pressProgressCancelWhen(std::function<bool(const ProgressStep&)> when);

  // --- The user's actions. Each makes the control's window the active one.
  void activate(int window);
  // A button press, an option chosen, a check box's tick toggled.
  void click(int control);
  void chooseListEntry(int list, int index);
  // Types a value into a spin field (or steps it with the arrows).
  void setSpinValue(int spin, int value);
  // A text field: replaces its text (no event). An editor: inserts at the
  // caret, replacing the selection (TextChanged). A spin field: the text sets
  // the value (Control).
  void type(int control, std::string_view text);
  // Selects bytes [start, start + length) of an editor's text; typing "" then deletes them.
  void selectInEditor(int editor, size_t start, size_t length);
  void selectTab(int panel, int index);
  // A menu item chosen; a checkable one toggles its tick.
  void chooseMenuItem(int item);
  void requestClose(int window);
  // The Escape key in `window`: a close request where its style says so.
  void pressEscape(int window);
  // Return, Shift+Return or Escape pressed in a find field.
  void pressFieldKey(int field, FieldKey key);
  void resize(int window, int width, int height);
  // Another program changes the entries of `folder`, which must be watched.
  void changeFolder(std::string_view folder);
  // Drops `paths` on `window`, which must accept drops.
  void dropFiles(int window, std::vector<std::string> paths);
  // The pointer moved to (x, y) over a canvas; (-1, -1) when it left it.
  void movePointer(int canvas, int x, int y);
  void turnWheel(int canvas, int steps);
  // Drags a scroll bar to `position`, kept within its range; an event only
  // when the position changes.
  void scroll(int scrollBar, int position);
  // The timer's time has come: queues its event; a single-shot timer stops.
  void fireTimer(int timer);

  // --- What tests read.
  bool hasControl(int control) const { return controls_.count(control) != 0; }
  // The running timers.
  const std::map<int, FakeTimer>& timers() const { return timers_; }
  const FakeControl& control(int control) const;
  // What a spin field shows: its minimum text at its minimum, else its value.
  std::string shownText(int spinField) const;
  const FakeWindow& window(int window) const;
  const FakeMenuItem& menuItem(int item) const;
  const std::vector<FakeMenu>& menus() const { return menus_; }
  const std::deque<Event>& queuedEvents() const { return events_; }
  const std::vector<ShownMessage>& messages() const { return messages_; }
  const std::vector<ShownRequester>& requesters() const { return requesters_; }
  const std::vector<std::string>& clipboardHistory() const { return clipboard_; }
  const std::vector<Launched>& launches() const { return launches_; }
  const std::vector<ProgressStep>& progressSteps() const { return progress_; }
  // The control given the keyboard focus last, or -1.
  int focusedControl() const { return focused_; }
  bool busy() const { return busy_; }
  bool progressShown() const { return progressShown_; }
  // Window numbers in the order they were opened (a reopened one counts again).
  const std::vector<int>& openedWindows() const { return opened_; }

  // --- Toolkit.
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
  // Real descriptors, as the program's are: each poll and wait looks at them.
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

  // The tab panel's content area is its rectangle less this much.
  static constexpr int kTabBarHeight = 30;
  static constexpr int kTabBorder = 4;

 private:
  struct Answer {
    enum class Kind { Message, Folder, SaveFile } kind;
    int result = 0;
    std::string path;
  };

  FakeControl* find(int control, const char* operation);
  const FakeControl* find(int control, const char* operation) const;
  FakeWindow* findWindow(int window, const char* operation);
  const FakeWindow* findWindow(int window, const char* operation) const;
  FakeControl* create(int window, int control, ControlKind kind, Rect r, std::string_view text);
  // The control a user may act on, or nullptr after reporting why not.
  FakeControl* usable(int control, const char* action);
  FakeControl* usableCanvas(int canvas, const char* action);
  void queue(const Event& event);
  Event take();  // the next queued event, which the queue must hold
  void queueUnlessRepeated(const Event& event);
  // Queues a FilesChanged event for each watched descriptor with bytes to
  // read within `milliseconds`, unless one is queued already.
  void queueReadableDescriptors(int milliseconds);
  std::optional<Answer> nextAnswer(Answer::Kind kind, const char* what);
  void selectTabAndNotify(int panel, FakeControl& tabs, int index);
  void removeEditorsOfTab(int panel, int tab);

  FailureReporter reportFailure_;
  std::map<int, FakeWindow> windows_;
  std::vector<int> activation_;  // open windows, the active one last
  std::map<int, FakeControl> controls_;
  std::map<int, int> lastCreated_;  // window → number of the control created last
  int nextOptionGroup_ = 0;
  std::vector<FakeMenu> menus_;
  std::map<int, FakeMenuItem> menuItems_;
  std::deque<Event> events_;
  std::deque<std::vector<std::string>> drops_;  // one per queued FilesDropped event
  std::vector<std::string> dropped_;
  std::vector<int> dropWindows_;
  std::vector<std::string> watched_;
  std::function<void(int)> resizeHandler_;
  std::map<int, FakeTimer> timers_;
  std::map<int, int> descriptors_;  // watch → descriptor
  std::deque<Answer> answers_;
  std::vector<ShownMessage> messages_;
  std::vector<ShownRequester> requesters_;
  std::vector<std::string> clipboard_;
  std::vector<Launched> launches_;
  std::vector<ProgressStep> progress_;
  std::vector<int> opened_;
  int focused_ = -1;
  bool busy_ = false;
  bool progressShown_ = false;
  std::function<bool(const ProgressStep&)> cancelWhen_;
  bool progressCancelled_ = false;  // until closeProgress
  FakeControl missingControl_;
  FakeWindow missingWindow_;
  FakeMenuItem missingItem_;
};

}  // namespace oz
