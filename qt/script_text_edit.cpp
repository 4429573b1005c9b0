#include "qt/script_text_edit.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>
#include <vector>

namespace oz {
namespace {

constexpr int kCaretWidth = 2;
constexpr int kTabWidth = 4;  // in characters

// Adds the part of `span` that falls into the block at [blockStart, blockEnd)
// to `ranges`, in block coordinates.
void addClipped(QList<QTextLayout::FormatRange>& ranges, const ColourSpan& span, int blockStart,
                int blockEnd, const QTextCharFormat& format) {
  const int start = std::max(span.start, blockStart);
  const int end = std::min(span.start + span.length, blockEnd);
  if (start >= end) return;
  ranges.append({start - blockStart, end - start, format});
}

constexpr int kLineNumberPadding = 6;  // on each side of the numbers

}  // namespace

// The margin's widget; ScriptTextEdit paints it, since only it knows where
// each line stands.
class ScriptTextEdit::LineNumbers : public QWidget {
 public:
  explicit LineNumbers(ScriptTextEdit* editor) : QWidget(editor), editor_(editor) {
    setObjectName("line-numbers");
  }

 protected:
  void paintEvent(QPaintEvent* event) override { editor_->paintLineNumbers(event); }

 private:
  ScriptTextEdit* editor_;
};

QColor toQColor(const Colour& colour) {
  return QColor::fromRgbF(static_cast<float>(colour.red), static_cast<float>(colour.green),
                          static_cast<float>(colour.blue), static_cast<float>(colour.alpha));
}

ScriptTextEdit::ScriptTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFrameShape(QFrame::StyledPanel);
  setCursorWidth(0);  // the caret is drawn by paintEvent
  caretColour_ = palette().color(QPalette::Text);
  connect(&blinkTimer_, &QTimer::timeout, this, [this] { blink(); });
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] { showCaret(); });
  lineNumbers_ = new LineNumbers(this);
  connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { fitLineNumbers(); });
  connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
    if (dy != 0) {
      lineNumbers_->scroll(0, dy);
    } else {
      lineNumbers_->update(0, rect.y(), lineNumbers_->width(), rect.height());
    }
  });
  fitLineNumbers();
}

int ScriptTextEdit::lineNumberWidth() const {
  const QString largest = QString::number(std::max(blockCount(), 1));
  return fontMetrics().horizontalAdvance(largest) + 2 * kLineNumberPadding;
}

void ScriptTextEdit::fitLineNumbers() {
  setViewportMargins(lineNumberWidth(), 0, 0, 0);
  const QRect area = contentsRect();
  lineNumbers_->setGeometry(area.left(), area.top(), lineNumberWidth(), area.height());
}

void ScriptTextEdit::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  fitLineNumbers();
}

void ScriptTextEdit::paintLineNumbers(QPaintEvent* event) {
  QPainter painter(lineNumbers_);
  painter.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
  painter.setPen(palette().color(QPalette::PlaceholderText));
  const int numberWidth = lineNumbers_->width() - kLineNumberPadding;
  QTextBlock block = firstVisibleBlock();
  qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
  while (block.isValid() && top <= event->rect().bottom()) {
    const qreal height = blockBoundingRect(block).height();
    if (block.isVisible() && top + height >= event->rect().top()) {
      painter.drawText(0, static_cast<int>(top), numberWidth, fontMetrics().height(),
                       Qt::AlignRight, QString::number(block.blockNumber() + 1));
    }
    top += height;
    block = block.next();
  }
}

QRect ScriptTextEdit::caretRect() const {
  QRect rect = cursorRect();
  rect.setWidth(kCaretWidth);
  return rect;
}

void ScriptTextEdit::showCaret() {
  if (!hasFocus()) return;
  caretOn_ = true;
  const int flash = QApplication::cursorFlashTime();
  if (flash > 0) blinkTimer_.start(flash / 2);
  viewport()->update(paintedCaret_);
  viewport()->update(caretRect());
}

