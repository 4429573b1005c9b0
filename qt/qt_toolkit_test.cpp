#include "qt/qt_toolkit.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <functional>
#include <tuple>

#include "qt/key_sequences.h"
#include "qt/qt_test_application.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

class QtToolkitTest : public ::testing::Test {
 protected:
  QtToolkitTest() { tk_.openWindow(Window::Main, "Orvane Zozivi", 340, 425, {}); }

  std::vector<Event> drain() {
    std::vector<Event> events;
    while (std::optional<Event> e = tk_.pollEvent()) events.push_back(*e);
    return events;
  }

  template <typename W>
  W* widget(int control) {
    return qobject_cast<W*>(tk_.controlWidget(control));
  }

  // Opens the Script Editor with one tab holding one editor.
  void openEditorWindow() {
    ASSERT_TRUE(
        tk_.openWindow(Window::ScriptEditor, "Script Editor", 720, 540, {.resizable = true}));
    tk_.createTabPanel(Window::ScriptEditor, Control::TabPanel, {5, 40, 555, 465});
    tk_.addTab(Control::TabPanel, " ");
    tk_.createEditor(Control::TabPanel, 0, Control::FirstEditor,
                     {0, 0, tk_.itemWidth(Control::TabPanel), tk_.itemHeight(Control::TabPanel)});
    drain();
  }

  void buildMenus() {
    const int file = tk_.addMenu("File");
    tk_.addMenuItem(file, MenuItem::OpenImageFolder, "Open Image Folder\tCmd+O", true);
    tk_.addMenuItem(file, MenuItem::CreateSprite, "Create Sprite\t\r", true);
    const int script = tk_.addMenu("Script");
    tk_.addMenuItem(script, MenuItem::SaveScript, "Save Script\tCmd+S", true);
    tk_.addMenuItem(script, MenuItem::DeleteScript, "Delete Script\t\b", false);
  }

  QApplication& application_ = testing::qtTestApplication();  // before the toolkit
  QtToolkit tk_;
};

TEST_F(QtToolkitTest, ClientAreaHasTheAskedSizeAndAboutIsCentredAndReplacedWhenReopened) {
  buildMenus();  // added after the main window opened, as at start-up
  auto* main = qobject_cast<QMainWindow*>(tk_.windowWidget(Window::Main));
  ASSERT_TRUE(main->menuBar()->isVisible());
  EXPECT_EQ(main->height(), 425 + main->menuBar()->height());
  EXPECT_EQ(tk_.clientWidth(Window::Main), 340);
  EXPECT_EQ(tk_.clientHeight(Window::Main), 425);

  // Centred over the active window within the width of a window frame, unknown
  // before the first show; opened again, it is a new widget.
  const WindowStyle over{.placement = Placement::CentredOverActiveWindow, .menuBar = false};
  tk_.openWindow(Window::About, "", 340, 170, over);
  QPointer<QWidget> about = tk_.windowWidget(Window::About);
  EXPECT_EQ(about->height(), 170);
  EXPECT_EQ(tk_.clientHeight(Window::About), 170);
  EXPECT_LE((about->frameGeometry().center() - main->frameGeometry().center()).manhattanLength(),
            8);
  tk_.openWindow(Window::About, "", 340, 170, over);
  EXPECT_TRUE(about.isNull());

  // A resizable window gets the menu bar above its client area too, however
  // many menus it holds.
  for (const char* menu : {"Help", "Window"}) {
    tk_.openWindow(Window::Help, "Help", 1024, 620, {.resizable = true});
    auto* help = qobject_cast<QMainWindow*>(tk_.windowWidget(Window::Help));
    EXPECT_EQ(tk_.clientWidth(Window::Help), 1024) << menu;
    EXPECT_EQ(tk_.clientHeight(Window::Help), 620) << menu;
    EXPECT_EQ(help->height(), 620 + help->menuBar()->height()) << menu;
    tk_.addMenu(menu);
  }
  EXPECT_EQ(tk_.windowWidget(Window::Help)->objectName(), "window-3");
}

