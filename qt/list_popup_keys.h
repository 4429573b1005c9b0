// Return and Enter in a drop-down's open list belong to the list alone.
//
// Qt's list chooses the entry and closes while the key is still being offered
// to shortcuts, but does not claim it, so a window's shortcut of Return (the
// main window's "Create Sprite") acts on the same press. Installed on the
// list's popup view, this claims the key for the list: the entry is chosen
// and nothing else happens. Return on the closed list is left alone.
#pragma once

#include <QObject>

class QComboBox;

namespace oz {

class ListPopupKeys : public QObject {
 public:
  // Watches the popup view of `list`, and goes with the list.
  explicit ListPopupKeys(QComboBox* list);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace oz
