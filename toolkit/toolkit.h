// toolkit.h: everything the program's windows ask of a desktop GUI toolkit.
// Start here. The logic talks only through `Toolkit`; the desktop program
// passes the Qt implementation (qt/qt_toolkit.h), tests pass `FakeToolkit`
// (toolkit/fake_toolkit.h).
//
// Windows, controls and menu items are addressed by the numbers of ids.h.
// Strings are UTF-8. Opening a window or creating a control under a number
// already in use releases what that number held first. Every call comes from
// the one user-interface thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/ids.h"

namespace oz {

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect&) const = default;
};

// Components from 0 to 1; alpha is the opacity.
struct Colour {
  double red = 0;
  double green = 0;
  double blue = 0;
  double alpha = 1;
  bool operator==(const Colour&) const = default;
};

enum class Placement {
  CentredOnScreen,
  CentredOverActiveWindow,  // on the screen when no window is active
};

struct WindowStyle {
  bool closeButton = true;
  bool minimiseButton = true;
  bool resizable = false;  // a resizable window also has a zoom button
  Placement placement = Placement::CentredOnScreen;
  // Shows the program's menus on this window. There is one set of menus; on
  // platforms whose menu bar belongs to a window, each window that shows it
  // shows the same menus.
  bool menuBar = true;
  // Escape in the window asks to close it, as its close button does.
  bool closesWithEscape = false;
};

// A small fixed dialog over the window that opened it: a close button only,
// no menus, and Escape closes it.
inline constexpr WindowStyle kFixedDialogStyle{.closeButton = true,
                                               .minimiseButton = false,
                                               .resizable = false,
                                               .placement = Placement::CentredOverActiveWindow,
                                               .menuBar = false,
                                               .closesWithEscape = true};

enum class LabelAlign { Left, Centred };

enum class Orientation { Horizontal, Vertical };

// YesNoCancel asks before something that can still be called off: Escape
// and closing the box answer Cancel. In a YesNo box they answer No.
enum class MessageButtons { Ok, YesNo, YesNoCancel };

enum class EventKind {
  MenuItem,       // number = the menu item
  Control,        // number = the control: a click, a choice, a tick, a spin step
  TabChanged,     // number = the tab panel; read the selection when handling it
  TextChanged,    // number = the editor; a change made by the user only
  WindowClose,    // number = the window; the window stays open until closed
  FilesDropped,   // number = the window; droppedPaths() tells what was dropped
  FolderChanged,  // a watched folder gained, lost or renamed an entry; number = 0
  FilesChanged,   // a watched descriptor has news to read; number = the watch (Watch:: of ids.h)
  Timer,          // number = the timer (Timer:: of ids.h)
  PointerMoved,   // number = the canvas; `x`, `y` in its coordinates, -1 and -1 when it leaves
  Wheel,          // number = the canvas; `wheelSteps` notches, positive turned away from the user
};

// The keys a find field reports (see createFindField).
enum class FieldKey { None, Return, ShiftReturn, Escape };

struct Event {
  EventKind kind = EventKind::Control;
  int number = 0;
  int window = Window::None;  // where it happened; the active window for menu items
  int x = 0;                  // PointerMoved
  int y = 0;
  int wheelSteps = 0;                  // Wheel
  FieldKey fieldKey = FieldKey::None;  // Control of a find field: the key pressed
  bool operator==(const Event&) const = default;
};

// A stretch of an editor's text, counted in UTF-16 code units.
struct ColourSpan {
  int start = 0;
  int length = 0;
  Colour colour;
  bool operator==(const ColourSpan&) const = default;
};

// A stretch of an editor's text as byte offsets into its UTF-8 text (what
// text() gives); `length` 0 is the caret alone.
struct TextRange {
  size_t start = 0;
  size_t length = 0;
  bool operator==(const TextRange&) const = default;
};

// The colours of an editor's whole text. Applying one replaces the previous
// colouring; it changes no character, no selection, no edited mark and is no
// edit (no TextChanged event, nothing to undo).
struct EditorColouring {
  Colour text;                         // every character not in `foreground`
  std::vector<ColourSpan> foreground;  // text colours, later spans win
  std::vector<ColourSpan> background;  // shades drawn over the editor's background
  bool operator==(const EditorColouring&) const = default;
};