TEST_F(QtToolkitTest, SubmenusStayOutOfTheMenuBarAndClearingFreesTheirItems) {
  const int file = tk_.addMenu("File");
  const int recent = tk_.addSubmenu(file, "Open Recent");
  tk_.addMenuItem(recent, MenuItem::SheetOptions, "/frames/a&b/", true);
  auto* main = qobject_cast<QMainWindow*>(tk_.windowWidget(Window::Main));
  tk_.openWindow(Window::Help, "Help", 400, 300, {});
  auto* help = qobject_cast<QMainWindow*>(tk_.windowWidget(Window::Help));
  for (QMainWindow* window : {main, help}) {
    ASSERT_EQ(window->menuBar()->actions().size(), 1);
    QMenu* fileMenu = window->menuBar()->actions().front()->menu();
    ASSERT_EQ(fileMenu->actions().size(), 1);
    ASSERT_NE(fileMenu->actions().front()->menu(), nullptr);
  }
  QMenu* submenu = main->menuBar()->actions().front()->menu()->actions().front()->menu();
  EXPECT_EQ(submenu->title(), "Open Recent");
  ASSERT_EQ(submenu->actions().size(), 1);
  submenu->actions().front()->trigger();
  EXPECT_EQ(
      drain(),
      (std::vector<Event>{{EventKind::MenuItem, MenuItem::SheetOptions, tk_.activeWindow()}}));

  tk_.clearMenu(recent);
  EXPECT_TRUE(submenu->actions().empty());
  EXPECT_FALSE(tk_.isMenuItemEnabled(MenuItem::SheetOptions));  // no such item now
  tk_.addMenuItem(recent, MenuItem::SheetOptions, "/other/", false);
  EXPECT_EQ(submenu->actions().front()->text(), "/other/");
  EXPECT_FALSE(tk_.isMenuItemEnabled(MenuItem::SheetOptions));
}

TEST_F(QtToolkitTest, FilesDroppedOnAFieldReachTheProgramNotTheField) {
  tk_.createTextField(Window::Main, Control::ImageFolderField, {100, 10, 195, 22}, "");
  auto* field = widget<QLineEdit>(Control::ImageFolderField);
  const QPoint at(5, 5);
  auto dropOnField = [&](QMimeData* data) {
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &enter);
    QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &drop);
    return drop.isAccepted();
  };

  QMimeData frames;
  frames.setUrls({QUrl::fromLocalFile("/frames/walk 1.png"), QUrl("https://example.org/")});
  frames.setText("file:///frames/walk%201.png");
  dropOnField(&frames);  // no window takes drops yet: the field takes the text
  EXPECT_TRUE(drain().empty());
  EXPECT_EQ(field->text(), "file:///frames/walk%201.png");
  field->clear();

  tk_.acceptFileDrops(Window::Main);
  EXPECT_TRUE(dropOnField(&frames));
  EXPECT_EQ(drain(), (std::vector<Event>{{EventKind::FilesDropped, Window::Main, Window::Main}}));
  EXPECT_EQ(tk_.droppedPaths(), std::vector<std::string>{"/frames/walk 1.png"});
  EXPECT_EQ(field->text(), "");

  // Plain text is the field's to take.
  QMimeData text;
  text.setText("walk");
  dropOnField(&text);
  EXPECT_TRUE(drain().empty());
}

TEST_F(QtToolkitTest, AWatchedFolderReportsAChangeOfItsEntries) {
  oz::testing::ScopedTempDir dir;
  tk_.watchFolder(dir.path());
  oz::testing::writeFile(dir.path() + "a.txt", "A");
  oz::testing::writeFile(dir.path() + "b.txt", "B");
  QElapsedTimer timer;
  timer.start();
  std::vector<Event> events;
  while (events.empty() && timer.elapsed() < 5000) {
    events = drain();
    QTest::qWait(20);
  }
  for (const Event& event : drain()) events.push_back(event);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), (Event{EventKind::FolderChanged, 0, Window::None}));
}

