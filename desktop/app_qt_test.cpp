// The whole desktop program on Qt, offscreen, with a temporary home: it starts,
// builds a sheet from the example frames through the real widgets, keys and
// requesters, exports a script, and ends on the main window's close button.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/preview_view.h"
#include "app/program.h"
#include "app/sheet_preview.h"
#include "qt/qt_test_application.h"
#include "qt/qt_toolkit.h"
#include "sheet/png/png_read.h"
#include "sheet/png/png_write.h"
#include "store/support_dir.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

// Plays the user: every few milliseconds it tries the current step, and moves
// on once the step could act. A step that cannot act for too long fails the
// test and ends the program, so a fault never hangs the run.
class User : public QObject {
 public:
  struct Step {
    std::string what;
    std::function<bool()> act;  // true once done
  };

  User(QtToolkit& toolkit, std::vector<Step> steps) : toolkit_(toolkit), steps_(std::move(steps)) {
    connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
    timer_.start(20);
    clock_.start();
  }

  bool finished() const { return next_ == steps_.size(); }

 private:
  static constexpr qint64 kStepTimeoutMs = 30000;

  void tick() {
    if (finished()) return;
    if (steps_[next_].act()) {
      ++next_;
      clock_.restart();
    } else if (clock_.elapsed() > kStepTimeoutMs) {
      ADD_FAILURE() << "the user could not: " << steps_[next_].what;
      next_ = steps_.size();
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
      if (QWidget* main = toolkit_.windowWidget(Window::Main)) main->close();
    }
  }

  QtToolkit& toolkit_;
  std::vector<Step> steps_;
  size_t next_ = 0;
  QTimer timer_;
  QElapsedTimer clock_;
};

class AppQtTest : public ::testing::Test {
 protected:
  AppQtTest() {
    QDir().mkpath(QString::fromStdString(out_));
    QDir().mkpath(QString::fromStdString(home_.path() + "Library/Application Support"));
    qputenv("HOME", QByteArray::fromStdString(home_.path()));
  }

  QWidget* control(int number) { return toolkit_.controlWidget(number); }

  bool click(int number) {
    auto* button = qobject_cast<QAbstractButton*>(control(number));
    if (!button || !button->isEnabled() || !button->isVisible()) return false;
    button->click();
    return true;
  }

  template <typename Dialog>
  Dialog* modal(const char* name) {
    QWidget* widget = QApplication::activeModalWidget();
    return widget && widget->objectName() == name ? qobject_cast<Dialog*>(widget) : nullptr;
  }

  bool answerRequester(const char* name, const std::string& path) {
    auto* dialog = modal<QFileDialog>(name);
    if (!dialog || !dialog->isVisible()) return false;
    // Typed into the name field, as a user would; selectFile() races the
    // dialog's own loading of the folder.
    auto* nameField = dialog->findChild<QLineEdit*>("fileNameEdit");
    if (!nameField) return false;
    nameField->setText(QString::fromStdString(path));
    QMetaObject::invokeMethod(dialog, "accept");
    return true;
  }

  bool answerMessage(QMessageBox::StandardButton answer) {
    auto* box = modal<QMessageBox>("message-box");
    if (!box || !box->isVisible()) return false;
    messages_.push_back(box->text().toStdString());
    box->button(answer)->click();
    return true;
  }

  bool fieldShows(int field, const std::string& text) {
    return control(field) && toolkit_.text(field) == text;
  }

