#include "editor/find_bar.h"

#include <optional>

#include "editor/find_text.h"

namespace oz {
namespace {

// Right of "+", within the top row above the tab panel.
constexpr Rect kLabelPlace{295, 15, 35, 20};
constexpr Rect kFieldPlace{330, 15, 150, 20};
constexpr Rect kStatusPlace{485, 15, 75, 20};

constexpr std::string_view kNotFound = "Not found";
constexpr std::string_view kWrapped = "Wrapped";

}  // namespace

void FindBar::open() {
  if (!shown_) {
    const int w = Window::ScriptEditor;
    toolkit_.createLabel(w, Control::FindLabel, kLabelPlace, "Find:", LabelAlign::Left);
    toolkit_.createFindField(w, Control::FindField, kFieldPlace);
    toolkit_.setText(Control::FindField, text_);
    toolkit_.createLabel(w, Control::FindStatus, kStatusPlace, "", LabelAlign::Left);
    shown_ = true;
  }
  toolkit_.focus(Control::FindField);
}

void FindBar::close(int editor) {
  if (!shown_) return;
  text_ = toolkit_.text(Control::FindField);
  for (const int control : {Control::FindLabel, Control::FindField, Control::FindStatus}) {
    toolkit_.removeControl(control);
  }
  shown_ = false;
  if (editor >= 0) toolkit_.focus(editor);
}

void FindBar::fieldKey(FieldKey key, int editor) {
  switch (key) {
    case FieldKey::Return:
      find(editor, true);
      break;
    case FieldKey::ShiftReturn:
      find(editor, false);
      break;
    case FieldKey::Escape:
      close(editor);
      break;
    case FieldKey::None:
      break;
  }
}

void FindBar::find(int editor, bool next) {
  if (shown_) text_ = toolkit_.text(Control::FindField);
  if (text_.empty() || editor < 0) {
    open();
    return;
  }
  const std::optional<FindMatch> match =
      findMatch(toolkit_.text(editor), text_, toolkit_.selection(editor),
                next ? FindDirection::Next : FindDirection::Previous);
  if (!match) {
    // Said where the user looks for it, without a box to dismiss per miss.
    open();
    setStatus(kNotFound);
    return;
  }
  toolkit_.selectText(editor, match->range);
  if (shown_) setStatus(match->wrapped ? kWrapped : "");
}

void FindBar::setStatus(std::string_view status) { toolkit_.setText(Control::FindStatus, status); }

}  // namespace oz