// A support folder that is a file must not bring Qt's own complaint
// ("inotify_add_watch(...) failed: (Not a directory)") to standard error.
TEST_F(QtToolkitTest, AFileOrAMissingPathIsNotWatchedAndQtSaysNothing) {
  oz::testing::ScopedTempDir dir;
  oz::testing::writeFile(dir.path() + "support", "not a folder");
  const oz::testing::QtMessageRecorder qt;
  tk_.watchFolder(dir.path() + "support/");
  tk_.watchFolder(dir.path() + "support");
  tk_.watchFolder(dir.path() + "missing/");
  oz::testing::writeFile(dir.path() + "support", "changed");
  QTest::qWait(200);
  EXPECT_TRUE(drain().empty());
  EXPECT_EQ(qt.messages(), std::vector<std::string>{});
}

TEST_F(QtToolkitTest, EscapeAsksToCloseOnlyAWindowWhoseStyleSaysSo) {
  for (bool closes : {false, true}) {
    tk_.openWindow(Window::About, "", 340, 170, {.menuBar = false, .closesWithEscape = closes});
    QWidget* about = tk_.windowWidget(Window::About);
    about->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(about));
    drain();
    QTest::keyClick(about, Qt::Key_Escape);
    const std::vector<Event> expected =
        closes ? std::vector<Event>{{EventKind::WindowClose, Window::About, Window::About}}
               : std::vector<Event>{};
    EXPECT_EQ(drain(), expected) << closes;
    EXPECT_TRUE(tk_.isWindowOpen(Window::About));  // the program decides
  }
}

TEST_F(QtToolkitTest, EditorLineNumbersStandBesideTheTextAndWidenWithTheCount) {
  openEditorWindow();
  auto* editor = widget<QPlainTextEdit>(Control::FirstEditor);
  auto* numbers = editor->findChild<QWidget*>("line-numbers");
  ASSERT_NE(numbers, nullptr);
  tk_.setText(Control::FirstEditor, "1\n2\n3\n4\n5\n6\n7\n8\n9");
  QApplication::processEvents();
  const int nine = numbers->width();
  EXPECT_GE(nine, editor->fontMetrics().horizontalAdvance("9"));
  EXPECT_GE(editor->viewport()->x(), numbers->geometry().right());  // no overlap

  tk_.setText(Control::FirstEditor, std::string(999, '\n'));
  QApplication::processEvents();
  EXPECT_GE(numbers->width() - nine, editor->fontMetrics().horizontalAdvance("00"));
  EXPECT_GE(editor->viewport()->x(), numbers->geometry().right());
}

TEST_F(QtToolkitTest, HelpTextIsSelectableButNotEditable) {
  tk_.createRichText(Window::Main, Control::HelpText, {10, 10, 300, 300},
                     "<p>See <a href=\"https://example.org/\">the forum</a>.</p>");
  auto* area = widget<QTextBrowser>(Control::HelpText);
  area->setFocus();
  area->selectAll();
  QTest::keyClicks(area, "typed");
  EXPECT_EQ(area->toPlainText(), "See the forum.");
  EXPECT_EQ(area->textCursor().selectedText(), "See the forum.");
  EXPECT_TRUE(area->openExternalLinks());
  EXPECT_EQ(tk_.text(Control::HelpText),
            "<p>See <a href=\"https://example.org/\">the forum</a>.</p>");
}

