#include "app/main_window.h"

#include <utility>

#include "app/create_sprite.h"
#include "app/main_window_layout.h"
#include "help/help_windows.h"
#include "help/web_addresses.h"
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
    {MenuItem::SaveSpriteAs, When::MainActive,
     [](MainWindow& w) { w.toolkit_.postControlEvent(Control::SheetPathButton); }},
    {MenuItem::SaveScriptAs, When::MainActive,
     [](MainWindow& w) { w.toolkit_.postControlEvent(Control::ScriptPathButton); }},
    {MenuItem::CreateSprite, When::MainActive,
     [](MainWindow& w) { w.toolkit_.postControlEvent(Control::Create); }},
    {MenuItem::ScriptEditor, When::Always, [](MainWindow& w) { w.editor_.open(); }},
    {MenuItem::SaveScript, When::EditorActive,
     [](MainWindow& w) { w.toolkit_.postControlEvent(Control::SaveScript); }},
    {MenuItem::DeleteScript, When::EditorActive,
     [](MainWindow& w) { w.toolkit_.postControlEvent(Control::DeleteScript); }},
    {MenuItem::SheetPreview, When::Always, [](MainWindow& w) { w.preview_.open(); }},
    {MenuItem::ScriptPreview, When::Always, [](MainWindow& w) { w.editor_.togglePreview(); }},
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
      preview_(toolkit, clock_) {}

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
  return true;
}

void MainWindow::setExampleFrames(std::string folder) {
  editor_.setPreviewSource(
      [this] {
        const BuildOptions options = optionsFromControls(toolkit_);
        return PreviewInputs{.imageFolder = options.imageFolder,
                             .strip = options.strip,
                             .columns = options.columns,
                             .powerOf2 = options.powerOf2,
                             .retina = options.retina,
                             .sheetPath = options.savePath,
                             .sheetNumber = toolkit_.text(Control::SpriteNumber)};
      },
      std::move(folder));
}

void MainWindow::buildMainWindow() {
  createMainMenus(toolkit_);
  createMainControls(toolkit_);
  refreshScriptList();
  toolkit_.setResizeHandler([this](int window) { handleResize(window); });
}

void MainWindow::applySettings() {
  const SpriteOptions stored = readSpriteSettings(settings_);
  setStripLayout(stored.strip);
  toolkit_.setText(Control::ColumnsField, stored.columns);
  toolkit_.setState(Control::DepthList, stored.colorDepth);
  for (const OptionTick& tick : kOptionTicks) toolkit_.setState(tick.control, stored.*tick.option);
  applyDepthRules(stored.colorDepth);
  toolkit_.setState(Control::Pink, stored.pink ? 1 : 0);
  toolkit_.setState(Control::Black, stored.pink ? 0 : 1);
  toolkit_.setState(Control::SpriteNumber, stored.spriteNumber);
}

void MainWindow::refreshScriptList() {
  toolkit_.clearList(Control::ScriptList);
  toolkit_.addListEntry(Control::ScriptList, kScriptListPlaceholder);
  for (const std::string& name : listScripts(supportDir_)) {
    toolkit_.addListEntry(Control::ScriptList, name);
  }
  // Selecting the placeholder this way is not a user's choice: the destination
  // controls keep their state, and only clipboard mode goes off, so the next
  // "Create" exports nothing until a script is chosen again.
  toolkit_.setState(Control::ScriptList, 0);
  exportChoice_.clipboardMode = false;
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
      if (!preview_.handleEvent(event)) editor_.handleEvent(event);
      break;
    case EventKind::WindowClose:
      handleWindowClose(event.number);
      break;
  }
  return !ended_;
}

void MainWindow::handleMenuItem(const Event& event) {
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

void MainWindow::chooseImageFolder() {
  const std::string folder = toolkit_.chooseFolder(kFolderRequesterTitle);
  if (folder.empty()) return;
  toolkit_.setText(Control::ImageFolderField, folder);
  for (int control : {Control::SheetPathLabel, Control::SheetPathField, Control::SheetPathButton}) {
    toolkit_.setEnabled(control, true);
  }
  toolkit_.setMenuItemEnabled(MenuItem::New, true);
  toolkit_.setMenuItemEnabled(MenuItem::SaveSpriteAs, true);
}

void MainWindow::chooseSheetPath() {
  std::string path =
      toolkit_.chooseSaveFile(kSheetRequesterTitle, kSheetProposedName, kSheetFilter);
  if (path.empty()) return;
  // Exactly ".png": a name chosen as Sheet.PNG becomes Sheet.PNG.png.
  if (!path.ends_with(kSheetExtension)) path += kSheetExtension;
  toolkit_.setText(Control::SheetPathField, path);
  toolkit_.setEnabled(Control::ScriptList, true);
  toolkit_.setEnabled(Control::Create, true);
  toolkit_.setMenuItemEnabled(MenuItem::CreateSprite, true);
}

void MainWindow::setStripLayout(bool strip) {
  toolkit_.setState(Control::Strip, strip ? 1 : 0);
  toolkit_.setState(Control::Sheet, strip ? 0 : 1);
  toolkit_.setEnabled(Control::ColumnsLabel, !strip);
  toolkit_.setEnabled(Control::ColumnsField, !strip);
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

void MainWindow::chooseScriptPath() { chooseScriptDestination(toolkit_, exportChoice_); }

void MainWindow::create() {
  std::optional<WrittenSheet> written = createSprite(toolkit_, supportDir_, exportChoice_, clock_);
  if (!written) return;
  preview_.setSheet(std::move(*written));
  toolkit_.setMenuItemEnabled(MenuItem::SheetPreview, true);
}

}  // namespace oz
