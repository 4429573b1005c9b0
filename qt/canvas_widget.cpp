#include "qt/canvas_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "qt/qt_strings.h"

namespace oz {
namespace {

constexpr int kCheckerSquare = 8;
constexpr int kNotch = 120;  // a wheel's notch, in eighths of a degree

QRect toQRect(const Rect& r) { return QRect(r.x, r.y, r.width, r.height); }

QPixmap checkerTile() {
  QPixmap tile(kCheckerSquare * 2, kCheckerSquare * 2);
  tile.fill(QColor(255, 255, 255));
  QPainter painter(&tile);
  const QColor grey(204, 204, 204);
  painter.fillRect(kCheckerSquare, 0, kCheckerSquare, kCheckerSquare, grey);
  painter.fillRect(0, kCheckerSquare, kCheckerSquare, kCheckerSquare, grey);
  return tile;
}

}  // namespace

CanvasWidget::CanvasWidget(QWidget* parent, Callbacks callbacks)
    : QWidget(parent), callbacks_(std::move(callbacks)) {
  setMouseTracking(true);
}

void CanvasWidget::setPicture(const CanvasPicture& picture) {
  picture_ = picture;
  const bool whole = picture_.rgba && picture_.imageWidth > 0 && picture_.imageHeight > 0 &&
                     picture_.rgba->size() == static_cast<size_t>(picture_.imageWidth) *
                                                  static_cast<size_t>(picture_.imageHeight) * 4;
  image_ = whole ? QImage(picture_.rgba->data(), picture_.imageWidth, picture_.imageHeight,
                          picture_.imageWidth * 4, QImage::Format_RGBA8888)
                 : QImage();
  update();
}

void CanvasWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect target = toQRect(picture_.target);
  if (picture_.checkerboard && !target.isEmpty()) {
    painter.drawTiledPixmap(target, checkerTile());
  }
  if (!image_.isNull() && !target.isEmpty()) {
    // Nearest neighbour: a pixel artist checks pixels, not a blur of them.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, image_, toQRect(picture_.source));
  }
  for (size_t i = 0; i < picture_.outlines.size(); ++i) {
    const bool strong = static_cast<int>(i) == picture_.highlighted;
    painter.setPen(QPen(strong ? QColor(255, 140, 0) : QColor(0, 120, 215, 160), strong ? 2 : 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(toQRect(picture_.outlines[i]).adjusted(0, 0, -1, -1));
  }
  if (!picture_.caption.empty()) {
    const QString caption = toQ(picture_.caption);
    const QRect box = painter.fontMetrics().boundingRect(caption).adjusted(-4, -2, 4, 2);
    const QRect placed(4, 4, box.width(), box.height());
    painter.fillRect(placed, QColor(0, 0, 0, 180));
    painter.setPen(Qt::white);
    painter.drawText(placed, Qt::AlignCenter, caption);
  }
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (callbacks_.pointerMoved) callbacks_.pointerMoved(at.x(), at.y());
}

void CanvasWidget::leaveEvent(QEvent*) {
  if (callbacks_.pointerMoved) callbacks_.pointerMoved(-1, -1);
}

void CanvasWidget::wheelEvent(QWheelEvent* event) {
  wheelAngle_ += event->angleDelta().y();
  const int steps = wheelAngle_ / kNotch;
  wheelAngle_ -= steps * kNotch;
  if (steps != 0 && callbacks_.wheel) callbacks_.wheel(steps);
  event->accept();
}

}  // namespace oz