TEST_F(QtToolkitTest, ColouringIsNoEditAndCountsUtf16UnitsButInsertingIsAnUndoableEdit) {
  openEditorWindow();
  auto* edit = widget<QPlainTextEdit>(Control::FirstEditor);
  const std::string text = "Gr\xc3\xbc\xc3\x9f\xe2\x80\x9d \xf0\x9f\x98\x80\nx ov.ImageX ov.Until";
  tk_.setText(Control::FirstEditor, text);
  EXPECT_TRUE(drain().empty());  // loading text is the program's change
  EXPECT_EQ(tk_.text(Control::FirstEditor), text);
  QTextCursor cursor = edit->textCursor();
  cursor.setPosition(3);
  cursor.setPosition(5, QTextCursor::KeepAnchor);
  edit->setTextCursor(cursor);

  const QString qtext = QString::fromUtf8(text);
  const int tag = static_cast<int>(qtext.indexOf("ov.ImageX"));
  ASSERT_EQ(tag, 11);  // "Grüß” " is 6 units, the emoji 2, the line break 1, "x " 2
  tk_.applyColouring(Control::FirstEditor,
                     {{0.75, 0.375, 0, 1},
                      {{tag, 9, {1, 1, 1, 1}}},
                      {{tag, static_cast<int>(qtext.size()) - tag, {0, 0, 0, 0.4}}}});

  EXPECT_FALSE(edit->document()->isModified());
  EXPECT_FALSE(edit->document()->isUndoAvailable());
  EXPECT_EQ(std::pair(edit->textCursor().anchor(), edit->textCursor().position()), std::pair(3, 5));

  const QTextBlock second = edit->document()->begin().next();
  std::vector<std::tuple<int, int, bool, bool>> ranges;  // start, length, white, shaded
  for (const QTextLayout::FormatRange& r : second.layout()->formats()) {
    ranges.emplace_back(r.start, r.length, r.format.foreground().color() == Qt::white,
                        r.format.background().style() != Qt::NoBrush);
  }
  EXPECT_EQ(ranges, (std::vector<std::tuple<int, int, bool, bool>>{
                        {0, 20, false, false}, {2, 9, true, false}, {2, 18, false, true}}));
  // The first line holds no span: its only range is the default colour.
  EXPECT_EQ(edit->document()->begin().layout()->formats().size(), 1);

  tk_.insertText(Control::FirstEditor, "x");  // over the selection, as an edit
  EXPECT_TRUE(edit->document()->isUndoAvailable());
  edit->setFocus();
  edit->moveCursor(QTextCursor::End);
  QTest::keyClick(edit, Qt::Key_Return, Qt::ShiftModifier);  // no soft line separator
  EXPECT_EQ(tk_.text(Control::FirstEditor), "Gr\xc3\xbcx \xf0\x9f\x98\x80\nx ov.ImageX ov.Until\n");
}

TEST_F(QtToolkitTest, EditorFontFallsBackToTheFixedFontAndTheCaretHasItsOwnColour) {
  openEditorWindow();
  auto* edit = widget<QPlainTextEdit>(Control::FirstEditor);
  tk_.setEditorFont(Control::FirstEditor, "No Such Family 1234", 14);
  EXPECT_EQ(edit->font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
  EXPECT_EQ(edit->font().pointSizeF(), 14.0);
  EXPECT_EQ(edit->tabStopDistance(), 4 * QFontMetricsF(edit->font()).horizontalAdvance(' '));
  const QString installed = QFontDatabase::families().value(0);
  tk_.setEditorFont(Control::FirstEditor, installed.toStdString(), 12);
  EXPECT_EQ(edit->font().family(), installed);
  EXPECT_TRUE(drain().empty());

  tk_.setBackgroundColour(Control::FirstEditor, {0, 0, 0, 1});
  tk_.setCaretColour(Control::FirstEditor, {1, 0, 0, 1});
  tk_.setText(Control::FirstEditor, "abc");
  tk_.applyColouring(Control::FirstEditor, {{0, 1, 0, 1}, {}, {}});
  QWidget* window = tk_.windowWidget(Window::ScriptEditor);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  tk_.focus(Control::FirstEditor);
  const QImage image = edit->grab().toImage();
  int caret = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) caret += image.pixelColor(x, y) == Qt::red;
  }
  EXPECT_GE(caret, 10);  // a line's height, two pixels wide
}

