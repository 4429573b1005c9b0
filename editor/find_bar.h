// The Script Editor's find bar: "Find:" and a field in the window's top row,
// and a short status beside them. Ctrl+F opens it, Return or F3 finds the
// next match in the current tab's editor, Shift+Return or Shift+F3 the
// previous one, going round the end; Escape closes it. The match is selected
// and scrolled into view; the text is never changed, so finding is no edit.
#pragma once

#include <string>

#include "toolkit/toolkit.h"

namespace oz {

class FindBar {
 public:
  explicit FindBar(Toolkit& toolkit) : toolkit_(toolkit) {}

  // The window was built anew: the bar's controls, if any, went with the old one.
  void windowBuilt() { shown_ = false; }
  bool shown() const { return shown_; }
  // The text searched for last (or typed in the bar), kept while the program runs.
  const std::string& text() const { return text_; }

  // Ctrl+F: shows the bar with the last text and gives it the focus.
  void open();
  // F3 and Shift+F3 in `editor`; with nothing to search for yet, they open
  // the bar instead.
  void findNext(int editor) { find(editor, true); }
  void findPrevious(int editor) { find(editor, false); }
  // A key reported by the bar's field.
  void fieldKey(FieldKey key, int editor);

 private:
  void find(int editor, bool next);
  void close(int editor);
  void setStatus(std::string_view status);

  Toolkit& toolkit_;
  bool shown_ = false;
  std::string text_;
};

}  // namespace oz