void ScriptTextEdit::blink() {
  caretOn_ = !caretOn_;
  viewport()->update(paintedCaret_);
  viewport()->update(caretRect());
}

void ScriptTextEdit::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  showCaret();
}

void ScriptTextEdit::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  blinkTimer_.stop();
  caretOn_ = false;
  viewport()->update(paintedCaret_);
}

void ScriptTextEdit::changeEvent(QEvent* event) {
  QPlainTextEdit::changeEvent(event);
  // Tabs every four characters, as in code editors, not Qt's 80 pixels.
  if (event->type() == QEvent::FontChange) {
    setTabStopDistance(kTabWidth * QFontMetricsF(font()).horizontalAdvance(' '));
    fitLineNumbers();
  }
}

void ScriptTextEdit::paintEvent(QPaintEvent* event) {
  QPlainTextEdit::paintEvent(event);
  if (!caretOn_ || !hasFocus() || isReadOnly()) return;
  paintedCaret_ = caretRect();
  QPainter painter(viewport());
  painter.fillRect(paintedCaret_, caretColour_);
}

QString ScriptTextEdit::text() const {
  QString text = document()->toRawText();
  text.replace(QChar::ParagraphSeparator, '\n');
  text.replace(QChar::LineSeparator, '\n');
  return text;
}

void ScriptTextEdit::applyColouring(const EditorColouring& colouring) {
  QTextDocument* doc = document();
  // Each span goes to the lines it covers only, found by position, so a call
  // costs the spans plus the lines rather than their product: the editor
  // recolours the whole script on every keystroke.
  std::vector<QList<QTextLayout::FormatRange>> lineRanges(static_cast<size_t>(doc->blockCount()));
  QTextCharFormat textFormat;
  textFormat.setForeground(toQColor(colouring.text));
  for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
    // The block's length counts its line break, which takes no colour.
    lineRanges[static_cast<size_t>(block.blockNumber())].append(
        {0, block.length() - 1, textFormat});
  }
  // Later ranges are merged over earlier ones, so a span wins over the default
  // colour and a later span over an earlier one.
  const auto distribute = [&](const ColourSpan& span, const QTextCharFormat& format) {
    const int spanEnd = span.start + span.length;
    for (QTextBlock block = doc->findBlock(std::max(span.start, 0));
         block.isValid() && block.position() < spanEnd; block = block.next()) {
      const int blockStart = block.position();
      addClipped(lineRanges[static_cast<size_t>(block.blockNumber())], span, blockStart,
                 blockStart + block.length() - 1, format);
    }
  };
  for (const ColourSpan& span : colouring.foreground) {
    QTextCharFormat format;
    format.setForeground(toQColor(span.colour));
    distribute(span, format);
  }
  for (const ColourSpan& span : colouring.background) {
    QTextCharFormat format;
    format.setBackground(toQColor(span.colour));
    distribute(span, format);
  }
  for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
    block.layout()->setFormats(lineRanges[static_cast<size_t>(block.blockNumber())]);
  }
  // Lays the blocks out and repaints them; this is no change of content.
  doc->markContentsDirty(0, doc->characterCount());
}

void ScriptTextEdit::setCaretColour(const QColor& colour) {
  caretColour_ = colour;
  viewport()->update(caretRect());
}

void ScriptTextEdit::setBackgroundColour(const QColor& colour) {
  QPalette p = palette();
  p.setColor(QPalette::Base, colour);
  setPalette(p);
}

void ScriptTextEdit::keyPressEvent(QKeyEvent* event) {
  // Shift+Return would insert a soft line separator; scripts know only lines.
  if (event == QKeySequence::InsertLineSeparator) {
    insertPlainText("\n");
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void ScriptTextEdit::insertFromMimeData(const QMimeData* source) {
  if (!source->hasText()) return;
  QString text = source->text();
  text.replace("\r\n", "\n");
  text.replace('\r', '\n');
  insertPlainText(text);
}

}  // namespace oz
