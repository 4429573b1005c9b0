// One window of the toolkit: a client area (`content`) where the controls
// stand at absolute positions, under an optional menu bar.
//
// A click on the close button is only reported (the logic decides whether
// the window closes); resizes of the client area and activation are reported
// too. The object name is "window-N".
#pragma once

#include <QMainWindow>
#include <functional>

#include "toolkit/toolkit.h"

class QMenu;

namespace oz {

struct WindowCallbacks {
  std::function<void(int window)> closeRequested;
  std::function<void(int window)> resized;
  std::function<void(int window)> activated;
};

class ToolkitWindow : public QMainWindow {
 public:
  ToolkitWindow(int number, const QString& title, QSize client, const WindowStyle& style,
                WindowCallbacks callbacks);

  int number() const { return number_; }
  QWidget* content() const { return content_; }
  const WindowStyle& style() const { return style_; }

  // Shows the window at its place (centred on the screen, or over `over`)
  // and makes it the active window.
  void placeAndShow(QWidget* over);
  void addMenu(QMenu* menu);
  void hideZoomButton();
  void setMinimumClientSize(QSize size);
  void setTitle(const QString& title);

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  class Content;  // reports resizes of the client area

  Qt::WindowFlags flags() const;
  // Runs `change` to the window's frame and restores the client size after it.
  void keepClientSize(const std::function<void()>& change);
  // The client area's size once laid out for the window's present size.
  QSize laidOutClientSize();

  const int number_;
  const WindowStyle style_;
  WindowCallbacks callbacks_;
  QWidget* content_;  // a Content
  bool zoomHidden_ = false;
  bool untitled_ = false;  // the title is empty, also on platforms that fill it in
};

}  // namespace oz