TEST_F(QtToolkitTest, ItemSizeIsThePagesSizeOnceThePanelIsLaidOut) {
  openEditorWindow();
  tk_.addTab(Control::TabPanel, "plist & co");
  EXPECT_EQ(tk_.tabTitle(Control::TabPanel, 1), "plist & co");
  tk_.setState(Control::TabPanel, 1);
  auto* panel = widget<QTabWidget>(Control::TabPanel);
  EXPECT_EQ(panel->currentWidget()->size(),
            QSize(tk_.itemWidth(Control::TabPanel), tk_.itemHeight(Control::TabPanel)));
}

TEST_F(QtToolkitTest, MenuShortcutsReachTheirItemsFromTheEditorWhereReturnStaysANewLine) {
  buildMenus();
  openEditorWindow();
  auto* edit = widget<QPlainTextEdit>(Control::FirstEditor);
  tk_.focus(Control::FirstEditor);
  tk_.setText(Control::FirstEditor, "one two");
  edit->moveCursor(QTextCursor::End);
  ASSERT_EQ(tk_.activeWindow(), Window::ScriptEditor);

  QTest::keyClick(edit, Qt::Key_S, Qt::ControlModifier);
  QTest::keyClick(edit, Qt::Key_O, Qt::ControlModifier);
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(drain(), (std::vector<Event>{
                         {EventKind::MenuItem, MenuItem::SaveScript, Window::ScriptEditor},
                         {EventKind::MenuItem, MenuItem::OpenImageFolder, Window::ScriptEditor},
                         {EventKind::TextChanged, Control::FirstEditor, Window::ScriptEditor}}));
  EXPECT_EQ(tk_.text(Control::FirstEditor), "one two\n");

  // Ctrl+Backspace deletes a word while "Delete Script" is disabled, and
  // reaches the item once it is enabled; a plain Backspace never does.
  QTest::keyClick(edit, Qt::Key_Backspace, Qt::ControlModifier);
  EXPECT_EQ(tk_.text(Control::FirstEditor), "one two");
  drain();
  tk_.setMenuItemEnabled(MenuItem::DeleteScript, true);
  QTest::keyClick(edit, Qt::Key_Backspace, Qt::ControlModifier);
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(drain(), (std::vector<Event>{
                         {EventKind::MenuItem, MenuItem::DeleteScript, Window::ScriptEditor},
                         {EventKind::TextChanged, Control::FirstEditor, Window::ScriptEditor}}));
  EXPECT_EQ(tk_.text(Control::FirstEditor), "one tw");
}

// The title is the box's heading, the text is escaped; Escape or the close
// button call off a Yes/No/Cancel box and say No to a Yes/No one.
TEST_F(QtToolkitTest, MessageBoxShowsItsTitleAndIsCancelledOrNoWhenLeftUnanswered) {
  const std::function<void(QWidget*)> ways[] = {
      [](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); },
      [](QWidget* box) { box->close(); },
  };
  QStringList shown;
  for (const auto& way : ways) {
    for (const MessageButtons buttons : {MessageButtons::YesNoCancel, MessageButtons::YesNo}) {
      QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown.append(box->text());
        way(box);
      });
      EXPECT_EQ(tk_.messageBox("Preview?", "Would you like to preview, \"/a <b>.png\" ?", buttons),
                buttons == MessageButtons::YesNo ? MessageResult::No : MessageResult::Cancel);
    }
  }
  ASSERT_EQ(shown.size(), 4);
  EXPECT_TRUE(shown[0].startsWith("<p><b>Preview?</b></p>"));
  EXPECT_TRUE(shown[0].contains("&quot;/a &lt;b&gt;.png&quot; ?"));
}