// What a canvas control shows: part of an RGBA image scaled into a
// rectangle, a checkerboard behind its transparent pixels, and outlined
// rectangles with a caption drawn over it. Outside `target` the canvas is
// the window's background.
struct CanvasPicture {
  int imageWidth = 0;
  int imageHeight = 0;
  // 4 bytes a pixel (red, green, blue, alpha), rows top first; shared so
  // that repainting costs no copy.
  std::shared_ptr<const std::vector<std::uint8_t>> rgba;
  Rect source;  // the part of the image drawn, in image pixels
  Rect target;  // where it is drawn, in the canvas's coordinates
  bool checkerboard = true;
  std::vector<Rect> outlines;  // in the canvas's coordinates
  int highlighted = -1;        // the index of the outline drawn stronger, or -1
  std::string caption;         // drawn in the top-left corner when not empty
  bool operator==(const CanvasPicture&) const = default;
};

class Toolkit {
 public:
  virtual ~Toolkit() = default;

  // --- Windows. `width` and `height` are the client (content) area.
  // Returns false when the window could not be opened.
  virtual bool openWindow(int window, std::string_view title, int width, int height,
                          const WindowStyle& style) = 0;
  virtual void closeWindow(int window) = 0;
  virtual bool isWindowOpen(int window) const = 0;
  virtual void hideZoomButton(int window) = 0;
  virtual int clientWidth(int window) const = 0;
  virtual int clientHeight(int window) const = 0;
  virtual void setMinimumSize(int window, int width, int height) = 0;
  // The window that has the keyboard (key window), or Window::None.
  virtual int activeWindow() const = 0;
  // The document-edited mark, shown in the title bar in the platform's way.
  virtual void setEdited(int window, bool edited) = 0;
  virtual bool isEdited(int window) const = 0;

  // --- Controls, created visible and enabled at `r` in the window's client area.
  virtual void createLabel(int window, int control, Rect r, std::string_view text,
                           LabelAlign align) = 0;
  virtual void createTextField(int window, int control, Rect r, std::string_view text) = 0;
  // A text field for a search text, which reports its keys: Return (with or
  // without Shift) and Escape each queue a Control event for it whose
  // `fieldKey` names the key. Typing in it raises no event.
  virtual void createFindField(int window, int control, Rect r) = 0;
  virtual void createButton(int window, int control, Rect r, std::string_view caption) = 0;
  virtual void createGroupFrame(int window, int control, Rect r, std::string_view title) = 0;
  // Option buttons created one right after another in a window form one
  // exclusive group: choosing one clears the others.
  virtual void createOption(int window, int control, Rect r, std::string_view caption) = 0;
  virtual void createCheckBox(int window, int control, Rect r, std::string_view caption) = 0;
  // A drop-down list the user cannot type into; starts empty.
  virtual void createList(int window, int control, Rect r) = 0;
  // A list that shows its entries one a row, scrolling when they do not fit;
  // the user selects one, which is a Control event. Entries, text and state
  // work as in a drop-down list. Starts empty, with no selection.
  virtual void createListBox(int window, int control, Rect r) = 0;
  // A number field with arrows; its text always shows its value in decimal
  // and typed text sets the value. Starts at `minimum`.
  virtual void createSpinField(int window, int control, Rect r, int minimum, int maximum) = 0;
  // Shows `text` in a spin field in place of its minimum, for a minimum that
  // stands for none chosen; empty shows the number again. Its text and state
  // are still the value, and typing a number still sets it.
  virtual void setMinimumText(int spinField, std::string_view text) = 0;
  // Shows the PNG scaled to `r`. Returns false when the bytes are no PNG.
  virtual bool createImageView(int window, int control, Rect r,
                               std::span<const std::uint8_t> png) = 0;
  // Read-only, selectable, wrapped formatted text; links open in the
  // desktop's browser. setText replaces the HTML.
  virtual void createRichText(int window, int control, Rect r, std::string_view html) = 0;
  virtual void createTabPanel(int window, int control, Rect r) = 0;
  // A plain-text editor inside tab `tab` of `panel`, `r` relative to the
  // tab's content area. No wrapping, scroll bars as needed, plain-text paste,
  // no quote substitution.
  virtual void createEditor(int panel, int tab, int control, Rect r) = 0;
  // A surface that shows a CanvasPicture (empty until painted) and reports
  // the pointer's moves over it (a move is not queued when the last queued
  // event is the same) and the wheel turned over it.
  virtual void createCanvas(int window, int control, Rect r) = 0;
  virtual void paintCanvas(int canvas, const CanvasPicture& picture) = 0;
  // A scroll bar over a length of which `page` shows at once (both 0 at
  // first): its state is the position, from 0 to length - page, or 0 when
  // all of it shows. The user's moves raise Control events; the program's
  // setState and setScrollRange raise none (the range keeps the position
  // within it).
  virtual void createScrollBar(int window, int control, Rect r, Orientation orientation) = 0;
  virtual void setScrollRange(int scrollBar, int length, int page) = 0;
  virtual void removeControl(int control) = 0;

