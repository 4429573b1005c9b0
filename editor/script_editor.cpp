#include "editor/script_editor.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "base/byte_text.h"
#include "editor/editor_layout.h"
#include "editor/editor_text.h"
#include "editor/highlight.h"
#include "script/template_words.h"
#include "store/script_store.h"

namespace oz {
namespace {

constexpr std::string_view kTitle = "Script Editor";
// The tab shown while the store holds no script; it stands for no file.
constexpr std::string_view kPlaceholderTitle = " ";
// Follows the title of a tab whose text was changed since it was saved.
constexpr std::string_view kEditedSuffix = " *";

constexpr Colour kEditorBackground{32 / 255.0, 16 / 255.0, 0.0, 1.0};
constexpr Colour kCaretColour{1.0, 1.0, 1.0, 1.0};
constexpr std::string_view kEditorFont = "Menlo";
constexpr double kEditorPoints = 14;

// Top to bottom, numbered from Control::TagImageX: the eleven tags, then the
// markers.
constexpr std::array<std::string_view, 14> kTagButtons = [] {
  std::array<std::string_view, 14> words{};
  std::copy(kTagNames.begin(), kTagNames.end(), words.begin());
  words[11] = kRepeatMarker;
  words[12] = kUntilMarker;
  words[13] = kExtensionMarker;
  return words;
}();
static_assert(Control::TagImageX + kTagButtons.size() - 1 == Control::TagExtension);

// Under the buttons, the list of the exact words: its first entry names it,
// choosing another inserts that word.
constexpr std::string_view kMoreTagsEntry = "More Tags...";

// A message text naming a script: the name stands in straight double quotes.
std::string quoted(std::string_view before, std::string_view name, std::string_view after) {
  std::string text(before);
  text += '"';
  text += name;
  text += '"';
  text += after;
  return text;
}

}  // namespace

ScriptEditor::ScriptEditor(Toolkit& toolkit, SettingsStore& settings, SupportDir supportDir,
                           std::function<void()> refreshScriptList)
    : toolkit_(toolkit),
      settings_(settings),
      supportDir_(std::move(supportDir)),
      refreshScriptList_(std::move(refreshScriptList)),
      nextEditor_(Control::FirstFree),
      preview_(toolkit),
      find_(toolkit) {}

bool ScriptEditor::isOpen() const { return toolkit_.isWindowOpen(Window::ScriptEditor); }

void ScriptEditor::open() {
  if (isOpen()) {
    if (!offerToSaveEdits()) return;
    toolkit_.closeWindow(Window::ScriptEditor);
  }
  tabs_.clear();
  // The editors went with the old window. Numbering them afresh gives each
  // script the same editor number at every building, so "Tab ID's" keeps its
  // values and the settings file stays as it is.
  nextEditor_ = Control::FirstFree;
  if (!buildWindow()) return;
  toolkit_.setMenuItemEnabled(MenuItem::SaveScript, true);
  toolkit_.setMenuItemEnabled(MenuItem::DeleteScript, true);
  if (preview_.shown()) {
    preview_.create({});
    relayout();
  }
  loadTabs();
  refreshPreview();
}

bool ScriptEditor::buildWindow() {
  WindowStyle style;
  style.resizable = true;
  if (!toolkit_.openWindow(Window::ScriptEditor, kTitle, kEditorWindowWidth, kEditorWindowHeight,
                           style)) {
    return false;
  }
  toolkit_.setMinimumSize(Window::ScriptEditor, kEditorWindowWidth, kEditorWindowHeight);
  find_.windowBuilt();
  constexpr EditorPlaces places = editorPlacesWhenBuilt();
  const int w = Window::ScriptEditor;
  toolkit_.createLabel(w, Control::ScriptNameLabel, places.nameLabel,
                       "Script Name:", LabelAlign::Left);
  toolkit_.createTextField(w, Control::ScriptNameField, places.nameField, "");
  toolkit_.createButton(w, Control::NewScript, places.newScript, "+");
  toolkit_.createTabPanel(w, Control::TabPanel, places.panel);
  toolkit_.createGroupFrame(w, Control::TagFrame, places.tagFrame, "Script Tags");
  Rect tagButton = places.firstTagButton;
  for (size_t k = 0; k < kTagButtons.size(); ++k) {
    toolkit_.createButton(w, Control::TagImageX + static_cast<int>(k), tagButton, kTagButtons[k]);
    tagButton.y += places.tagButtonPitch;
  }
  // The words without a button of their own, in the place of the next button.
  toolkit_.createList(w, Control::TagMoreList, tagButton);
  toolkit_.addListEntry(Control::TagMoreList, kMoreTagsEntry);
  for (const ExactWord& word : kExactWords) toolkit_.addListEntry(Control::TagMoreList, word.name);
  toolkit_.setState(Control::TagMoreList, 0);
  toolkit_.createButton(w, Control::DeleteScript, places.deleteButton, "Delete Script");
  toolkit_.createButton(w, Control::SaveScript, places.saveButton, "Save Script");

  toolkit_.addTab(Control::TabPanel, kPlaceholderTitle);
  toolkit_.createEditor(Control::TabPanel, 0, Control::FirstEditor, editorRect());
  styleEditor(Control::FirstEditor);
  tabs_.push_back({std::string(kPlaceholderTitle), Control::FirstEditor});
  placeholder_ = true;
  toolkit_.setEdited(Window::ScriptEditor, false);
  return true;
}

void ScriptEditor::loadTabs() {
  // Re-opening writes what the program changed so far and reads the file
  // again, so edits made to it by hand since start-up are seen.
  settings_.open(supportDir_.settingsPath());
  settings_.selectGroup(kTabSelectionGroup);
  // Compared exactly: the store gives the value back without outer blanks,
  // so a name with a leading or trailing blank is never reselected.
  const std::string savedTab = settings_.readText(kSavedTabKey, "");

  int remembered = 0;
  const std::vector<std::string> names = listScripts(supportDir_);
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    if (i == 0) {
      toolkit_.setTabTitle(Control::TabPanel, 0, name);
      tabs_[0].name = name;
      placeholder_ = false;
    } else {
      addEditorTab(name);
    }
    const int editor = tabs_.back().editor;
    settings_.selectGroup(kTabIdsGroup);
    settings_.writeInteger(name, editor);
    if (name == savedTab) remembered = static_cast<int>(i);

    // A file that cannot be read opens as an empty tab; saving it later
    // tells whether the file can be written. Bytes that are no text are
    // shown by stand-ins, which saving turns back into the same bytes.
    std::vector<std::string> lines;
    if (readScriptLines(supportDir_, name, &lines) == ScriptResult::Ok) {
      toolkit_.setText(editor, bytesToText(editorTextFromLines(lines)));
    }
  }

