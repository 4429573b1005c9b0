// The plain-text editor of the toolkit: no wrapping, plain-text paste with
// every line break made an LF, Shift+Return a plain line break too, and
// colours laid over the text as display formats of each block's layout, so
// that colouring is no edit: no undo step, no change of text, selection,
// modified state or textChanged signal. The caret is drawn in a colour of
// its own (Qt would draw it inverted). Line numbers stand in a margin on the
// left, wide enough for the largest.
#pragma once

#include <QPlainTextEdit>
#include <QTimer>

#include "toolkit/toolkit.h"

namespace oz {

class ScriptTextEdit : public QPlainTextEdit {
 public:
  explicit ScriptTextEdit(QWidget* parent);

  // The text with every line break as LF; positions match the document's.
  QString text() const;
  void applyColouring(const EditorColouring& colouring);
  void setCaretColour(const QColor& colour);
  void setBackgroundColour(const QColor& colour);
  // The margin's width for the present number of lines.
  int lineNumberWidth() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  class LineNumbers;
  friend class LineNumbers;
  void paintLineNumbers(QPaintEvent* event);
  void fitLineNumbers();

  QRect caretRect() const;
  // Shows the caret at once and restarts its blinking, as after a keystroke.
  void showCaret();
  void blink();

  QColor caretColour_;
  bool caretOn_ = false;
  QRect paintedCaret_;  // where the caret was drawn last, to erase it
  QTimer blinkTimer_;
  QWidget* lineNumbers_;
};

QColor toQColor(const Colour& colour);

}  // namespace oz