  // Text: a label's or button's caption, a field's or editor's text, a
  // list's or list box's selected entry (empty when none), a spin field's value in
  // decimal, a tab panel's selected title; nothing for a scroll bar. Setting it is the
  // program's change, never an event.
  virtual std::string text(int control) const = 0;
  virtual void setText(int control, std::string_view text) = 0;
  // State: 1/0 for a check box's tick or whether an option is chosen, the
  // selected index of a list (-1 for none) or of a tab panel, a spin
  // field's value, a scroll bar's position. Setting it raises no Control event; a tab panel's
  // change of selection is always reported as TabChanged, also the program's.
  virtual int state(int control) const = 0;
  virtual void setState(int control, int state) = 0;
  virtual void addListEntry(int list, std::string_view entry) = 0;
  virtual void clearList(int list) = 0;

  virtual void setEnabled(int control, bool enabled) = 0;
  virtual bool isEnabled(int control) const = 0;
  virtual void setVisible(int control, bool visible) = 0;
  virtual bool isVisible(int control) const = 0;  // its own flag, not its window's
  virtual void setGeometry(int control, Rect r) = 0;
  virtual Rect geometry(int control) const = 0;
  virtual void focus(int control) = 0;
  // The text shown, as plain text and with its line breaks, while the pointer
  // rests on the control; empty for none.
  virtual void setToolTip(int control, std::string_view text) = 0;

  // --- Tab panels. Adding the first tab selects it; removing the selected
  // tab selects a neighbour and removes the editors inside it.
  virtual void addTab(int panel, std::string_view title) = 0;
  virtual void removeTab(int panel, int index) = 0;
  virtual int tabCount(int panel) const = 0;
  virtual std::string tabTitle(int panel, int index) const = 0;
  virtual void setTabTitle(int panel, int index, std::string_view title) = 0;
  // Size of a tab's content area.
  virtual int itemWidth(int panel) const = 0;
  virtual int itemHeight(int panel) const = 0;

  // --- Editors (besides text/setText/focus above).
  // Inserts at the caret, replacing the selection, exactly as if typed: it is
  // an edit and raises TextChanged.
  virtual void insertText(int editor, std::string_view text) = 0;
  // Falls back to the system's fixed-pitch font when `family` is missing.
  virtual void setEditorFont(int editor, std::string_view family, double points) = 0;
  virtual void setCaretColour(int editor, Colour colour) = 0;
  virtual void setBackgroundColour(int editor, Colour colour) = 0;
  virtual void applyColouring(int editor, const EditorColouring& colouring) = 0;
  // The selection, or the caret as an empty range.
  virtual TextRange selection(int editor) const = 0;
  // Selects `range` (which must lie within the text and on character
  // boundaries) with the caret at its end and scrolls it into view. No edit:
  // no TextChanged event, nothing to undo.
  virtual void selectText(int editor, TextRange range) = 0;

  // --- Menus. One menu bar; menus in the order added. `text` is the label,
  // optionally followed by a tab and a shortcut description (toolkit/shortcut.h).
  // Returns the new menu's index.
  virtual int addMenu(std::string_view title) = 0;
  virtual void addMenuItem(int menu, int item, std::string_view text, bool enabled) = 0;
  // An item with a tick, clear at first. Choosing it toggles the tick and
  // queues its MenuItem event; the program's setMenuItemChecked raises none.
  virtual void addCheckableMenuItem(int menu, int item, std::string_view text, bool enabled) = 0;
  virtual void addMenuSeparator(int menu) = 0;
  // Adds a submenu titled `title` at the end of `menu` and returns its index,
  // which takes items and separators as a menu does.
  virtual int addSubmenu(int menu, std::string_view title) = 0;
  // Removes every item and separator of `menu`; their numbers are free again.
  virtual void clearMenu(int menu) = 0;
  virtual void setMenuItemEnabled(int item, bool enabled) = 0;
  virtual bool isMenuItemEnabled(int item) const = 0;
  // The tick of an item added checkable.
  virtual void setMenuItemChecked(int item, bool checked) = 0;
  virtual bool isMenuItemChecked(int item) const = 0;

