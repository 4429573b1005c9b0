// The Script Editor window: one tab per template script, each with a
// plain-text editor, buttons that insert the template tags, and commands to
// create, save and delete scripts. One edited mark covers all tabs; closing
// with the mark set offers to save the script edited last.
//
// The object lives as long as the program; the window may be opened, rebuilt
// and closed many times. The event loop hands it every event and it takes
// those that belong to the window.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "editor/highlight.h"
#include "store/settings_store.h"
#include "store/support_dir.h"
#include "toolkit/toolkit.h"

namespace oz {

class ScriptEditor {
 public:
  // `refreshScriptList` rebuilds the main window's "Export Script" list; it
  // is called after a script is created or deleted.
  ScriptEditor(Toolkit& toolkit, SettingsStore& settings, SupportDir supportDir,
               std::function<void()> refreshScriptList);
  ScriptEditor(const ScriptEditor&) = delete;
  ScriptEditor& operator=(const ScriptEditor&) = delete;

  // Builds the window from the script files, closing an open one first
  // without asking (its unsaved text is discarded). Re-opens the settings
  // store, so its pending changes reach the file.
  void open();

  bool isOpen() const;

  // Handles the event if it belongs to the window: its controls, its
  // editors' text changes, its tab changes, its close request. False for any
  // other event. Menu items are the event loop's: it posts a click of "Save
  // Script" or "Delete Script" while this window is the active one.
  bool handleEvent(const Event& event);

  // Lays the controls out for the window's current client size; the resize
  // handler calls it while the window is the active one.
  void relayout();

  // The name of the script whose editor was changed last; kept across
  // window rebuilds and closes. Empty until the first edit.
  const std::string& editedScript() const { return editedScript_; }

 private:
  struct Tab {
    std::string name;  // the tab's title and the script's name
    int editor;        // the control number of the tab's editor
  };

  void newScript();
  void insertTag(int button);
  void deleteScript();
  void saveScript();
  void closeRequested();
  void tabChanged();
  void textChanged(int editor);

  // Writes the editor of `tab` to its script file and reports the outcome.
  // True when the file was written; the edited mark is then cleared.
  bool saveTab(const Tab& tab);
  // Appends a tab with a new editor and selects it.
  void addEditorTab(std::string_view name);
  Rect editorRect() const;  // an editor filling its tab
  void styleEditor(int editor);
  void highlight(int editor);
  int selectedTab() const;
  // The script tab of that name, the newest when a vanished script's tab and
  // its re-created namesake are both there; never the placeholder.
  const Tab* findTab(std::string_view name) const;
  const Tab* tabOfEditor(int editor) const;
  bool ownsEditor(int control) const;
  void message(std::string_view title, std::string_view text);
  bool ask(std::string_view title, std::string_view text);

  Toolkit& toolkit_;
  SettingsStore& settings_;
  const SupportDir supportDir_;
  const std::function<void()> refreshScriptList_;

  std::vector<Tab> tabs_;     // in panel order
  bool placeholder_ = false;  // tab 0 is the " " tab shown when there is no script
  std::string editedScript_;
  int nextEditor_;             // control number for the next editor created
  Highlighting highlighting_;  // reused between recolourings
};

}  // namespace oz
