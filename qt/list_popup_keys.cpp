#include "qt/list_popup_keys.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>

namespace oz {

ListPopupKeys::ListPopupKeys(QComboBox* list) : QObject(list) {
  // Filters run newest first, so this one sees the key before the list's own
  // filter, which was installed when the view was made.
  list->view()->installEventFilter(this);
}

bool ListPopupKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    // Accepted, the key is the focus widget's and no shortcut sees it; the
    // list's own filter still runs and chooses the entry.
    if (key == Qt::Key_Return || key == Qt::Key_Enter) event->accept();
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace oz