  // The program runs on for `ticks` of the user's clock; a message box that
  // comes up meanwhile is answered, OK or else No, and kept in messages_.
  std::function<bool()> idle(int ticks) {
    auto left = std::make_shared<int>(ticks);
    return [this, left] {
      auto* box = modal<QMessageBox>("message-box");
      const bool answered =
          box && box->isVisible() &&
          answerMessage(box->button(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::No);
      return !answered && --*left <= 0;
    };
  }

  // Focuses `list` in the active main window, opened or closed.
  bool focusList(int list, bool open) {
    QWidget* main = toolkit_.windowWidget(Window::Main);
    auto* combo = qobject_cast<QComboBox*>(control(list));
    if (!combo || !combo->isEnabled()) return false;
    if (QApplication::activeWindow() != main) {
      main->activateWindow();
      return false;
    }
    combo->setFocus();
    if (open) combo->showPopup();
    return true;
  }

  // Keys Down to `entry` and then `choose` into the open list, where the
  // window system sends keys: the focused window, which is the list's popup.
  bool keyIntoOpenList(int list, const QString& entry, Qt::Key choose) {
    auto* combo = qobject_cast<QComboBox*>(control(list));
    QWidget* popup = QApplication::activePopupWidget();
    QWindow* focused = QGuiApplication::focusWindow();
    if (!combo || !popup || !focused || focused != popup->windowHandle()) return false;
    const int index = combo->findText(entry);
    for (int i = 0; i < combo->count() && combo->view()->currentIndex().row() < index; ++i) {
      QTest::keyClick(focused, Qt::Key_Down);
    }
    QTest::keyClick(focused, choose);
    return true;
  }

  // Return on the focused, closed list in the main window.
  bool keyReturnOnClosedList(int list) {
    QWindow* focused = QGuiApplication::focusWindow();
    if (QApplication::activePopupWidget() || QApplication::focusWidget() != control(list) ||
        !focused || focused != toolkit_.windowWidget(Window::Main)->windowHandle()) {
      return false;
    }
    QTest::keyClick(focused, Qt::Key_Return);
    return true;
  }

  QApplication& application_ = testing::qtTestApplication();  // before the toolkit
  testing::ScopedTempDir home_;
  std::string out_ = home_.path() + "out/";
  QtToolkit toolkit_;
  std::vector<std::string> messages_;
};

// Return or Enter that closes an open list chooses the entry and nothing more:
// no build, no export, no message. On the closed list Return is "Create Sprite".
TEST_F(AppQtTest, BuildsTheExampleFramesFromTheKeyboardAndExportsAScript) {
  const std::string frames = std::string(OZ_SOURCE_DIR) + "/examples/frames";
  User user(
      toolkit_,
      {
          {"open the folder requester", [&] { return click(Control::ImageFolderButton); }},
          {"choose the example frames",
           [&] { return answerRequester("folder-requester", frames); }},
          {"open the sheet requester", [&] { return click(Control::SheetPathButton); }},
          {"name the sheet", [&] { return answerRequester("save-requester", out_ + "walk"); }},
          {"see the sheet path",
           [&] { return fieldShows(Control::SheetPathField, out_ + "walk.png"); }},
          {"open the depth list", [&] { return focusList(Control::DepthList, true); }},
          {"key 24-bit and Enter",
           [&] { return keyIntoOpenList(Control::DepthList, "24-bit", Qt::Key_Enter); }},
          {"see 24-bit with its rules",
           [&] {
             return toolkit_.text(Control::DepthList) == "24-bit" &&
                    toolkit_.isVisible(Control::RemoveAlpha) &&
                    !toolkit_.isVisible(Control::Dithering);
           }},
          {"open the script list", [&] { return focusList(Control::ScriptList, true); }},
          {"key plist and Return",
           [&] { return keyIntoOpenList(Control::ScriptList, "plist", Qt::Key_Return); }},
          {"wait a while", idle(10)},
          {"see nothing built",
           [&] {
             EXPECT_FALSE(testing::fileExists(out_ + "walk.png"));
             EXPECT_TRUE(messages_.empty());
             return true;
           }},
          {"open the script requester", [&] { return click(Control::ScriptPathButton); }},
          {"name the script", [&] { return answerRequester("save-requester", out_ + "walk"); }},
          {"see the script path",
           [&] { return fieldShows(Control::ScriptPathField, out_ + "walk.plist"); }},
          {"tick Retina", [&] { return click(Control::Retina); }},
          {"focus the closed script list", [&] { return focusList(Control::ScriptList, false); }},
          {"press Return", [&] { return keyReturnOnClosedList(Control::ScriptList); }},
          {"read Exported!", [&] { return answerMessage(QMessageBox::Ok); }},
          {"decline the preview", [&] { return answerMessage(QMessageBox::No); }},
          {"close the main window, which only asks the program to close",
           [&] {
             toolkit_.windowWidget(Window::Main)->close();
             return true;
           }},
      });

  EXPECT_EQ(runProgram(toolkit_, home_.path(), kVersionCodeLatest), 0);
  EXPECT_TRUE(user.finished());

  // Eight 64 × 64 frames, four to a row.
  EXPECT_EQ(readPngSize(out_ + "walk.png"), (PngSize{256, 128}));

  // Retina halves every number the script writes.
  const std::string script = testing::readFile(out_ + "walk.plist");
  EXPECT_NE(script.find("frame8"), std::string::npos) << script;
  EXPECT_NE(script.find("<string>96</string>"), std::string::npos) << script;

  EXPECT_EQ(messages_.size(), 2u);
}

}  // namespace
}  // namespace oz

