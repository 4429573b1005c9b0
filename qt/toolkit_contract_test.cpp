// The behaviour the windows' logic relies on, checked against both toolkits:
// the fake the logic's tests use and the Qt toolkit the program runs on
// (offscreen), so the fake cannot drift from the real thing. Each toolkit
// comes with a driver that performs the user's actions its own way.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include "qt/canvas_widget.h"
#include "qt/qt_test_application.h"
#include "qt/qt_toolkit.h"
#include "toolkit/fake_toolkit.h"

namespace oz {
namespace {

class FakeDriver {
 public:
  FakeDriver() : tk_([](const std::string& m) { ADD_FAILURE() << m; }) {}
  Toolkit& toolkit() { return tk_; }

  bool hasControl(int control) const { return tk_.hasControl(control); }
  void click(int control) { tk_.click(control); }
  void chooseListEntry(int list, int index) { tk_.chooseListEntry(list, index); }
  // Replaces a spin field's text by typing, or types into an editor.
  void type(int control, std::string_view text) { tk_.type(control, text); }
  void selectInEditor(int editor, int start, int length) {
    tk_.selectInEditor(editor, start, length);
  }
  void requestClose(int window) { tk_.requestClose(window); }
  void chooseMenuItem(int item) { tk_.chooseMenuItem(item); }
  void pressFieldKey(int field, FieldKey key) { tk_.pressFieldKey(field, key); }
  void resize(int window, int width, int height) { tk_.resize(window, width, height); }
  // The pointer over a canvas, (-1, -1) for leaving it; the wheel turned.
  void movePointer(int canvas, int x, int y) { tk_.movePointer(canvas, x, y); }
  void turnWheel(int canvas, int steps) { tk_.turnWheel(canvas, steps); }
  void scroll(int bar, int position) { tk_.scroll(bar, position); }
  // Lets a running timer's time come, long enough for several intervals.
  void letTimersRun(int timer) {
    if (tk_.timers().count(timer)) tk_.fireTimer(timer);
  }
  const CanvasPicture& shownPicture(int canvas) const { return tk_.control(canvas).picture; }
  std::string toolTip(int control) const { return tk_.control(control).toolTip; }
  std::string shownText(int spinField) const { return tk_.shownText(spinField); }
  // The user's answer to the next message box.
  void willAnswer(MessageButtons buttons, int result) {
    if (buttons != MessageButtons::Ok) tk_.answerMessage(result);
  }

 private:
  FakeToolkit tk_;
};

class QtDriver {
 public:
  Toolkit& toolkit() { return tk_; }

