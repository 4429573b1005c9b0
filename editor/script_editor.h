// The Script Editor window: one tab per template script, each with a
// plain-text editor, buttons that insert the template tags, and commands to
// create, save and delete scripts. A tab is edited from a change of its text
// until it is saved; its title then ends in " *" and the window carries the
// edited mark. Closing or rebuilding the window, and quitting, first offer to
// save every edited script.
//
// The object lives as long as the program; the window may be opened, rebuilt
// and closed many times. The event loop hands it every event and it takes
// those that belong to the window.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "editor/find_bar.h"
#include "editor/highlight.h"
#include "editor/script_preview_pane.h"
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

  // Builds the window from the script files. An open window is closed
  // first, once offerToSaveEdits agrees; otherwise nothing changes.
  // Re-opens the settings store, so its pending changes reach the file.
  void open();

  bool isOpen() const;

  // Where the live preview's frames and options come from (see ScriptPreviewPane).
  void setPreviewSource(std::function<BuildOptions()> options, std::string exampleFrames);
  // Shows or hides the live preview pane; opens the window with the pane
  // when it is closed.
  void togglePreview();

  // Gives every script in the support directory that has no tab yet a tab of
  // its own, after the others, reading its file; the selected tab stays.
  // Scripts installed from the gallery or added outside the program so
  // appear in an open window. A tab whose file has gone stays, with its text.
  void addNewScripts();

  // "Find...", "Find Next" and "Find Previous" in the current tab (see
  // FindBar); the event loop calls them while this window is the active one.
  void find();
  void findNext();
  void findPrevious();

  // Handles the event if it belongs to the window: its controls, its
  // editors' text changes, its tab changes, its close request. False for any
  // other event. Menu items are the event loop's: it posts a click of "Save
  // Script" or "Delete Script" while this window is the active one.
  bool handleEvent(const Event& event);

  // Lays the controls out for the window's current client size; the resize
  // handler calls it while the window is the active one.
  void relayout();

  // Asks "Save Script?" for every edited script in tab order: Yes saves it,
  // No leaves its file as it is. False when the user cancels (Cancel, Escape,
  // closing the question) or a save fails: the caller must then close
  // nothing. True at once when the window is closed or nothing is edited.
  bool offerToSaveEdits();

 private:
  struct Tab {
    std::string name;     // the script's name; the tab's title when not edited
    int editor;           // the control number of the tab's editor
    bool edited = false;  // changed since it was loaded or saved
  };

  // Opens the window with its controls and the placeholder tab. False when
  // the window could not be opened.
  bool buildWindow();
  // Gives each script a tab holding its text and selects the remembered one.
  void loadTabs();
  void newScript();
  void insertTag(int button);
  // Inserts the word chosen in the list under the tag buttons.
  void insertChosenWord();
  void deleteScript();
  void saveScript();
  void closeRequested();
  void tabChanged();
  void textChanged(int editor);

  // Writes the editor of tab `index` to its script file and reports the
  // outcome. True when the file was written; the tab is then no longer edited.
  bool saveTab(size_t index);
  // Sets the edited state of tab `index`, its title and the window's mark.
  void setTabEdited(size_t index, bool edited);
  // The window's mark: whether any tab is edited.
  void updateEditedMark();
  // Appends a tab with a new editor and selects it.
  void addEditorTab(std::string_view name);
  Rect editorRect() const;  // an editor filling its tab
  // The panel's width and the pane's place when the pane shares its room.
  void placePreview(int panelWidth);
  void refreshPreview();
  void styleEditor(int editor);
  void highlight(int editor);
  int selectedTab() const;
  // The selected tab's editor, or -1.
  int selectedEditor() const;
  // The index of the tab holding `editor`, or -1 when it is gone.
  int tabOfEditor(int editor) const;
  bool ownsEditor(int control) const;
  void message(std::string_view title, std::string_view text);
  bool ask(std::string_view title, std::string_view text);

  Toolkit& toolkit_;
  SettingsStore& settings_;
  const SupportDir supportDir_;
  const std::function<void()> refreshScriptList_;

  std::vector<Tab> tabs_;      // in panel order
  bool placeholder_ = false;   // tab 0 is the " " tab shown when there is no script
  int nextEditor_;             // control number for the next editor created
  Highlighting highlighting_;  // reused between recolourings
  ScriptPreviewPane preview_;
  FindBar find_;
};

}  // namespace oz
