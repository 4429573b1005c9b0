#include "qt/key_sequences.h"

#include "qt/qt_strings.h"

namespace oz {

QKeySequence toKeySequence(const Shortcut& shortcut) {
  const QKeySequence key = QKeySequence::fromString(toQ(shortcut.key), QKeySequence::PortableText);
  if (key.isEmpty()) return {};
  Qt::KeyboardModifiers modifiers;
  if (shortcut.command || shortcut.control) modifiers |= Qt::ControlModifier;
  if (shortcut.shift) modifiers |= Qt::ShiftModifier;
  if (shortcut.alt) modifiers |= Qt::AltModifier;
  return QKeySequence(QKeyCombination(modifiers, key[0].key()));
}

bool isBareReturn(const Shortcut& shortcut) {
  return shortcut.key == "Return" && !shortcut.command && !shortcut.shift && !shortcut.alt &&
         !shortcut.control;
}

QString toNameFilter(std::string_view filter) {
  const size_t bar = filter.find('|');
  if (bar == std::string_view::npos) return toQ(filter);
  const QString description = toQ(filter.substr(0, bar)).trimmed();
  const QString pattern = toQ(filter.substr(bar + 1)).trimmed();
  if (description.contains("(" + pattern + ")")) return description;
  return description.isEmpty() ? "(" + pattern + ")" : description + " (" + pattern + ")";
}

}  // namespace oz
