// Turning the toolkit's descriptions of shortcuts and file filters into Qt's.
#pragma once

#include <QKeySequence>
#include <QString>
#include <string_view>

#include "toolkit/shortcut.h"

namespace oz {

// The command key is Ctrl on this platform, and so is CTRL.
QKeySequence toKeySequence(const Shortcut& shortcut);

// True for Return alone: the one shortcut that must reach its menu item only
// from the main window, because Return types a newline in editors and
// confirms in other windows.
bool isBareReturn(const Shortcut& shortcut);

// "description|pattern" as a Qt name filter, "description (pattern)"; a
// description that already shows the pattern in parentheses is kept as is.
QString toNameFilter(std::string_view filter);

}  // namespace oz
