// The plain-text editor of the toolkit: no wrapping, plain-text paste with
// every line break made an LF, Shift+Return a plain line break too, and
// colours laid over the text as display formats of each block's layout, so
// that colouring is no edit: no undo step, no change of text, selection,
// modified state or textChanged signal.
#ifndef OZ_QT_SCRIPT_TEXT_EDIT_H_
#define OZ_QT_SCRIPT_TEXT_EDIT_H_

#include <QPlainTextEdit>

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

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;
};

QColor toQColor(const Colour& colour);

}  // namespace oz

#endif  // OZ_QT_SCRIPT_TEXT_EDIT_H_
