#include "qt/toolkit_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>

#include "qt/x11_title.h"

namespace oz {

// Reports a changed client size, once the window is shown: the first layout
// of a new window is no resize the logic needs to hear of.
class ToolkitWindow::Content : public QWidget {
 public:
  explicit Content(std::function<void()> resized) : resized_(std::move(resized)) {}

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    if (window()->isVisible() && event->oldSize().isValid() && event->oldSize() != event->size()) {
      resized_();
    }
  }

 private:
  std::function<void()> resized_;
};

ToolkitWindow::ToolkitWindow(int number, const QString& title, QSize client,
                             const WindowStyle& style, WindowCallbacks callbacks)
    : number_(number),
      style_(style),
      callbacks_(std::move(callbacks)),
      content_(new Content([this] { callbacks_.resized(number_); })) {
  setObjectName(QString("window-%1").arg(number));
  setAttribute(Qt::WA_DeleteOnClose, false);
  setWindowFlags(flags());
  setTitle(title);
  setCentralWidget(content_);
  if (style.closesWithEscape) {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, this,
                     [this] { callbacks_.closeRequested(number_); });
  }
  if (style.resizable) {
    content_->resize(client);
    resize(client);
  } else {
    content_->setFixedSize(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
  }
}

Qt::WindowFlags ToolkitWindow::flags() const {
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (style_.closeButton) flags |= Qt::WindowCloseButtonHint;
  if (style_.minimiseButton) flags |= Qt::WindowMinimizeButtonHint;
  if (style_.resizable && !zoomHidden_) flags |= Qt::WindowMaximizeButtonHint;
  return flags;
}

void ToolkitWindow::setTitle(const QString& title) {
  untitled_ = title.isEmpty();
  // "[*]" is where the edited mark appears.
  QString escaped = title;
  setWindowTitle(escaped.replace("[*]", "[**]") + "[*]");
}

QSize ToolkitWindow::laidOutClientSize() {
  // A window that is not shown takes a new size at once but lays its
  // content out only when shown: until then the content keeps its old size.
  layout()->invalidate();
  layout()->activate();
  return content_->size();
}

void ToolkitWindow::keepClientSize(const std::function<void()>& change) {
  const QSize client = style_.resizable ? laidOutClientSize() : QSize();
  change();
  if (!client.isValid()) return;
  resize(size() + client - laidOutClientSize());
}

void ToolkitWindow::placeAndShow(QWidget* over) {
  // The frame is not known before the first show; the client area stands
  // for it when centring.
  // Sizes the window to its client area and menu bar before it is centred.
  keepClientSize([this] { layout()->activate(); });
  QRect frame(QPoint(), size());
  QScreen* screen = over ? over->screen() : QGuiApplication::primaryScreen();
  if (over) {
    frame.moveCenter(over->frameGeometry().center());
  } else if (screen) {
    frame.moveCenter(screen->availableGeometry().center());
  }
  move(frame.topLeft());
  show();
  raise();
  activateWindow();
}

void ToolkitWindow::addMenu(QMenu* menu) {
  keepClientSize([this, menu] {
    menuBar()->addMenu(menu);
    // A menu bar made after the window was shown starts hidden.
    menuBar()->setVisible(true);
  });
}

void ToolkitWindow::hideZoomButton() {
  zoomHidden_ = true;
  const bool shown = isVisible();
  setWindowFlags(flags());  // hides the window
  if (shown) show();
}

void ToolkitWindow::setMinimumClientSize(QSize size) {
  keepClientSize([this, size] { content_->setMinimumSize(size); });
}

void ToolkitWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  callbacks_.closeRequested(number_);
}

bool ToolkitWindow::event(QEvent* event) {
  const bool handled = QMainWindow::event(event);
  // Each of these follows a (re)writing of the native title.
  const QEvent::Type type = event->type();
  if (untitled_ && (type == QEvent::Show || type == QEvent::WindowTitleChange ||
                    type == QEvent::ModifiedChange)) {
    clearX11Title(this);
  }
  return handled;
}

void ToolkitWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    callbacks_.activated(number_);
  }
}

}  // namespace oz
