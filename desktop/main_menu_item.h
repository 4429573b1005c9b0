// Finds an item of the main window's menus by its text, for tests that choose
// it as the user would.
#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QString>

#include "qt/qt_toolkit.h"
#include "toolkit/ids.h"

namespace oz {

// The item whose text is `text` in any menu of the main window; nothing when
// there is none.
inline QAction* mainMenuItem(QtToolkit& toolkit, const QString& text) {
  auto* bar = toolkit.windowWidget(Window::Main)->findChild<QMenuBar*>();
  if (!bar) return nullptr;
  for (QAction* menu : bar->actions()) {
    if (!menu->menu()) continue;
    for (QAction* item : menu->menu()->actions()) {
      if (item->text() == text) return item;
    }
  }
  return nullptr;
}

}  // namespace oz