// The details stand under the text at once, as the box's informative text,
// escaped like it; without them the box has none.
TEST_F(QtToolkitTest, MessageBoxDetailsAreItsInformativeText) {
  QStringList informative;
  for (const char* details : {"\"<b>.png\" is 11 x 20 pixels.", ""}) {
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      informative.append(box->informativeText());
      box->button(QMessageBox::Ok)->click();
    });
    tk_.messageBoxWithDetails("Image Size Error!", "Orvane Zozivi only supports ...", details);
  }
  ASSERT_EQ(informative.size(), 2);
  QTextDocument shown;
  shown.setHtml(informative[0]);
  EXPECT_EQ(shown.toPlainText(), "\"<b>.png\" is 11 x 20 pixels.");
  EXPECT_TRUE(informative[1].isEmpty());
}

TEST_F(QtToolkitTest, ClicksAreDroppedWhileBusyAndEndAWait) {
  tk_.createButton(Window::Main, Control::Create, {100, 390, 140, 25}, "Create");
  auto* create = widget<QAbstractButton>(Control::Create);
  tk_.setBusy(true);
  tk_.showProgress("Create", "Loading frames", 0.25);
  QTest::mouseClick(create, Qt::LeftButton);
  tk_.closeProgress();
  tk_.setBusy(false);
  EXPECT_TRUE(drain().empty());
  QTest::mouseClick(create, Qt::LeftButton);
  ASSERT_EQ(drain().size(), 1u);  // so that the wait below cannot hang
  QTimer::singleShot(0, [create] { QTest::mouseClick(create, Qt::LeftButton); });
  EXPECT_EQ(tk_.waitEvent(), (Event{EventKind::Control, Control::Create, Window::Main}));
}

// The dialog is wide enough for its whole title. Cancel is the one input the
// busy program takes: pressed, the dialog goes and says so until it is closed;
// the next dialog starts afresh.
TEST_F(QtToolkitTest, TheProgressDialogShowsItsTitleAndItsCancelIsPressedWhileBusy) {
  const std::string title = "Creating Sprite and a much longer title than that";
  tk_.setBusy(true);
  ASSERT_TRUE(tk_.showProgress(title, "Loading frames", 0.25));
  auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle().toStdString(), title);
  EXPECT_GT(dialog->width(), 2 * dialog->fontMetrics().horizontalAdvance(dialog->windowTitle()));
  auto* cancel = dialog->findChild<QPushButton*>();
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(cancel->text(), "Cancel");
  EXPECT_TRUE(tk_.showProgress("Creating Sprite", "Composing", 0.5));
  QTest::mouseClick(cancel, Qt::LeftButton);
  EXPECT_FALSE(tk_.showProgress("Creating Sprite", "Writing", 0.75));
  EXPECT_FALSE(dialog->isVisible());
  tk_.closeProgress();
  tk_.setBusy(false);
  EXPECT_TRUE(tk_.showProgress("Creating Sprite", "Loading frames", 0.0));
  tk_.closeProgress();
}

TEST_F(QtToolkitTest, RequestersAnswerWithTheChosenPathOrNothing) {
  oz::testing::ScopedTempDir dir;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->objectName(), "folder-requester");
    // A folder requester answers with the folder it shows when nothing in it
    // is selected: here the one it started in.
    static_cast<QDialog*>(dialog)->accept();
  });
  const std::string folder = tk_.chooseFolder("Select a folder of png images...", dir.path());
  EXPECT_EQ(QDir(QString::fromStdString(folder)), QDir(QString::fromStdString(dir.path())));
  EXPECT_EQ(folder.back(), '/');

  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->nameFilters(), QStringList{"PNG (*.png)"});
    EXPECT_EQ(dialog->directory(), QDir(QString::fromStdString(dir.path())));
    dialog->reject();
  });
  EXPECT_EQ(
      tk_.chooseSaveFile("Save sprite sheet/strip as...", ".png", "PNG (*.png)|*.png", dir.path()),
      "");
}