  toolkit_.setState(Control::TabPanel, remembered);
  const int editor = tabs_[remembered].editor;
  highlight(editor);
  toolkit_.focus(editor);
}

void ScriptEditor::addNewScripts() {
  if (!isOpen()) return;
  const int selected = selectedTab();
  for (const std::string& name : listScripts(supportDir_)) {
    const bool shown = std::ranges::any_of(tabs_.begin() + (placeholder_ ? 1 : 0), tabs_.end(),
                                           [&](const Tab& tab) { return tab.name == name; });
    if (shown) continue;
    addEditorTab(name);
    const int editor = tabs_.back().editor;
    settings_.selectGroup(kTabIdsGroup);
    settings_.writeInteger(name, editor);
    std::vector<std::string> lines;
    if (readScriptLines(supportDir_, name, &lines) == ScriptResult::Ok) {
      toolkit_.setText(editor, bytesToText(editorTextFromLines(lines)));
    }
  }
  if (selected >= 0) toolkit_.setState(Control::TabPanel, selected);
}

void ScriptEditor::find() {
  if (isOpen()) find_.open();
}

void ScriptEditor::findNext() {
  if (isOpen()) find_.findNext(selectedEditor());
}

void ScriptEditor::findPrevious() {
  if (isOpen()) find_.findPrevious(selectedEditor());
}

