#include "app/main_window.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/create_sprite.h"
#include "app/main_window_layout.h"
#include "app/sheet_on_disk.h"
#include "help/help_windows.h"
#include "help/web_addresses.h"
#include "sheet/frame_scan.h"
#include "store/script_store.h"
#include "store/sprite_settings.h"
#include "toolkit/open_with_desktop.h"

namespace oz {
namespace {

constexpr const char* kFolderRequesterTitle = "Select a folder of png images...";
constexpr const char* kSheetRequesterTitle = "Save sprite sheet/strip as...";
constexpr const char* kSheetProposedName = ".png";
constexpr const char* kSheetFilter = "PNG (*.png)|*.png";
constexpr std::string_view kSheetExtension = ".png";
constexpr const char* kWaitTitle = "Wait!";

std::string missingFolderText(std::string_view folder) {
  std::string text = "The folder \"";
  text.append(folder).append("\" no longer exists.");
  return text;
}

// Which window must be the active one for a menu item to act.
enum class When { Always, MainActive, EditorActive };

}  // namespace

struct MainWindow::MenuAction {
  int item;
  When when;
  void (*run)(MainWindow&);
};

struct MainWindow::ControlAction {
  int control;
  void (MainWindow::*run)();
};

// Items that stand for a button post a press of it, so the command runs on a
// later turn exactly as a click would.
const MainWindow::MenuAction MainWindow::kMenuActions[] = {
    {MenuItem::About, When::Always, [](MainWindow& w) { openAboutWindow(w.toolkit_); }},
    {MenuItem::Quit, When::Always,
     [](MainWindow& w) {
       if (w.editor_.offerToSaveEdits()) w.ended_ = true;
     }},
    {MenuItem::New, When::MainActive, [](MainWindow& w) { w.newWorkflow(); }},
    {MenuItem::OpenImageFolder, When::MainActive,
     [](MainWindow& w) { w.toolkit_.postControlEvent(Control::ImageFolderButton); }},
    {MenuItem::ClearRecentFolders, When::MainActive, [](MainWindow& w) { w.recent_.clear(); }},
    {MenuItem::SaveSpriteAs, When::MainActive,
     [](MainWindow& w) { w.toolkit_.postControlEvent(Control::SheetPathButton); }},
    {MenuItem::SaveScriptAs, When::MainActive,
     [](MainWindow& w) { w.toolkit_.postControlEvent(Control::ScriptPathButton); }},
    {MenuItem::SheetOptions, When::Always,
     [](MainWindow& w) { w.sheetOptions_.open(w.toolkit_.state(Control::DepthList)); }},
    {MenuItem::CreateSprite, When::MainActive,
     [](MainWindow& w) { w.toolkit_.postControlEvent(Control::Create); }},
    {MenuItem::RebuildOnChange, When::Always, [](MainWindow& w) { w.rebuild_.toggle(); }},
    {MenuItem::ScriptEditor, When::Always, [](MainWindow& w) { w.editor_.open(); }},
    {MenuItem::SaveScript, When::EditorActive,
     [](MainWindow& w) { w.toolkit_.postControlEvent(Control::SaveScript); }},
    {MenuItem::DeleteScript, When::EditorActive,
     [](MainWindow& w) { w.toolkit_.postControlEvent(Control::DeleteScript); }},
    {MenuItem::SheetPreview, When::Always, [](MainWindow& w) { w.preview_.open(); }},
    {MenuItem::ScriptPreview, When::Always, [](MainWindow& w) { w.editor_.togglePreview(); }},
    {MenuItem::Find, When::EditorActive, [](MainWindow& w) { w.editor_.find(); }},
    {MenuItem::FindNext, When::EditorActive, [](MainWindow& w) { w.editor_.findNext(); }},
    {MenuItem::FindPrevious, When::EditorActive, [](MainWindow& w) { w.editor_.findPrevious(); }},
    {MenuItem::InstallFromGallery, When::Always, [](MainWindow& w) { w.gallery_.open(); }},
    {MenuItem::Help, When::Always, [](MainWindow& w) { openHelpWindow(w.toolkit_); }},
    {MenuItem::Website, When::Always,
     [](MainWindow& w) { openWithDesktop(w.toolkit_, kMakerWebsite); }},
    {MenuItem::SupportForum, When::Always,
     [](MainWindow& w) { openWithDesktop(w.toolkit_, kSupportForum); }},
    {MenuItem::Purchase, When::Always,
     [](MainWindow& w) { openWithDesktop(w.toolkit_, kFullEditionStorePage); }},
};

// Events of the controls not listed (labels, frames, typing in the fields)
// need nothing.
const MainWindow::ControlAction MainWindow::kControlActions[] = {
    {Control::ImageFolderButton, &MainWindow::chooseImageFolder},
    {Control::SheetPathButton, &MainWindow::chooseSheetPath},
    {Control::Strip, &MainWindow::chooseStrip},
    {Control::Sheet, &MainWindow::chooseSheet},
    {Control::DepthList, &MainWindow::depthChanged},
    {Control::Dithering, &MainWindow::ditheringChanged},
    {Control::RemoveAlpha, &MainWindow::removeAlphaChanged},
    {Control::Pink, &MainWindow::choosePink},
    {Control::Black, &MainWindow::chooseBlack},
    {Control::Retina, &MainWindow::retinaChanged},
    {Control::PowerOf2, &MainWindow::powerOf2Changed},
    {Control::SpriteNumber, &MainWindow::spriteNumberChanged},
    {Control::ScriptList, &MainWindow::scriptChanged},
    {Control::ScriptPathButton, &MainWindow::chooseScriptPath},
    {Control::Create, &MainWindow::create},
};

MainWindow::MainWindow(Toolkit& toolkit, SettingsStore& settings, SupportDir supportDir,
                       BuildClock clock)
    : toolkit_(toolkit),
      settings_(settings),
      supportDir_(supportDir),
      clock_(std::move(clock)),
      editor_(toolkit, settings, std::move(supportDir), [this] { refreshScriptList(); }),
      sheetOptions_(toolkit, settings, [this] { followLayout(); }),
      recent_(toolkit, settings),
      preview_(toolkit, clock_),
      // The new script shows in the list at once, not only when the folder's
      // watch reports it.
      gallery_(toolkit, supportDir_, [this] { followScriptFolder(); }),
      rebuild_(toolkit, clock_,
               [this](WrittenSheets sheets) { previewSheets(std::move(sheets)); }) {}

bool MainWindow::openMainWindow() {
  const WindowStyle style{.closeButton = true,
                          .minimiseButton = true,
                          .resizable = false,
                          .placement = Placement::CentredOnScreen,
                          .menuBar = true};
  if (!toolkit_.openWindow(Window::Main, kMainWindowTitle, kMainWindowWidth, kMainWindowHeight,
                           style)) {
    return false;
  }
  toolkit_.hideZoomButton(Window::Main);
  toolkit_.acceptFileDrops(Window::Main);
  return true;
}

void MainWindow::setExampleFrames(std::string folder) {
  // The options "Create" would build with, so the preview shows what it would export.
  editor_.setPreviewSource([this] { return buildOptions(); }, std::move(folder));
}

void MainWindow::setGalleryDir(std::string folder) { gallery_.setGalleryDir(std::move(folder)); }

void MainWindow::buildMainWindow() {
  const int openRecent = createMainMenus(toolkit_);
  createMainControls(toolkit_);
  recent_.build(openRecent);
  refreshScriptList();
  // Scripts added or removed by hand, or installed from the command line,
  // appear without a restart.
  toolkit_.watchFolder(supportDir_.path);
  toolkit_.setResizeHandler([this](int window) { handleResize(window); });
}

void MainWindow::applySettings() {
  const SpriteOptions stored = readSpriteSettings(settings_);
  sheetOptions_.restore(stored);
  setStripLayout(stored.strip);
  toolkit_.setText(Control::ColumnsField, stored.columns);
  toolkit_.setState(Control::DepthList, stored.colorDepth);
  for (const OptionTick& tick : kOptionTicks) toolkit_.setState(tick.control, stored.*tick.option);
  applyDepthRules(stored.colorDepth);
  toolkit_.setState(Control::Pink, stored.pink ? 1 : 0);
  toolkit_.setState(Control::Black, stored.pink ? 0 : 1);
  toolkit_.setState(Control::SpriteNumber, stored.spriteNumber);
}

void MainWindow::fillScriptList(const std::vector<std::string>& names) {
  toolkit_.clearList(Control::ScriptList);
  toolkit_.addListEntry(Control::ScriptList, kScriptListPlaceholder);
  for (const std::string& name : names) toolkit_.addListEntry(Control::ScriptList, name);
}

void MainWindow::refreshScriptList() {
  fillScriptList(listScripts(supportDir_));
  // Selecting the placeholder this way is not a user's choice: the destination
  // controls keep their state, and only clipboard mode goes off, so the next
  // "Create" exports nothing until a script is chosen again.
  toolkit_.setState(Control::ScriptList, 0);
  exportChoice_.clipboardMode = false;
}

void MainWindow::followScriptFolder() {
  const bool chosen = toolkit_.state(Control::ScriptList) >= 1;
  const std::string current = chosen ? toolkit_.text(Control::ScriptList) : "";
  const std::vector<std::string> names = listScripts(supportDir_);
  fillScriptList(names);
  editor_.addNewScripts();
  const auto found = chosen ? std::ranges::find(names, current) : names.end();
  if (found != names.end()) {
    // The same script, perhaps at another place: its destination stays.
    toolkit_.setState(Control::ScriptList, static_cast<int>(found - names.begin()) + 1);
    return;
  }
  toolkit_.setState(Control::ScriptList, 0);
  if (chosen) clearScriptDestination(toolkit_, exportChoice_);  // the chosen script is gone
}

void MainWindow::runEventLoop() {
  ended_ = false;
  while (handleEvent(toolkit_.waitEvent())) {
  }
}

bool MainWindow::handleEvent(const Event& event) {
  switch (event.kind) {
    case EventKind::MenuItem:
      handleMenuItem(event);
      break;
    case EventKind::Control:
      if (!editor_.handleEvent(event) && !preview_.handleEvent(event)) {
        handleControl(event.number);
      }
      break;
    case EventKind::TabChanged:
    case EventKind::TextChanged:
      editor_.handleEvent(event);
      break;
    case EventKind::Timer:
    case EventKind::PointerMoved:
    case EventKind::Wheel:
      if (!rebuild_.handleEvent(event) && !preview_.handleEvent(event)) editor_.handleEvent(event);
      break;
    case EventKind::WindowClose:
      handleWindowClose(event.number);
      break;
    case EventKind::FilesDropped:
      if (event.number == Window::Main) filesDropped();
      break;
    case EventKind::FolderChanged:
      followScriptFolder();
      break;
    case EventKind::FilesChanged:
      rebuild_.handleEvent(event);
      break;
  }
  return !ended_;
}

void MainWindow::handleMenuItem(const Event& event) {
  if (const RecentFolder* entry = recent_.entry(event.number)) {
    // A copy: opening it reorders the list.
    if (event.window == Window::Main) openRecent(*entry);
    return;
  }
  for (const MenuAction& action : kMenuActions) {
    if (action.item != event.number) continue;
    const bool applies =
        action.when == When::Always ||
        (action.when == When::MainActive && event.window == Window::Main) ||
        (action.when == When::EditorActive && event.window == Window::ScriptEditor);
    if (applies) action.run(*this);
    return;
  }
}

void MainWindow::handleControl(int control) {
  if (sheetOptions_.handleControl(control) || gallery_.handleControl(control)) return;
  for (const ControlAction& action : kControlActions) {
    if (action.control == control) {
      (this->*action.run)();
      return;
    }
  }
}

void MainWindow::handleWindowClose(int window) {
  switch (window) {
    case Window::Main:
      // A cancelled question about an edited script keeps the program running.
      if (!editor_.offerToSaveEdits()) break;
      writeColumns(settings_, toolkit_.text(Control::ColumnsField));
      settings_.close();
      ended_ = true;
      break;
    case Window::ScriptEditor:
      editor_.handleEvent({EventKind::WindowClose, window, window});
      break;
    case Window::SheetPreview:
      preview_.handleEvent({EventKind::WindowClose, window, window});
      break;
    case Window::About:
    case Window::Help:
    case Window::SheetOptions:
    case Window::InstallFromGallery:
      toolkit_.closeWindow(window);
      break;
  }
}

// Each window's own layout follows its size, whichever window is active:
// a window manager may resize one that is not.
void MainWindow::handleResize(int window) {
  if (window == Window::ScriptEditor) editor_.relayout();
  if (window == Window::Help) relayoutHelpWindow(toolkit_);
  if (window == Window::SheetPreview) preview_.relayout();
}

void MainWindow::newWorkflow() {
  toolkit_.setText(Control::ImageFolderField, "");
  toolkit_.setText(Control::SheetPathField, "");
  toolkit_.setState(Control::ScriptList, 0);
  clearScriptDestination(toolkit_, exportChoice_);
  for (int control : {Control::SheetPathLabel, Control::SheetPathField, Control::SheetPathButton,
                      Control::ScriptList, Control::Create}) {
    toolkit_.setEnabled(control, false);
  }
  for (int item : {MenuItem::New, MenuItem::SaveSpriteAs, MenuItem::CreateSprite}) {
    toolkit_.setMenuItemEnabled(item, false);
  }
}

void MainWindow::openRecent(RecentFolder entry) {
  if (!folderExists(entry.folder)) {
    recent_.forget(entry.folder);
    toolkit_.messageBox(kWaitTitle, missingFolderText(entry.folder), MessageButtons::Ok);
    return;
  }
  useImageFolder(entry.folder);
  // Each stage needs the one before it, as in the requesters.
  if (entry.sheetPath.empty()) return;
  useSheetPath(entry.sheetPath);
  useScript(entry.scriptName, entry.scriptPath);
  // No build of this run may have written it (after a restart): the sheet
  // on disk is the one to preview.
  const BuildOptions options =
      createChoices(toolkit_, supportDir_, exportChoice_, buildOptions()).options;
  if (std::optional<WrittenSheets> sheets = sheetOnDisk(options)) previewSheets(std::move(*sheets));
}

void MainWindow::chooseImageFolder() {
  const std::string field = toolkit_.text(Control::ImageFolderField);
  const std::string folder =
      toolkit_.chooseFolder(kFolderRequesterTitle, field.empty() ? recent_.lastFolder() : field);
  if (folder.empty()) return;
  useImageFolder(folder);
}

// A dropped folder is chosen as it is, a dropped frame chooses its folder;
// the first path that names one decides.
void MainWindow::filesDropped() {
  for (const std::string& path : toolkit_.droppedPaths()) {
    std::string folder;
    if (folderExists(path)) {
      folder = path.ends_with('/') ? path : path + "/";
    } else if (path.ends_with(kSheetExtension)) {
      folder = folderOf(path);
    }
    if (!folder.empty()) {
      useImageFolder(folder);
      return;
    }
  }
}

void MainWindow::useImageFolder(const std::string& folder) {
  toolkit_.setText(Control::ImageFolderField, folder);
  for (int control : {Control::SheetPathLabel, Control::SheetPathField, Control::SheetPathButton}) {
    toolkit_.setEnabled(control, true);
  }
  toolkit_.setMenuItemEnabled(MenuItem::New, true);
  toolkit_.setMenuItemEnabled(MenuItem::SaveSpriteAs, true);
  recent_.rememberFolder(folder);
}

void MainWindow::chooseSheetPath() {
  const std::string field = toolkit_.text(Control::SheetPathField);
  std::string path =
      toolkit_.chooseSaveFile(kSheetRequesterTitle, kSheetProposedName, kSheetFilter,
                              folderOf(field.empty() ? recent_.lastSheetPath() : field));
  if (path.empty()) return;
  // Exactly ".png": a name chosen as Sheet.PNG becomes Sheet.PNG.png.
  if (!path.ends_with(kSheetExtension)) path += kSheetExtension;
  useSheetPath(path);
}

void MainWindow::useSheetPath(const std::string& path) {
  toolkit_.setText(Control::SheetPathField, path);
  toolkit_.setEnabled(Control::ScriptList, true);
  toolkit_.setEnabled(Control::Create, true);
  toolkit_.setMenuItemEnabled(MenuItem::CreateSprite, true);
}

// A script that is gone leaves the list as it is.
void MainWindow::useScript(const std::string& name, const std::string& scriptPath) {
  int index = 0;
  if (!name.empty()) {
    const std::vector<std::string> names = listScripts(supportDir_);
    const auto found = std::ranges::find(names, name);
    if (found == names.end()) return;
    index = static_cast<int>(found - names.begin()) + 1;
  }
  toolkit_.setState(Control::ScriptList, index);
  scriptSelectionChanged(toolkit_, supportDir_, exportChoice_);
  if (index > 0 && !exportChoice_.clipboardMode && !scriptPath.empty()) {
    toolkit_.setText(Control::ScriptPathField, scriptPath);
  }
}

// What "Create" used, for the folder's entry in "Open Recent".
void MainWindow::rememberUse() {
  const std::string folder = toolkit_.text(Control::ImageFolderField);
  const std::string sheet = toolkit_.text(Control::SheetPathField);
  if (folder.empty() || sheet.empty()) return;
  const bool scriptChosen = toolkit_.state(Control::ScriptList) >= 1;
  recent_.rememberUse(
      {withFolderSlash(folder), sheet, scriptChosen ? toolkit_.text(Control::ScriptList) : "",
       scriptChosen && !exportChoice_.clipboardMode ? toolkit_.text(Control::ScriptPathField)
                                                    : ""});
}

void MainWindow::setStripLayout(bool strip) {
  toolkit_.setState(Control::Strip, strip ? 1 : 0);
  toolkit_.setState(Control::Sheet, strip ? 0 : 1);
  followLayout();
}

// The packed layout reads neither the strip nor the columns: they are
// disabled while it is chosen, keeping their values for the grid.
void MainWindow::followLayout() {
  const bool grid = !sheetOptions_.packedChosen();
  const bool columns = grid && toolkit_.state(Control::Strip) != 1;
  toolkit_.setEnabled(Control::Strip, grid);
  toolkit_.setEnabled(Control::Sheet, grid);
  toolkit_.setEnabled(Control::ColumnsLabel, columns);
  toolkit_.setEnabled(Control::ColumnsField, columns);
}

void MainWindow::chooseStrip() {
  setStripLayout(true);
  writeStripChosen(settings_);
}

void MainWindow::chooseSheet() {
  setStripLayout(false);
  writeSheetChosen(settings_);
}

void MainWindow::applyDepthRules(int depth) {
  const DepthControls rules = depthControls(depth, toolkit_.state(Control::RemoveAlpha) == 1);
  toolkit_.setVisible(Control::Dithering, rules.ditheringShown);
  toolkit_.setEnabled(Control::Dithering, rules.ditheringEnabled);
  toolkit_.setVisible(Control::RemoveAlpha, !rules.ditheringShown);
  toolkit_.setEnabled(Control::Pink, rules.backgroundEnabled);
  toolkit_.setEnabled(Control::Black, rules.backgroundEnabled);
}

void MainWindow::depthChanged() {
  const int depth = toolkit_.state(Control::DepthList);
  if (depth < 0) return;
  applyDepthRules(depth);
  sheetOptions_.followDepth(depth);
  writeColorDepth(settings_, depth);
}

void MainWindow::ditheringChanged() {
  writeDithering(settings_, toolkit_.state(Control::Dithering) == 1);
}

void MainWindow::removeAlphaChanged() {
  applyDepthRules(toolkit_.state(Control::DepthList));
  writeRemoveAlpha(settings_, toolkit_.state(Control::RemoveAlpha) == 1);
}

void MainWindow::choosePink() { writePinkChosen(settings_); }

void MainWindow::chooseBlack() { writeBlackChosen(settings_); }

void MainWindow::retinaChanged() { writeRetina(settings_, toolkit_.state(Control::Retina) == 1); }

void MainWindow::powerOf2Changed() {
  writePowerOf2(settings_, toolkit_.state(Control::PowerOf2) == 1);
}

void MainWindow::spriteNumberChanged() {
  writeSpriteNumber(settings_, toolkit_.state(Control::SpriteNumber));
}

void MainWindow::scriptChanged() { scriptSelectionChanged(toolkit_, supportDir_, exportChoice_); }

void MainWindow::chooseScriptPath() {
  const std::string field = toolkit_.text(Control::ScriptPathField);
  chooseScriptDestination(toolkit_, exportChoice_,
                          folderOf(field.empty() ? recent_.lastScriptPath() : field));
}

BuildOptions MainWindow::buildOptions() const {
  BuildOptions options = optionsFromControls(toolkit_);
  sheetOptions_.applyTo(options);
  return options;
}

void MainWindow::create() {
  rememberUse();
  CreateChoices choices = createChoices(toolkit_, supportDir_, exportChoice_, buildOptions());
  std::optional<WrittenSheets> written = createSprite(toolkit_, choices, clock_);
  if (!written) return;
  previewSheets(std::move(*written));
  rebuild_.created(std::move(choices));
}

void MainWindow::previewSheets(WrittenSheets sheets) {
  preview_.setSheets(std::move(sheets));
  toolkit_.setMenuItemEnabled(MenuItem::SheetPreview, true);
}

}  // namespace oz
