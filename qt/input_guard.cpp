#include "qt/input_guard.h"

#include <QEvent>
#include <QWindow>

namespace oz {
namespace {

bool isUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
      return true;
    default:
      return false;
  }
}

}  // namespace

// Input reaches a widget through its top-level window first.
bool InputGuard::allowsInput(QObject* watched) const {
  if (!allowed_) return false;
  if (auto* window = qobject_cast<QWindow*>(watched)) return window == allowed_->windowHandle();
  auto* widget = qobject_cast<QWidget*>(watched);
  return widget != nullptr && (widget == allowed_ || allowed_->isAncestorOf(widget));
}

bool InputGuard::eventFilter(QObject* watched, QEvent* event) {
  if (busy_ && isUserInput(event->type()) && !allowsInput(watched)) return true;
  return QObject::eventFilter(watched, event);
}

}  // namespace oz