bool ScriptEditor::handleEvent(const Event& event) {
  switch (event.kind) {
    case EventKind::Control:
      if (event.number == Control::FindField) {
        if (isOpen()) find_.fieldKey(event.fieldKey, selectedEditor());
        return true;
      }
      if (event.number < Control::ScriptNameLabel || event.number > Control::SaveScript) {
        return false;
      }
      if (!isOpen()) return true;  // a click posted before the window closed
      if (event.number == Control::NewScript) {
        newScript();
      } else if (event.number >= Control::TagImageX && event.number <= Control::TagExtension) {
        insertTag(event.number);
      } else if (event.number == Control::TagMoreList) {
        insertChosenWord();
      } else if (event.number == Control::DeleteScript) {
        deleteScript();
      } else if (event.number == Control::SaveScript) {
        saveScript();
      }
      return true;
    case EventKind::TabChanged:
      if (event.number != Control::TabPanel) return false;
      if (isOpen()) tabChanged();
      return true;
    case EventKind::TextChanged:
      if (!ownsEditor(event.number)) return false;
      if (isOpen()) textChanged(event.number);
      return true;
    case EventKind::WindowClose:
      if (event.number != Window::ScriptEditor) return false;
      closeRequested();
      return true;
    case EventKind::Timer:
      if (event.number != Timer::ScriptPreview) return false;
      if (isOpen()) refreshPreview();
      return true;
    case EventKind::MenuItem:
    case EventKind::FilesDropped:
    case EventKind::FolderChanged:
    case EventKind::FilesChanged:
    case EventKind::PointerMoved:
    case EventKind::Wheel:
      break;
  }
  return false;
}

void ScriptEditor::setPreviewSource(std::function<BuildOptions()> options,
                                    std::string exampleFrames) {
  preview_.setSource(std::move(options), std::move(exampleFrames));
}

void ScriptEditor::togglePreview() {
  if (!isOpen()) {
    preview_.setShown(true);
    open();
  } else {
    preview_.setShown(!preview_.shown());
    if (preview_.shown()) {
      preview_.create({});
      relayout();
      refreshPreview();
    } else {
      preview_.remove();
      relayout();
    }
  }
  // Choosing the item toggled its tick; the pane decides what it shows.
  toolkit_.setMenuItemChecked(MenuItem::ScriptPreview, preview_.shown());
}

// The pane takes the right half of the panel's room.
void ScriptEditor::placePreview(int panelWidth) {
  Rect panel = toolkit_.geometry(Control::TabPanel);
  if (!preview_.shown()) return;
  constexpr int kGap = 8;
  const int half = (panelWidth - kGap) / 2;
  panel.width = half;
  toolkit_.setGeometry(Control::TabPanel, panel);
  preview_.place({panel.x + half + kGap, panel.y, panelWidth - half - kGap, panel.height});
}

void ScriptEditor::refreshPreview() {
  const int index = selectedTab();
  if (index < 0) return;
  preview_.refresh(editorTextToLines(textToBytes(toolkit_.text(tabs_[index].editor))));
}

void ScriptEditor::relayout() {
  if (!isOpen()) return;
  const EditorLayout layout = editorLayoutFor(toolkit_.clientWidth(Window::ScriptEditor),
                                              toolkit_.clientHeight(Window::ScriptEditor));

  Rect panel = toolkit_.geometry(Control::TabPanel);
  panel.width = layout.panelWidth;
  panel.height = layout.panelHeight;
  toolkit_.setGeometry(Control::TabPanel, panel);
  placePreview(layout.panelWidth);
  for (const Tab& tab : tabs_) toolkit_.setGeometry(tab.editor, editorRect());

  Rect button = toolkit_.geometry(Control::DeleteScript);
  toolkit_.setGeometry(Control::DeleteScript,
                       {layout.deleteX, layout.buttonsY, button.width, button.height});
  button = toolkit_.geometry(Control::SaveScript);
  toolkit_.setGeometry(Control::SaveScript,
                       {layout.saveX, layout.buttonsY, button.width, button.height});

  Rect frame = toolkit_.geometry(Control::TagFrame);
  toolkit_.setGeometry(Control::TagFrame,
                       {layout.tagFrameX, frame.y, frame.width, layout.tagFrameHeight});
  for (int k = Control::TagImageX; k <= Control::TagMoreList; ++k) {
    Rect r = toolkit_.geometry(k);
    r.x = layout.tagButtonX;
    toolkit_.setGeometry(k, r);
  }
}