TEST_F(QtToolkitTest, LaunchHandsEveryArgumentOverByteForByte) {
  oz::testing::ScopedTempDir dir;
  // The script's own path holds the same kinds of character; it records its
  // arguments beside itself.
  const std::string script = dir.path() + "record \"args\" it's.sh";
  oz::testing::writeFile(script, "printf '%s|' \"$@\" > \"$0.out\"\n");
  // Quotes, a backslash, blanks, letters beyond ASCII, what a shell would
  // expand, and an empty argument.
  const std::vector<std::string> arguments{
      script,         "/Sprites/walk\"1.png", "it's.png", "back\\slash.png",
      "my  walk.png", "ünï Ωλ.png",           "$HOME*",   ""};
  tk_.launch("/bin/sh", arguments);

  std::string expected;
  for (size_t i = 1; i < arguments.size(); ++i) expected += arguments[i] + "|";
  const std::string recorded = script + ".out";
  QElapsedTimer timer;
  timer.start();
  while (oz::testing::readFile(recorded) != expected && timer.elapsed() < 5000) QTest::qWait(20);
  EXPECT_EQ(oz::testing::readFile(recorded), expected);
}

TEST_F(QtToolkitTest, ClipboardHoldsThePlainText) {
  tk_.setClipboardText("x\r\ny\r\n");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "x\r\ny\r\n");
}

// The canvas paints the picture it is handed over a checkerboard; its events
// and the timers' are the toolkit contract's to check.
TEST_F(QtToolkitTest, CanvasPaintsThePictureOverACheckerboardWithItsOutlines) {
  tk_.createCanvas(Window::Main, Control::PreviewSheet, {0, 0, 100, 100});
  // A 2 x 1 image: opaque red, then fully transparent.
  auto rgba = std::make_shared<std::vector<std::uint8_t>>(
      std::vector<std::uint8_t>{255, 0, 0, 255, 0, 0, 255, 0});
  CanvasPicture picture;
  picture.imageWidth = 2;
  picture.imageHeight = 1;
  picture.rgba = rgba;
  picture.source = {0, 0, 2, 1};
  picture.target = {10, 10, 80, 40};
  picture.outlines = {{60, 60, 20, 20}};
  tk_.paintCanvas(Control::PreviewSheet, picture);
  QWidget* canvas = tk_.controlWidget(Control::PreviewSheet);
  ASSERT_NE(canvas, nullptr);
  const QImage shown = canvas->grab().toImage();
  EXPECT_EQ(shown.pixelColor(30, 30), QColor(255, 0, 0));  // the red pixel, enlarged
  // The transparent pixel shows the checkerboard's two squares.
  EXPECT_NE(shown.pixelColor(52, 12), shown.pixelColor(60, 12));
  EXPECT_NE(shown.pixelColor(60, 60), shown.pixelColor(70, 70));  // the outline's edge
}

TEST(QtForms, FilterDescriptionKeepsOrGainsItsPatternAndCommandIsControl) {
  EXPECT_EQ(toNameFilter("PNG (*.png)|*.png"), "PNG (*.png)");
  EXPECT_EQ(toNameFilter("(*.plist)|*.plist"), "(*.plist)");
  EXPECT_EQ(toNameFilter("Scripts|*.xml"), "Scripts (*.xml)");
  EXPECT_EQ(toKeySequence(*parseShortcut("Shift+Cmd+S")), QKeySequence("Ctrl+Shift+S"));
  EXPECT_EQ(toKeySequence(*parseShortcut("\b")), QKeySequence("Ctrl+Backspace"));
  EXPECT_EQ(toKeySequence(*parseShortcut("F1")), QKeySequence(Qt::Key_F1));
  EXPECT_EQ(toKeySequence(*parseShortcut("Alt+Cmd+E")), QKeySequence("Ctrl+Alt+E"));
}

}  // namespace
}  // namespace oz
