// The Script Editor on the real Qt toolkit: typing, a tag button and a save,
// checked on disk and in the colours the editor draws.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include "editor/script_editor.h"
#include "qt/qt_test_application.h"
#include "qt/qt_toolkit.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

QApplication& application() { return testing::qtTestApplication(); }

// The foreground colour drawn at `position` of `block`: the last format range
// covering it wins, as in the layout.
QColor foregroundAt(const QTextBlock& block, int position) {
  QColor colour;
  for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
    if (position >= range.start && position < range.start + range.length &&
        range.format.foreground().style() != Qt::NoBrush) {
      colour = range.format.foreground().color();
    }
  }
  return colour;
}

TEST(EditorQtTest, TypedAndInsertedTagsAreColouredAndSaved) {
  application();
  oz::testing::ScopedTempDir dir;
  oz::testing::writeFile(dir.path() + "plist.txt", "ov.Extension = \".plist\"\n");
  const SupportDir support{dir.path()};
  SettingsStore settings;
  settings.open(support.settingsPath());
  QtToolkit toolkit;
  ASSERT_TRUE(toolkit.openWindow(Window::Main, "Orvane Zozivi", 340, 425, {}));
  ScriptEditor editor(toolkit, settings, support, [] {});

  // Answers every message box as soon as it shows: Yes to a question.
  QStringList shown;
  QTimer answerer;
  QObject::connect(&answerer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    shown.append(box->text());
    QAbstractButton* yes = box->button(QMessageBox::Yes);
    (yes ? yes : box->button(QMessageBox::Ok))->click();
  });
  answerer.start(10);

  const auto pump = [&] {
    while (std::optional<Event> event = toolkit.pollEvent()) editor.handleEvent(*event);
  };
  editor.open();
  QWidget* window = toolkit.windowWidget(Window::ScriptEditor);
  ASSERT_NE(window, nullptr);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  pump();

  auto* edit = qobject_cast<QPlainTextEdit*>(toolkit.controlWidget(Control::FirstEditor));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->toPlainText(), "ov.Extension = \".plist\"");
  edit->setFocus();
  edit->moveCursor(QTextCursor::End);
  QTest::keyClick(edit, Qt::Key_Return);
  QTest::keyClicks(edit, "ov.ImageX ");
  pump();
  EXPECT_TRUE(toolkit.isEdited(Window::ScriptEditor));

  QTest::mouseClick(qobject_cast<QAbstractButton*>(toolkit.controlWidget(Control::TagUntil)),
                    Qt::LeftButton);
  pump();
  EXPECT_EQ(edit->toPlainText(), "ov.Extension = \".plist\"\nov.ImageX ov.Until");

  const QTextBlock first = edit->document()->begin();
  const QTextBlock second = first.next();
  const QColor defaultText = QColor::fromRgbF(0.75, 0.375, 0.0);
  const QColor imageTag = QColor::fromRgbF(1.0, 0.75, 0.5);
  const QColor controlTag = QColor::fromRgbF(0.9, 0.125, 0.0);
  EXPECT_EQ(foregroundAt(first, 0), controlTag);
  EXPECT_EQ(foregroundAt(first, 13), defaultText);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(foregroundAt(second, i), imageTag) << i;
  EXPECT_EQ(foregroundAt(second, 9), defaultText);
  EXPECT_EQ(foregroundAt(second, 10), controlTag);
  EXPECT_EQ(foregroundAt(second, 17), controlTag);

  QTest::mouseClick(qobject_cast<QAbstractButton*>(toolkit.controlWidget(Control::SaveScript)),
                    Qt::LeftButton);
  pump();
  EXPECT_EQ(oz::testing::readFile(dir.path() + "plist.txt"),
            "ov.Extension = \".plist\"\nov.ImageX ov.Until\n");
  ASSERT_EQ(shown.size(), 2);
  EXPECT_TRUE(shown[0].contains("Overwrite Script?"));
  EXPECT_TRUE(shown[1].contains("Saved Script!"));
  EXPECT_FALSE(toolkit.isEdited(Window::ScriptEditor));
}

}  // namespace
}  // namespace oz
