// The Script Editor on the real Qt toolkit: typing, tag buttons and saves,
// checked on disk, in the colours the editor draws, and byte for byte.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <deque>

#include "editor/script_editor.h"
#include "qt/qt_test_application.h"
#include "qt/qt_toolkit.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using testing::readFile;
using testing::writeFile;

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

class EditorQtTest : public ::testing::Test {
 protected:
  EditorQtTest() {
    toolkit_.openWindow(Window::Main, "Orvane Zozivi", 340, 425, {});
    settings_.open(support_.settingsPath());
    // Answers every message box as soon as it shows: OK boxes with OK,
    // questions with the next planned answer.
    QObject::connect(&answerer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      shown_.append(box->text());
      if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
        ok->click();
      } else if (answers_.empty()) {
        ADD_FAILURE() << "unplanned question: " << box->text().toStdString();
        box->button(QMessageBox::No)->click();
      } else {
        box->button(answers_.front())->click();
        answers_.pop_front();
      }
    });
    answerer_.start(10);
  }
  ~EditorQtTest() override { EXPECT_TRUE(answers_.empty()) << "planned answers left"; }

  void pump() {
    while (std::optional<Event> event = toolkit_.pollEvent()) editor_.handleEvent(*event);
  }
  void openEditor() {
    editor_.open();
    QWidget* window = toolkit_.windowWidget(Window::ScriptEditor);
    ASSERT_NE(window, nullptr);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    pump();
  }
  QTabWidget* tabs() {
    return qobject_cast<QTabWidget*>(toolkit_.controlWidget(Control::TabPanel));
  }
  // The tab of script `name`, edited or not.
  int tabOf(const QString& name) {
    for (int i = 0; i < tabs()->count(); ++i) {
      if (tabs()->tabText(i) == name || tabs()->tabText(i) == name + " *") return i;
    }
    ADD_FAILURE() << "no tab " << name.toStdString();
    return 0;
  }
  QPlainTextEdit* editorOf(const QString& name) {
    return tabs()->widget(tabOf(name))->findChild<QPlainTextEdit*>();
  }
  void click(int control) {
    QTest::mouseClick(qobject_cast<QAbstractButton*>(toolkit_.controlWidget(control)),
                      Qt::LeftButton);
    pump();
  }
  void save(const QString& name) {
    tabs()->setCurrentIndex(tabOf(name));
    pump();
    answers_.push_back(QMessageBox::Yes);
    click(Control::SaveScript);
  }
  std::string bytesOf(const std::string& name) { return readFile(dir_.path() + name + ".txt"); }

  QApplication& application_ = testing::qtTestApplication();  // before the toolkit
  oz::testing::ScopedTempDir dir_;
  const SupportDir support_{dir_.path()};
  SettingsStore settings_;
  QtToolkit toolkit_;
  ScriptEditor editor_{toolkit_, settings_, support_, [] {}};
  QTimer answerer_;
  std::deque<QMessageBox::StandardButton> answers_;
  QStringList shown_;
};

TEST_F(EditorQtTest, TypedAndInsertedTagsAreColouredAndSaved) {
  writeFile(dir_.path() + "plist.txt", "ov.Extension = \".plist\"\n");
  openEditor();

  QPlainTextEdit* edit = editorOf("plist");
  edit->setFocus();
  edit->moveCursor(QTextCursor::End);
  QTest::keyClick(edit, Qt::Key_Return);
  QTest::keyClicks(edit, "ov.ImageX ");
  pump();
  click(Control::TagUntil);
  EXPECT_EQ(edit->toPlainText(), "ov.Extension = \".plist\"\nov.ImageX ov.Until");

  const QTextBlock first = edit->document()->begin();
  const QTextBlock second = first.next();
  const QColor defaultText = QColor::fromRgbF(0.75, 0.375, 0.0);
  const QColor imageTag = QColor::fromRgbF(1.0, 0.75, 0.5);
  const QColor controlTag = QColor::fromRgbF(0.9, 0.125, 0.0);
  EXPECT_EQ(foregroundAt(first, 0), controlTag);
  EXPECT_EQ(foregroundAt(first, 13), defaultText);
  for (int i = 0; i < 18; ++i) {
    EXPECT_EQ(foregroundAt(second, i), i < 9 ? imageTag : i == 9 ? defaultText : controlTag) << i;
  }

  save("plist");
  EXPECT_EQ(bytesOf("plist"), "ov.Extension = \".plist\"\nov.ImageX ov.Until\n");
}