void ScriptEditor::newScript() {
  const std::string name = toolkit_.text(Control::ScriptNameField);
  if (name.empty()) {
    message("Script Name?", "Please create a script name first.");
    return;
  }
  if (!isValidScriptName(name)) {
    message("Script Name?", R"(A script name cannot contain "/" or be "." or "..".)");
    return;
  }
  // Only the file decides: a tab of that name whose file has gone does not.
  if (scriptExists(supportDir_, name)) {
    message("Wait!", quoted("The ", name,
                            " script already exist. Please rename the new script or delete the "
                            "old one."));
    return;
  }
  // The file first, so that a script that could not be created gets no tab.
  if (createEmptyScript(supportDir_, name) != ScriptResult::Ok) {
    message("Save Error!", quoted("Unable to save the ", name, " script."));
    return;
  }
  addEditorTab(name);
  const int editor = tabs_.back().editor;
  settings_.selectGroup(kTabIdsGroup);
  settings_.writeInteger(name, editor);
  toolkit_.setText(Control::ScriptNameField, "");
  toolkit_.focus(editor);
  refreshScriptList_();
}

void ScriptEditor::insertTag(int button) {
  const int index = selectedTab();
  if (index < 0) return;
  const int editor = tabs_[index].editor;
  // Typed as the user would type it: the toolkit reports it as a text change.
  // The extension button starts the whole line's assignment.
  const std::string_view word = kTagButtons[button - Control::TagImageX];
  toolkit_.insertText(
      editor, button == Control::TagExtension ? std::string(word) + " = " : std::string(word));
  toolkit_.focus(editor);
}

void ScriptEditor::insertChosenWord() {
  const int chosen = toolkit_.state(Control::TagMoreList);
  toolkit_.setState(Control::TagMoreList, 0);
  const int index = selectedTab();
  if (chosen < 1 || chosen > static_cast<int>(kExactWords.size()) || index < 0) return;
  toolkit_.insertText(tabs_[index].editor, kExactWords[chosen - 1].name);
  toolkit_.focus(tabs_[index].editor);
}

void ScriptEditor::deleteScript() {
  if (tabs_.size() == 1) {
    message("Wait!", "There needs to be at least one script in the editor.");
    return;
  }
  const int index = selectedTab();
  if (index < 0) return;
  // The placeholder stands for no file: once a script has been created beside
  // it, it simply goes.
  if (placeholder_ && index == 0) {
    toolkit_.removeTab(Control::TabPanel, 0);
    tabs_.erase(tabs_.begin());
    placeholder_ = false;
    return;
  }
  const std::string name = tabs_[index].name;
  if (!ask("Delete Script?", quoted("Are you sure you want to delete the ", name, " script?"))) {
    return;
  }
  // A file that is already gone is no reason to keep its tab.
  if (deleteScriptFile(supportDir_, name) != ScriptResult::Ok && scriptExists(supportDir_, name)) {
    message("Delete Error!", quoted("Unable to delete the ", name, " script."));
    return;
  }
  settings_.selectGroup(kTabIdsGroup);
  settings_.removeKey(name);
  toolkit_.removeTab(Control::TabPanel, index);
  tabs_.erase(tabs_.begin() + index);
  updateEditedMark();
  refreshScriptList_();
}

void ScriptEditor::saveScript() {
  const int index = selectedTab();
  if (index < 0) return;
  if (placeholder_ && index == 0) {
    message("Script Name?", "Please create a script name first.");
    return;
  }
  if (!ask("Overwrite Script?",
           quoted("Are you sure you want to overwrite the ", tabs_[index].name, " script?"))) {
    return;
  }
  saveTab(static_cast<size_t>(index));
}

bool ScriptEditor::offerToSaveEdits() {
  for (size_t i = 0; i < tabs_.size(); ++i) {
    if (!tabs_[i].edited) continue;
    const int answer = toolkit_.messageBox(
        "Save Script?",
        quoted("The ", tabs_[i].name, " script has been modified.\rDo you want to save it?"),
        MessageButtons::YesNoCancel);
    if (answer == MessageResult::Cancel) return false;
    // A failed save keeps everything open, so the text is not lost.
    if (answer == MessageResult::Yes && !saveTab(i)) return false;
  }
  return true;
}

void ScriptEditor::closeRequested() {
  if (!isOpen() || !offerToSaveEdits()) return;
  toolkit_.stopTimer(Timer::ScriptPreview);
  toolkit_.closeWindow(Window::ScriptEditor);
  tabs_.clear();
  placeholder_ = false;
  toolkit_.setMenuItemEnabled(MenuItem::SaveScript, false);
  toolkit_.setMenuItemEnabled(MenuItem::DeleteScript, false);
}

