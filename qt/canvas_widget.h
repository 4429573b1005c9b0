// The widget behind a canvas control: paints a CanvasPicture and reports the
// pointer's moves and the wheel.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "toolkit/toolkit.h"

namespace oz {

class CanvasWidget : public QWidget {
 public:
  struct Callbacks {
    std::function<void(int x, int y)> pointerMoved;  // (-1, -1) when it leaves
    std::function<void(int steps)> wheel;
  };

  CanvasWidget(QWidget* parent, Callbacks callbacks);

  void setPicture(const CanvasPicture& picture);
  const CanvasPicture& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  Callbacks callbacks_;
  CanvasPicture picture_;
  QImage image_;        // a view of picture_.rgba, no copy
  int wheelAngle_ = 0;  // eighths of a degree not yet a whole notch
};

}  // namespace oz