// Opening and saving writes the bytes that were read, whatever they are; only
// the line endings follow the saving rules (LF after every line), and an edit
// changes only the bytes it touches.
TEST_F(EditorQtTest, SavingKeepsEveryByteButThoseAnEditTouches) {
  struct Case {
    std::string name;
    std::string bytes;
    std::string saved;
  };
  // Latin-1 bytes at the start, inside and at the end of lines, a stand-in
  // character and a line separator the file really holds, in valid UTF-8.
  const std::string latin =
      "\xE9t\xE9\n"
      "caf\xE9 \xC3\xA9\n"
      "\xEF\x9F\xA9|\xE2\x80\xA8|\xC3\n"
      "\xFF\xFE\n";
  const Case cases[] = {
      {"latin", latin, latin},
      {"crlf",
       "\xEF\xBB\xBF"
       "a\r\n\xE9\r\n\r\nb\r\n",
       "\xEF\xBB\xBF"
       "a\n\xE9\n\nb\n"},
      {"cr", "\r\ra\r\xE9\r\rb", "a\n\xE9\n\nb\n"},  // leading empty lines are dropped
  };
  for (const Case& c : cases) writeFile(dir_.path() + c.name + ".txt", c.bytes);
  writeFile(dir_.path() + "edit.txt", "\xEF\xBB\xBF\xE9t\xE9\n\xFF|\xE2\x80\xA8\n");
  openEditor();
  for (const Case& c : cases) {
    save(QString::fromStdString(c.name));
    EXPECT_EQ(bytesOf(c.name), c.saved) << c.name;
  }
  EXPECT_EQ(shown_.size(), 6);

  QPlainTextEdit* edit = editorOf("edit");
  edit->setFocus();
  edit->moveCursor(QTextCursor::Start);
  edit->moveCursor(QTextCursor::Down);
  QTest::keyClick(edit, Qt::Key_Delete);  // the 0xFF
  QTest::keyClicks(edit, "ov.");
  edit->moveCursor(QTextCursor::Start);
  edit->moveCursor(QTextCursor::Right);  // past the byte-order mark
  QTest::keyClicks(edit, "x");
  pump();
  save("edit");
  EXPECT_EQ(bytesOf("edit"), "\xEF\xBB\xBFx\xE9t\xE9\nov.|\xE2\x80\xA8\n");
}

// Find on Qt: the keys of the find field reach the logic, the match is
// selected across characters that take one, two and four bytes, and nothing
// is edited.
TEST_F(EditorQtTest, FindSelectsTheMatchAndEditsNothing) {
  writeFile(dir_.path() + "find.txt", "caf\xC3\xA9 \xF0\x9F\x98\x80 ov.ImageX\nov.imagex\n");
  openEditor();
  QPlainTextEdit* edit = editorOf("find");
  editor_.find();
  auto* field = qobject_cast<QLineEdit*>(toolkit_.controlWidget(Control::FindField));
  ASSERT_NE(field, nullptr);
  EXPECT_TRUE(field->hasFocus());
  QTest::keyClicks(field, "OV.IMAGEX");
  QTest::keyClick(field, Qt::Key_Return);
  pump();
  EXPECT_EQ(edit->textCursor().selectedText(), "ov.ImageX");
  EXPECT_EQ(edit->textCursor().selectionStart(), 8);  // é is one unit, the emoji two
  EXPECT_EQ(toolkit_.selection(Control::FirstEditor), (TextRange{11, 9}));
  QTest::keyClick(field, Qt::Key_Return, Qt::ShiftModifier);
  pump();
  EXPECT_EQ(edit->textCursor().selectionStart(), 18);  // round the start to the last
  editor_.findNext();
  EXPECT_EQ(edit->textCursor().selectionStart(), 8);
  QTest::keyClick(field, Qt::Key_Escape);
  pump();
  EXPECT_EQ(toolkit_.controlWidget(Control::FindField), nullptr);
  EXPECT_EQ(tabs()->tabText(tabOf("find")), "find");  // not marked as edited
  EXPECT_FALSE(toolkit_.isEdited(Window::ScriptEditor));
  EXPECT_EQ(bytesOf("find"), "caf\xC3\xA9 \xF0\x9F\x98\x80 ov.ImageX\nov.imagex\n");
}

}  // namespace
}  // namespace oz
