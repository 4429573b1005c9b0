// While the program is busy with a long command, user input is dropped, so
// the windows take no input until the command ends. Installed as an
// application-wide event filter.
#pragma once

#include <QObject>

namespace oz {

class InputGuard : public QObject {
 public:
  void setBusy(bool busy) { busy_ = busy; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool busy_ = false;
};

}  // namespace oz
