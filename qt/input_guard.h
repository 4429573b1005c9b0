// While the program is busy with a long command, user input is dropped, so
// the windows take no input until the command ends, except the one widget
// allowed (the progress dialog). Installed as an
// application-wide event filter.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace oz {

class InputGuard : public QObject {
 public:
  void setBusy(bool busy) { busy_ = busy; }
  // Lets input reach `widget` (and what it holds) while busy: the progress
  // dialog's Cancel. Forgotten when the widget is destroyed.
  void allow(QWidget* widget) { allowed_ = widget; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool allowsInput(QObject* watched) const;

  bool busy_ = false;
  QPointer<QWidget> allowed_;
};

}  // namespace oz