namespace oz {
namespace {

// The Sheet Preview on the real widgets: the sheet read back from its file
// is painted, the pointer over a frame names it, and the play timer turns the
// strip to the next frame.
TEST(SheetPreviewQtTest, PaintsTheSheetNamesTheHoveredFrameAndPlays) {
  testing::qtTestApplication();
  testing::ScopedTempDir dir;
  const std::string path = dir.path() + "sheet.png";
  // Two 8 x 8 frames side by side: opaque blue, then transparent.
  RgbaImage sheet{16, 8, {}};
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 16; ++x) {
      const uint8_t alpha = x < 8 ? 255 : 0;
      sheet.pixels.insert(sheet.pixels.end(), {0, 0, 255, alpha});
    }
  }
  ASSERT_EQ(encodePng(sheet, path), PngWriteStatus::Written);
  QtToolkit toolkit;
  SheetPreview preview(toolkit);
  BuildOptions options;
  options.savePath = path;
  preview.setSheets(writtenSheets(
      {{path, {{1, "blue.png", 0, 0, 8, 8, 0, 0, 8, 8}, {2, "clear.png", 8, 0, 8, 8, 0, 0, 8, 8}}}},
      {}, options));
  preview.open();
  ASSERT_TRUE(preview.isOpen());
  QWidget* canvas = toolkit.controlWidget(Control::PreviewSheet);
  ASSERT_NE(canvas, nullptr);
  const Rect blue = canvasRect({1, "blue.png", 0, 0, 8, 8},
                               placedView({fitScale(16, 8, canvas->width(), canvas->height())}, 16,
                                          8, canvas->width(), canvas->height()));
  const QImage shown = canvas->grab().toImage();
  EXPECT_EQ(shown.pixelColor(blue.x + blue.width / 2, blue.y + blue.height / 2), QColor(0, 0, 255));

  QTest::mouseMove(canvas, QPoint(blue.x + blue.width / 2, blue.y + blue.height / 2));
  QElapsedTimer clock;
  clock.start();
  bool turned = false;
  while (clock.elapsed() < 5000 && !turned) {
    if (std::optional<Event> event = toolkit.pollEvent()) preview.handleEvent(*event);
    turned = toolkit.text(Control::PreviewFrameLabel) == "Frame 2 of 2: clear.png";
    QTest::qWait(5);
  }
  EXPECT_TRUE(turned);
  const QImage hovered = canvas->grab().toImage();
  EXPECT_NE(hovered, shown);  // the caption and the stronger outline
  preview.handleEvent({EventKind::WindowClose, Window::SheetPreview, Window::SheetPreview});
  EXPECT_FALSE(preview.isOpen());
}

}  // namespace
}  // namespace oz