void ScriptEditor::tabChanged() {
  const int index = selectedTab();
  if (index < 0) return;
  highlight(tabs_[index].editor);
  refreshPreview();
  settings_.selectGroup(kTabSelectionGroup);
  settings_.writeText(kSavedTabKey, tabs_[index].name);
}

void ScriptEditor::textChanged(int editor) {
  const int index = tabOfEditor(editor);
  if (index < 0) return;  // its tab was deleted after the change
  highlight(editor);
  preview_.scheduleRefresh();
  // The placeholder stands for no file: there is nothing to save it to.
  if (placeholder_ && index == 0) return;
  setTabEdited(static_cast<size_t>(index), true);
}

bool ScriptEditor::saveTab(size_t index) {
  const Tab& tab = tabs_[index];
  const std::vector<std::string> lines = editorTextToLines(textToBytes(toolkit_.text(tab.editor)));
  if (writeScriptLines(supportDir_, tab.name, lines) != ScriptResult::Ok) {
    message("Save Error!", quoted("Unable to save the ", tab.name, " script."));
    return false;
  }
  message("Saved Script!", quoted("The ", tab.name, " script was saved."));
  setTabEdited(index, false);
  return true;
}

void ScriptEditor::setTabEdited(size_t index, bool edited) {
  Tab& tab = tabs_[index];
  if (tab.edited != edited) {
    tab.edited = edited;
    toolkit_.setTabTitle(Control::TabPanel, static_cast<int>(index),
                         edited ? tab.name + std::string(kEditedSuffix) : tab.name);
  }
  updateEditedMark();
}

void ScriptEditor::updateEditedMark() {
  const bool any = std::any_of(tabs_.begin(), tabs_.end(), [](const Tab& t) { return t.edited; });
  toolkit_.setEdited(Window::ScriptEditor, any);
}

void ScriptEditor::addEditorTab(std::string_view name) {
  const int index = static_cast<int>(tabs_.size());
  toolkit_.addTab(Control::TabPanel, name);
  toolkit_.setState(Control::TabPanel, index);
  const int editor = nextEditor_++;
  toolkit_.createEditor(Control::TabPanel, index, editor, editorRect());
  styleEditor(editor);
  tabs_.push_back({std::string(name), editor});
}

Rect ScriptEditor::editorRect() const {
  return {0, 0, toolkit_.itemWidth(Control::TabPanel), toolkit_.itemHeight(Control::TabPanel)};
}

// Every editor gets its look when created; a plain-text editor keeps its one
// font, so it never needs to be set again after an edit.
void ScriptEditor::styleEditor(int editor) {
  toolkit_.setBackgroundColour(editor, kEditorBackground);
  toolkit_.setEditorFont(editor, kEditorFont, kEditorPoints);
  toolkit_.setCaretColour(editor, kCaretColour);
}

void ScriptEditor::highlight(int editor) {
  if (toolkit_.activeWindow() != Window::ScriptEditor) return;
  computeHighlighting(toolkit_.text(editor), &highlighting_);
  toolkit_.applyColouring(editor, editorColouring(highlighting_));
}

int ScriptEditor::selectedTab() const {
  const int index = toolkit_.state(Control::TabPanel);
  return index >= 0 && index < static_cast<int>(tabs_.size()) ? index : -1;
}

int ScriptEditor::selectedEditor() const {
  const int index = selectedTab();
  return index < 0 ? -1 : tabs_[index].editor;
}

int ScriptEditor::tabOfEditor(int editor) const {
  for (size_t i = 0; i < tabs_.size(); ++i) {
    if (tabs_[i].editor == editor) return static_cast<int>(i);
  }
  return -1;
}

bool ScriptEditor::ownsEditor(int control) const {
  return control == Control::FirstEditor ||
         (control >= Control::FirstFree && control < nextEditor_);
}

void ScriptEditor::message(std::string_view title, std::string_view text) {
  toolkit_.messageBox(title, text, MessageButtons::Ok);
}

bool ScriptEditor::ask(std::string_view title, std::string_view text) {
  return toolkit_.messageBox(title, text, MessageButtons::YesNo) == MessageResult::Yes;
}

}  // namespace oz