  // --- Events.
  // Blocks until an event is there and returns it.
  virtual Event waitEvent() = 0;
  // Returns an event when one is there, without waiting.
  virtual std::optional<Event> pollEvent() = 0;
  // Queues a Control event for `control` (of its window), handled on a later
  // turn exactly as a click. Not queued when the last queued event is
  // identical.
  virtual void postControlEvent(int control) = 0;
  // Called, outside the event queue, whenever a window's client area changes size.
  virtual void setResizeHandler(std::function<void(int window)> handler) = 0;
  // Lets files and folders be dropped anywhere on `window`, also on its
  // fields; each drop of local files is reported as one FilesDropped event.
  virtual void acceptFileDrops(int window) = 0;
  // Watches `folder` from now on: every change of its entries (made by any
  // program) queues a FolderChanged event, once while it is still queued. A
  // path that names no folder now (a file, nothing) is not watched, silently.
  virtual void watchFolder(std::string_view folder) = 0;
  // The local paths of the FilesDropped event returned last, in the order
  // dropped, as the desktop gives them (a folder may lack its final "/").
  virtual std::vector<std::string> droppedPaths() const = 0;
  // Queues a Timer event after `milliseconds`, and again every `milliseconds`
  // when `repeating`, until stopped; starting a running timer restarts it. A
  // Timer event is not queued when the last queued event is identical.
  virtual void startTimer(int timer, int milliseconds, bool repeating) = 0;
  virtual void stopTimer(int timer) = 0;
  // Watches the open `descriptor` (a FolderWatch's; it stays the caller's)
  // until stopWatchingDescriptor: while it has bytes to read, a FilesChanged
  // event numbered `watch` is queued, one at a time. Its handler reads them;
  // what is still unread then is reported again. Once stopped, no event of
  // the watch is handed out, not even one already queued.
  virtual void watchDescriptor(int watch, int descriptor) = 0;
  virtual void stopWatchingDescriptor(int watch) = 0;

  // --- Modal requests.
  // `title` is the bold heading, `text` stands under it; a carriage return
  // in `text` breaks the line. Returns a MessageResult.
  virtual int messageBox(std::string_view title, std::string_view text, MessageButtons buttons) = 0;
  // An OK box like messageBox's with `details` under the text, set apart as
  // the platform sets apart an explanation: what was found, so that the user
  // knows what to change. An empty `details` gives the plain box.
  virtual void messageBoxWithDetails(std::string_view title, std::string_view text,
                                     std::string_view details) = 0;
  // Both requesters open in `startFolder` when it names a folder, otherwise
  // where the toolkit chooses.
  // The chosen folder ending in "/", or empty on cancel.
  virtual std::string chooseFolder(std::string_view title, std::string_view startFolder) = 0;
  // `filter` is "description|pattern", e.g. "PNG (*.png)|*.png". The chosen
  // path, or empty on cancel.
  virtual std::string chooseSaveFile(std::string_view title, std::string_view proposedName,
                                     std::string_view filter, std::string_view startFolder) = 0;

  // --- Desktop.
  // Replaces the clipboard's contents with one plain-text string.
  virtual void setClipboardText(std::string_view text) = 0;
  // Starts `program` with `arguments`, each reaching it byte for byte as one
  // argument (no shell, no splitting, no quoting); no working directory, not
  // waited for, outcome ignored.
  virtual void launch(std::string_view program, const std::vector<std::string>& arguments) = 0;

  // --- Long commands. While busy, the cursor shows it and the windows take
  // no input; events that arrive meanwhile (close requests) stay queued.
  virtual void setBusy(bool busy) = 0;
  // Shows or updates a modal progress dialog with a Cancel button and
  // repaints it at once; `fraction` from 0 to 1. Returns false once the user
  // has pressed Cancel (the dialog then goes away), until closeProgress.
  virtual bool showProgress(std::string_view title, std::string_view text, double fraction) = 0;
  virtual void closeProgress() = 0;
};

}  // namespace oz