  bool hasControl(int control) const { return tk_.controlWidget(control) != nullptr; }
  void click(int control) {
    QTest::mouseClick(qobject_cast<QAbstractButton*>(tk_.controlWidget(control)), Qt::LeftButton);
  }
  // Steps there with the arrow keys, as a user might.
  void chooseListEntry(int list, int index) {
    auto* combo = qobject_cast<QComboBox*>(tk_.controlWidget(list));
    combo->setFocus();
    while (combo->currentIndex() < index) QTest::keyClick(combo, Qt::Key_Down);
    while (combo->currentIndex() > index) QTest::keyClick(combo, Qt::Key_Up);
  }
  void type(int control, std::string_view text) {
    QWidget* w = tk_.controlWidget(control);
    if (auto* spin = qobject_cast<QSpinBox*>(w)) spin->selectAll();
    QTest::keyClicks(w, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
  void selectInEditor(int editor, int start, int length) {
    auto* edit = qobject_cast<QPlainTextEdit*>(tk_.controlWidget(editor));
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
  }
  void requestClose(int window) { tk_.windowWidget(window)->close(); }
  void chooseMenuItem(int item) { tk_.menuItemAction(item)->trigger(); }
  void pressFieldKey(int field, FieldKey key) {
    QWidget* w = tk_.controlWidget(field);
    w->setFocus();
    if (key == FieldKey::Escape) {
      QTest::keyClick(w, Qt::Key_Escape);
    } else {
      QTest::keyClick(w, Qt::Key_Return,
                      key == FieldKey::ShiftReturn ? Qt::ShiftModifier : Qt::NoModifier);
    }
  }
  void resize(int window, int width, int height) {
    QWidget* w = tk_.windowWidget(window);
    w->resize(w->size() +
              QSize(width - tk_.clientWidth(window), height - tk_.clientHeight(window)));
  }
  // Sent to the widget as the window system would, so that nothing else
  // (the real pointer's place) adds events.
  void movePointer(int canvas, int x, int y) {
    QWidget* w = tk_.controlWidget(canvas);
    if (x < 0) {
      QEvent leave(QEvent::Leave);
      QApplication::sendEvent(w, &leave);
      return;
    }
    const QPointF at(x, y);
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
  }
  void turnWheel(int canvas, int steps) {
    QWidget* w = tk_.controlWidget(canvas);
    const QPointF at(1, 1);
    QWheelEvent wheel(at, w->mapToGlobal(at), QPoint(), QPoint(0, steps * 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &wheel);
  }
  void scroll(int bar, int position) {
    qobject_cast<QScrollBar*>(tk_.controlWidget(bar))->setSliderPosition(position);
  }
  void letTimersRun(int) { QTest::qWait(100); }
  const CanvasPicture& shownPicture(int canvas) const {
    return static_cast<CanvasWidget*>(tk_.controlWidget(canvas))->picture();
  }
  // What the tip says, read as Qt shows it.
  std::string toolTip(int control) const {
    QTextDocument shown;
    shown.setHtml(tk_.controlWidget(control)->toolTip());
    return shown.toPlainText().toStdString();
  }
  std::string shownText(int spinField) const {
    return qobject_cast<QSpinBox*>(tk_.controlWidget(spinField))->text().toStdString();
  }
  void willAnswer(MessageButtons, int result) {
    QTimer::singleShot(0, [result] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      const QMessageBox::StandardButton button = result == MessageResult::Yes  ? QMessageBox::Yes
                                                 : result == MessageResult::No ? QMessageBox::No
                                                 : result == MessageResult::Cancel
                                                     ? QMessageBox::Cancel
                                                     : QMessageBox::Ok;
      box->button(button)->click();
    });
  }

 private:
  QApplication& application_ = testing::qtTestApplication();  // before the toolkit
  QtToolkit tk_;
};

template <typename Driver>
class ToolkitContractTest : public ::testing::Test {
 protected:
  ToolkitContractTest() : tk_(user_.toolkit()) {
    tk_.openWindow(Window::Main, "Orvane Zozivi", 340, 425, {});
  }

  std::vector<Event> drain() {
    std::vector<Event> events;
    while (std::optional<Event> e = tk_.pollEvent()) events.push_back(*e);
    return events;
  }

  // Opens the Script Editor with a tab panel holding one tab and its editor.
  void openEditorWindow() {
    ASSERT_TRUE(
        tk_.openWindow(Window::ScriptEditor, "Script Editor", 720, 540, {.resizable = true}));
    tk_.createTabPanel(Window::ScriptEditor, Control::TabPanel, {5, 40, 555, 465});
    tk_.addTab(Control::TabPanel, "a");
    tk_.createEditor(Control::TabPanel, 0, Control::FirstEditor, {0, 0, 500, 400});
  }

  Driver user_;
  Toolkit& tk_;
};

struct ToolkitName {
  template <typename Driver>
  static std::string GetName(int) {
    return std::is_same_v<Driver, FakeDriver> ? "Fake" : "Qt";
  }
};

using Drivers = ::testing::Types<FakeDriver, QtDriver>;
TYPED_TEST_SUITE(ToolkitContractTest, Drivers, ToolkitName);

TYPED_TEST(ToolkitContractTest, OptionsCreatedInARowAreOneExclusiveGroup) {
  Toolkit& tk = this->tk_;
  tk.createOption(Window::Main, Control::Strip, {20, 96, 60, 20}, "Strip");
  tk.createOption(Window::Main, Control::Sheet, {90, 96, 60, 20}, "Sheet");
  tk.createGroupFrame(Window::Main, Control::BackgroundFrame, {10, 185, 320, 50}, "Background");
  tk.createOption(Window::Main, Control::Pink, {62, 207, 120, 20}, "RGB 255 0 255");
  tk.createOption(Window::Main, Control::Black, {192, 207, 90, 20}, "RGB 0 0 0");
  tk.setState(Control::Sheet, 1);
  tk.setState(Control::Pink, 1);
  tk.setState(Control::Black, 1);
  EXPECT_EQ(tk.state(Control::Pink), 0);
  EXPECT_TRUE(this->drain().empty());  // the program's choices raise no events

  this->user_.click(Control::Strip);
  EXPECT_EQ(tk.state(Control::Strip), 1);
  EXPECT_EQ(tk.state(Control::Sheet), 0);
  EXPECT_EQ(tk.state(Control::Black), 1);  // the other group keeps its choice
  EXPECT_EQ(this->drain(),
            (std::vector<Event>{{EventKind::Control, Control::Strip, Window::Main}}));

  tk.setState(Control::Strip, 0);  // the program may leave a group with no choice
  EXPECT_EQ(tk.state(Control::Strip), 0);
  this->user_.click(Control::Sheet);
  this->user_.click(Control::Strip);
  EXPECT_EQ(tk.state(Control::Sheet), 0);  // and the group is exclusive again
}

TYPED_TEST(ToolkitContractTest, RepeatedPostedEventsQueueOnceButRepeatedClicksDoNot) {
  Toolkit& tk = this->tk_;
  tk.createButton(Window::Main, Control::Create, {100, 390, 140, 25}, "Create");
  tk.createButton(Window::Main, Control::ImageFolderButton, {300, 10, 34, 22}, "...");
  tk.postControlEvent(Control::Create);
  tk.postControlEvent(Control::Create);
  tk.postControlEvent(Control::ImageFolderButton);
  tk.postControlEvent(Control::Create);
  this->user_.click(Control::Create);
  this->user_.click(Control::Create);
  const Event create{EventKind::Control, Control::Create, Window::Main};
  const Event folder{EventKind::Control, Control::ImageFolderButton, Window::Main};
  EXPECT_EQ(tk.waitEvent(), create);
  EXPECT_EQ(this->drain(), (std::vector<Event>{folder, create, create, create}));
}

TYPED_TEST(ToolkitContractTest, ProgramChangesRaiseNoEventsButUserChoicesDo) {
  Toolkit& tk = this->tk_;
  tk.createList(Window::Main, Control::DepthList, {70, 150, 100, 22});
  for (const char* entry : {"32-bit", "24-bit", "8-bit"})
    tk.addListEntry(Control::DepthList, entry);
  EXPECT_EQ(tk.state(Control::DepthList), -1);
  tk.setState(Control::DepthList, 1);
  EXPECT_EQ(tk.text(Control::DepthList), "24-bit");
  tk.createSpinField(Window::Main, Control::SpriteNumber, {255, 260, 70, 22}, 0, 9999);
  tk.setState(Control::SpriteNumber, 41);
  EXPECT_EQ(tk.text(Control::SpriteNumber), "41");
  tk.setState(Control::SpriteNumber, 12345);
  EXPECT_EQ(tk.state(Control::SpriteNumber), 9999);
  tk.setText(Control::SpriteNumber, "77");
  EXPECT_EQ(tk.state(Control::SpriteNumber), 77);
  tk.setText(Control::SpriteNumber, "7x");
  EXPECT_EQ(tk.state(Control::SpriteNumber), 77);
  tk.setMinimumText(Control::SpriteNumber, "None");
  EXPECT_EQ(this->user_.shownText(Control::SpriteNumber), "77");
  tk.setState(Control::SpriteNumber, 0);
  EXPECT_EQ(this->user_.shownText(Control::SpriteNumber), "None");  // in place of the minimum
  EXPECT_EQ(tk.text(Control::SpriteNumber), "0");
  EXPECT_TRUE(this->drain().empty());

  this->user_.chooseListEntry(Control::DepthList, 2);
  EXPECT_EQ(tk.text(Control::DepthList), "8-bit");
  this->user_.type(Control::SpriteNumber, "7");  // typed text sets the value
  EXPECT_EQ(tk.state(Control::SpriteNumber), 7);
  EXPECT_EQ(tk.text(Control::SpriteNumber), "7");
  EXPECT_EQ(this->user_.shownText(Control::SpriteNumber), "7");
  EXPECT_EQ(this->drain(),
            (std::vector<Event>{{EventKind::Control, Control::DepthList, Window::Main},
                                {EventKind::Control, Control::SpriteNumber, Window::Main}}));

  tk.clearList(Control::DepthList);
  EXPECT_EQ(tk.state(Control::DepthList), -1);
  EXPECT_EQ(tk.text(Control::DepthList), "");
}

TYPED_TEST(ToolkitContractTest, InsertingTextReplacesTheSelectionAndIsAnEdit) {
  Toolkit& tk = this->tk_;
  this->openEditorWindow();
  tk.setText(Control::FirstEditor, "abc");
  tk.insertText(Control::FirstEditor, "X");  // a loaded text has the caret at its start
  EXPECT_EQ(tk.text(Control::FirstEditor), "Xabc");
  tk.setText(Control::FirstEditor, "ov.Repeat\nov.ImageX\n");
  this->drain();

  this->user_.selectInEditor(Control::FirstEditor, 10, 9);
  tk.insertText(Control::FirstEditor, "ov.Extension = ");
  tk.insertText(Control::FirstEditor, "\".txt\"");
  EXPECT_EQ(tk.text(Control::FirstEditor), "ov.Repeat\nov.Extension = \".txt\"\n");
  // Edits in a row of one editor are one notification.
  const Event changed{EventKind::TextChanged, Control::FirstEditor, Window::ScriptEditor};
  EXPECT_EQ(this->drain(), std::vector<Event>{changed});

  this->user_.selectInEditor(Control::FirstEditor, 0, 9);
  this->user_.type(Control::FirstEditor, "ov.Until");
  EXPECT_EQ(tk.text(Control::FirstEditor), "ov.Until\nov.Extension = \".txt\"\n");
  EXPECT_EQ(this->drain(), std::vector<Event>{changed});

  tk.applyColouring(Control::FirstEditor, {{1, 1, 1, 1}, {{0, 8, {1, 0, 0, 1}}}, {}});
  EXPECT_TRUE(this->drain().empty());  // colouring is no edit
}

// Selections are byte ranges of the UTF-8 text whatever the characters, and
// the program's selecting is no edit; a find field reports its keys.
TYPED_TEST(ToolkitContractTest, SelectingIsNoEditAndFindFieldsReportTheirKeys) {
  Toolkit& tk = this->tk_;
  this->openEditorWindow();
  tk.setText(Control::FirstEditor, "\xC3\xA9\xF0\x9F\x98\x80 ov.ImageX\nb");
  this->drain();
  tk.selectText(Control::FirstEditor, {7, 9});
  EXPECT_EQ(tk.selection(Control::FirstEditor), (TextRange{7, 9}));
  tk.selectText(Control::FirstEditor, {17, 0});
  EXPECT_EQ(tk.selection(Control::FirstEditor), (TextRange{17, 0}));
  EXPECT_TRUE(this->drain().empty());
  this->user_.type(Control::FirstEditor, "X");  // typing goes where the caret was put
  EXPECT_EQ(tk.text(Control::FirstEditor), "\xC3\xA9\xF0\x9F\x98\x80 ov.ImageX\nXb");
  this->drain();

  tk.createFindField(Window::ScriptEditor, Control::FindField, {330, 15, 150, 20});
  this->user_.type(Control::FindField, "ov");
  EXPECT_EQ(tk.text(Control::FindField), "ov");
  EXPECT_TRUE(this->drain().empty());  // typing in it is no event
  std::vector<Event> expected;
  for (const FieldKey key : {FieldKey::Return, FieldKey::ShiftReturn, FieldKey::Escape}) {
    this->user_.pressFieldKey(Control::FindField, key);
    Event event{EventKind::Control, Control::FindField, Window::ScriptEditor};
    event.fieldKey = key;
    expected.push_back(event);
  }
  EXPECT_EQ(this->drain(), expected);
  EXPECT_TRUE(tk.isWindowOpen(Window::ScriptEditor));  // Escape there closes nothing
}

TYPED_TEST(ToolkitContractTest, TabsReportEverySelectionChangeAndTakeTheirEditorsAlong) {
  Toolkit& tk = this->tk_;
  this->openEditorWindow();
  const Event changed{EventKind::TabChanged, Control::TabPanel, Window::ScriptEditor};
  EXPECT_EQ(this->drain(), std::vector<Event>{changed});  // the first tab was selected
  for (const char* title : {"b", "c"}) {
    tk.addTab(Control::TabPanel, title);
    tk.createEditor(Control::TabPanel, tk.tabCount(Control::TabPanel) - 1,
                    Control::FirstFree + tk.tabCount(Control::TabPanel), {0, 0, 10, 10});
  }
  EXPECT_EQ(tk.tabTitle(Control::TabPanel, 1), "b");
  EXPECT_TRUE(this->drain().empty());  // adding more tabs keeps the selection
  tk.setState(Control::TabPanel, 2);
  tk.setState(Control::TabPanel, 2);
  EXPECT_EQ(this->drain(), std::vector<Event>{changed});

  tk.removeTab(Control::TabPanel, 2);  // the last, selected: its left neighbour follows
  EXPECT_EQ(tk.text(Control::TabPanel), "b");
  EXPECT_FALSE(this->user_.hasControl(Control::FirstFree + 3));
  EXPECT_TRUE(this->user_.hasControl(Control::FirstFree + 2));
  EXPECT_EQ(this->drain(), std::vector<Event>{changed});

  tk.removeTab(Control::TabPanel, 0);  // before the selection: same tab, new index
  EXPECT_EQ(tk.state(Control::TabPanel), 0);
  EXPECT_EQ(tk.text(Control::TabPanel), "b");
  EXPECT_FALSE(this->user_.hasControl(Control::FirstEditor));
  EXPECT_EQ(this->drain(), std::vector<Event>{changed});

  tk.addTab(Control::TabPanel, "d");
  tk.removeTab(Control::TabPanel, 1);  // after the selection
  EXPECT_TRUE(this->drain().empty());
}

TYPED_TEST(ToolkitContractTest,
           ReopeningReleasesControlsAndOnlyTheProgramClosesAWindowAndReturnsTheKeyboard) {
  Toolkit& tk = this->tk_;
  const WindowStyle over{.placement = Placement::CentredOverActiveWindow, .menuBar = false};
  tk.openWindow(Window::About, "", 340, 170, over);
  tk.createLabel(Window::About, Control::AboutName, {180, 20, 140, 20}, "Orvane Zozivi",
                 LabelAlign::Centred);
  EXPECT_EQ(tk.activeWindow(), Window::About);
  tk.openWindow(Window::About, "", 340, 170, over);
  EXPECT_FALSE(this->user_.hasControl(Control::AboutName));
  EXPECT_EQ(tk.activeWindow(), Window::About);
  tk.closeWindow(Window::About);
  EXPECT_EQ(tk.activeWindow(), Window::Main);

  // The user's close button only asks; the program closes.
  this->user_.requestClose(Window::Main);
  EXPECT_TRUE(tk.isWindowOpen(Window::Main));
  EXPECT_EQ(this->drain(),
            (std::vector<Event>{{EventKind::WindowClose, Window::Main, Window::Main}}));
  tk.closeWindow(Window::Main);
  EXPECT_FALSE(tk.isWindowOpen(Window::Main));
}

TYPED_TEST(ToolkitContractTest, ResizingReportsTheClientSizeAndKeepsTheMinimum) {
  Toolkit& tk = this->tk_;
  tk.openWindow(Window::Help, "Help", 1024, 620, {.resizable = true});
  tk.setMinimumSize(Window::Help, 100, 100);
  std::vector<int> resized;
  tk.setResizeHandler([&](int window) { resized.push_back(window); });
  this->user_.resize(Window::Help, 50, 150);
  EXPECT_EQ(tk.clientWidth(Window::Help), 100);
  EXPECT_EQ(tk.clientHeight(Window::Help), 150);
  EXPECT_EQ(resized, std::vector<int>{Window::Help});
  EXPECT_TRUE(this->drain().empty());  // outside the event queue
}

TYPED_TEST(ToolkitContractTest, MessageBoxesReturnTheUsersAnswer) {
  const struct {
    MessageButtons buttons;
    int answer;
  } cases[] = {
      {MessageButtons::Ok, MessageResult::Ok},
      {MessageButtons::YesNo, MessageResult::Yes},
      {MessageButtons::YesNo, MessageResult::No},
      {MessageButtons::YesNoCancel, MessageResult::Yes},
      {MessageButtons::YesNoCancel, MessageResult::No},
      {MessageButtons::YesNoCancel, MessageResult::Cancel},
  };
  for (const auto& c : cases) {
    this->user_.willAnswer(c.buttons, c.answer);
    EXPECT_EQ(this->tk_.messageBox("Save Script?", "Modified.", c.buttons), c.answer);
  }
}

// A canvas takes the size it is given and shows the picture it is handed,
// and painting is no event.
TYPED_TEST(ToolkitContractTest, ACanvasReportsItsSizeAndShowsThePictureHandedToIt) {
  Toolkit& tk = this->tk_;
  tk.createCanvas(Window::Main, Control::PreviewSheet, {10, 20, 200, 150});
  EXPECT_EQ(tk.geometry(Control::PreviewSheet), (Rect{10, 20, 200, 150}));
  EXPECT_EQ(this->user_.shownPicture(Control::PreviewSheet), CanvasPicture{});  // empty at first
  tk.setGeometry(Control::PreviewSheet, {0, 0, 120, 90});
  EXPECT_EQ(tk.geometry(Control::PreviewSheet), (Rect{0, 0, 120, 90}));

  CanvasPicture picture;
  picture.imageWidth = 2;
  picture.imageHeight = 1;
  picture.rgba = std::make_shared<const std::vector<std::uint8_t>>(
      std::vector<std::uint8_t>{255, 0, 0, 255, 0, 0, 255, 0});
  picture.source = {0, 0, 2, 1};
  picture.target = {-30, 5, 160, 80};  // partly outside: a scrolled sheet
  picture.outlines = {{-30, 5, 80, 80}, {50, 5, 80, 80}};
  picture.highlighted = 1;
  picture.caption = "b.png  (1, 0, 1 x 1)";
  tk.paintCanvas(Control::PreviewSheet, picture);
  EXPECT_EQ(this->user_.shownPicture(Control::PreviewSheet), picture);
  picture.highlighted = -1;
  picture.caption.clear();
  tk.paintCanvas(Control::PreviewSheet, picture);  // each painting replaces the last
  EXPECT_EQ(this->user_.shownPicture(Control::PreviewSheet), picture);
  EXPECT_TRUE(this->drain().empty());
}

// A single-shot timer fires once; a repeating one until stopped; restarted
// or stopped, it follows the last call. Fired more often than handled, a
// timer is one queued event.
TYPED_TEST(ToolkitContractTest, TimersFireOnceOrUntilStopped) {
  Toolkit& tk = this->tk_;
  const Event play{EventKind::Timer, Timer::PreviewPlay, Window::None};
  const Event typing{EventKind::Timer, Timer::ScriptPreview, Window::None};
  tk.startTimer(Timer::ScriptPreview, 10, false);
  EXPECT_TRUE(this->drain().empty());  // not yet
  this->user_.letTimersRun(Timer::ScriptPreview);
  EXPECT_EQ(this->drain(), std::vector<Event>{typing});
  this->user_.letTimersRun(Timer::ScriptPreview);  // a single shot is spent
  EXPECT_TRUE(this->drain().empty());

  tk.startTimer(Timer::PreviewPlay, 10, true);
  this->user_.letTimersRun(Timer::PreviewPlay);
  EXPECT_EQ(this->drain(), std::vector<Event>{play});
  this->user_.letTimersRun(Timer::PreviewPlay);
  EXPECT_EQ(this->drain(), std::vector<Event>{play});

  tk.stopTimer(Timer::PreviewPlay);
  this->user_.letTimersRun(Timer::PreviewPlay);
  EXPECT_TRUE(this->drain().empty());
  tk.startTimer(Timer::ScriptPreview, 10, false);  // a spent single shot starts again
  tk.stopTimer(Timer::ScriptPreview);
  tk.stopTimer(Timer::ScriptPreview);  // stopping a stopped timer does nothing
  this->user_.letTimersRun(Timer::ScriptPreview);
  EXPECT_TRUE(this->drain().empty());
}

// A watched descriptor is reported while it has bytes to read, again for
// what its handler left, and not at all once it is no longer watched.
TYPED_TEST(ToolkitContractTest, AWatchedDescriptorIsReportedWhileItHasBytesToRead) {
  Toolkit& tk = this->tk_;
  int ends[2];
  ASSERT_EQ(pipe2(ends, O_CLOEXEC | O_NONBLOCK), 0);
  const Event news{EventKind::FilesChanged, Watch::Rebuild, Window::None};
  char byte = 0;
  tk.watchDescriptor(Watch::Rebuild, ends[0]);
  EXPECT_TRUE(this->drain().empty());
  ASSERT_EQ(write(ends[1], "ab", 2), 2);
  EXPECT_EQ(tk.waitEvent(), news);
  ASSERT_EQ(read(ends[0], &byte, 1), 1);
  EXPECT_EQ(tk.waitEvent(), news);
  ASSERT_EQ(read(ends[0], &byte, 1), 1);
  EXPECT_TRUE(this->drain().empty());

  ASSERT_EQ(write(ends[1], "c", 1), 1);
  tk.stopWatchingDescriptor(Watch::Rebuild);
  EXPECT_TRUE(this->drain().empty());
  close(ends[0]);
  close(ends[1]);
}

// The pointer's moves, its leaving and the wheel over a canvas arrive with
// the canvas's own coordinates; a move to where the pointer already is
// adds nothing.
TYPED_TEST(ToolkitContractTest, PointerAndWheelOverACanvasArriveInItsCoordinates) {
  Toolkit& tk = this->tk_;
  tk.createCanvas(Window::Main, Control::PreviewSheet, {30, 40, 200, 150});
  this->user_.movePointer(Control::PreviewSheet, 42, 17);
  this->user_.movePointer(Control::PreviewSheet, 42, 17);
  this->user_.movePointer(Control::PreviewSheet, 199, 0);
  this->user_.turnWheel(Control::PreviewSheet, 2);
  this->user_.turnWheel(Control::PreviewSheet, -1);
  this->user_.movePointer(Control::PreviewSheet, -1, -1);
  const auto moved = [](int x, int y) {
    return Event{EventKind::PointerMoved, Control::PreviewSheet, Window::Main, x, y};
  };
  const auto wheel = [](int steps) {
    return Event{EventKind::Wheel, Control::PreviewSheet, Window::Main, 0, 0, steps};
  };
  EXPECT_EQ(this->drain(),
            (std::vector<Event>{moved(42, 17), moved(199, 0), wheel(2), wheel(-1), moved(-1, -1)}));
}

// A scroll bar's position stays within its range; the user's moves are
// events, the program's are not.
TYPED_TEST(ToolkitContractTest, AScrollBarKeepsItsPositionInRangeAndReportsTheUsersMoves) {
  Toolkit& tk = this->tk_;
  tk.createScrollBar(Window::Main, Control::PreviewVerticalScroll, {300, 0, 16, 200},
                     Orientation::Vertical);
  EXPECT_EQ(tk.state(Control::PreviewVerticalScroll), 0);
  tk.setScrollRange(Control::PreviewVerticalScroll, 640, 200);
  tk.setState(Control::PreviewVerticalScroll, 500);
  EXPECT_EQ(tk.state(Control::PreviewVerticalScroll), 440);
  tk.setScrollRange(Control::PreviewVerticalScroll, 300, 200);  // the range keeps it within
  EXPECT_EQ(tk.state(Control::PreviewVerticalScroll), 100);
  EXPECT_TRUE(this->drain().empty());

  this->user_.scroll(Control::PreviewVerticalScroll, 30);
  EXPECT_EQ(tk.state(Control::PreviewVerticalScroll), 30);
  this->user_.scroll(Control::PreviewVerticalScroll, 900);
  EXPECT_EQ(tk.state(Control::PreviewVerticalScroll), 100);
  const Event moved{EventKind::Control, Control::PreviewVerticalScroll, Window::Main};
  EXPECT_EQ(this->drain(), (std::vector<Event>{moved, moved}));
  tk.setScrollRange(Control::PreviewVerticalScroll, 100, 200);  // all of it shows
  EXPECT_EQ(tk.state(Control::PreviewVerticalScroll), 0);
}

// The user's choice of a checkable item toggles its tick and is an event;
// the program's setting of the tick is none.
TYPED_TEST(ToolkitContractTest, ACheckableMenuItemTogglesItsTickWhenChosen) {
  Toolkit& tk = this->tk_;
  const int menu = tk.addMenu("Script");
  tk.addMenuItem(menu, MenuItem::ScriptEditor, "Script Editor", true);
  tk.addCheckableMenuItem(menu, MenuItem::ScriptPreview, "Script Preview\tAlt+Cmd+P", true);
  EXPECT_FALSE(tk.isMenuItemChecked(MenuItem::ScriptPreview));
  tk.setMenuItemChecked(MenuItem::ScriptPreview, true);
  EXPECT_TRUE(tk.isMenuItemChecked(MenuItem::ScriptPreview));
  EXPECT_TRUE(this->drain().empty());

  this->user_.chooseMenuItem(MenuItem::ScriptPreview);
  EXPECT_FALSE(tk.isMenuItemChecked(MenuItem::ScriptPreview));
  this->user_.chooseMenuItem(MenuItem::ScriptPreview);
  EXPECT_TRUE(tk.isMenuItemChecked(MenuItem::ScriptPreview));
  this->user_.chooseMenuItem(MenuItem::ScriptEditor);
  EXPECT_FALSE(tk.isMenuItemChecked(MenuItem::ScriptEditor));  // a plain item has no tick
  const Event preview{EventKind::MenuItem, MenuItem::ScriptPreview, Window::Main};
  EXPECT_EQ(this->drain(),
            (std::vector<Event>{
                preview, preview, {EventKind::MenuItem, MenuItem::ScriptEditor, Window::Main}}));
}

// A tool tip says its text as it is, markup-like characters and line breaks
// included; setting it is no event.
TYPED_TEST(ToolkitContractTest, AToolTipShowsItsTextAsPlainText) {
  Toolkit& tk = this->tk_;
  tk.createLabel(Window::Main, Control::ScriptPreviewInfo, {10, 10, 80, 20}, "cut",
                 LabelAlign::Left);
  EXPECT_EQ(this->user_.toolTip(Control::ScriptPreviewInfo), "");
  const std::string tip =
      "12 frames in /home/a <b>/very long & \"deep\"/frames/\nExtension: .json   Clipboard: no";
  tk.setToolTip(Control::ScriptPreviewInfo, tip);
  EXPECT_EQ(this->user_.toolTip(Control::ScriptPreviewInfo), tip);
  tk.setToolTip(Control::ScriptPreviewInfo, "");
  EXPECT_EQ(this->user_.toolTip(Control::ScriptPreviewInfo), "");
  EXPECT_TRUE(this->drain().empty());
}

}  // namespace
}  // namespace oz
