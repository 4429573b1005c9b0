// main_window.h: the main window, its menus and the program's one event loop.
// Start here. The window drives the export workflow (image folder, sheet
// file, options, export script, "Create") and the loop serves every window:
// it dispatches menu items and control events through two tables, and hands
// the Script Editor's, Help's and About's events to them.
//
// Every option change is written to the settings store at once; the store
// reaches the file only when it is closed.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "app/build_progress.h"
#include "app/export_choice.h"
#include "app/gallery_window.h"
#include "app/rebuild_on_change.h"
#include "app/recent_folders_menu.h"
#include "app/sheet_options_window.h"
#include "app/sheet_preview.h"
#include "editor/script_editor.h"
#include "store/settings_store.h"
#include "store/support_dir.h"
#include "toolkit/toolkit.h"

namespace oz {

class MainWindow {
 public:
  // `clock` times the build for its progress dialog and the Sheet Preview's
  // animation (tests pass their own).
  MainWindow(Toolkit& toolkit, SettingsStore& settings, SupportDir supportDir,
             BuildClock clock = std::chrono::steady_clock::now);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Opens window 0 centred on the screen, not resizable, its zoom button
  // hidden. False when it could not be opened.
  bool openMainWindow();
  // The frames the Script Editor's live preview expands against while no
  // image folder is chosen.
  void setExampleFrames(std::string folder);
  // The template gallery "Install from Gallery..." lists; empty when the
  // program found none.
  void setGalleryDir(std::string folder);
  // Creates the menus and the controls, fills the script list and registers
  // the resize handler. The settings store must be open.
  void buildMainWindow();
  // Sets the options from the group "Settings" and applies the depth rules.
  void applySettings();
  // Refills the "Export Script" list from the script store and selects its
  // placeholder; the destination controls go back to their placeholder state.
  void refreshScriptList();
  // Refills the list after the support directory changed outside the
  // program, keeping the chosen script when it is still there.
  void followScriptFolder();
  // Handles events until the main window is closed or "Quit" is chosen; both
  // first offer to save the Script Editor's edited scripts.
  void runEventLoop();

  // One turn of the loop. False when the loop ends.
  bool handleEvent(const Event& event);

  // What "Create" builds with at this moment: the main window's controls and
  // the choices of the "Sheet Options..." window.
  BuildOptions buildOptions() const;

 private:
  void handleMenuItem(const Event& event);
  void handleControl(int control);
  void handleWindowClose(int window);
  void handleResize(int window);

  // Menu items.
  void newWorkflow();
  void openRecent(RecentFolder entry);
  // Control events.
  void chooseImageFolder();
  void filesDropped();
  void chooseSheetPath();
  void chooseStrip();
  void chooseSheet();
  void depthChanged();
  void ditheringChanged();
  void removeAlphaChanged();
  void choosePink();
  void chooseBlack();
  void retinaChanged();
  void powerOf2Changed();
  void spriteNumberChanged();
  void scriptChanged();
  void chooseScriptPath();
  void create();

  // What choosing in a requester does, also for a recent folder.
  void useImageFolder(const std::string& folder);
  void useSheetPath(const std::string& path);
  void useScript(const std::string& name, const std::string& scriptPath);
  void rememberUse();
  // The sheets the Sheet Preview shows from now on.
  void previewSheets(WrittenSheets sheets);

  void fillScriptList(const std::vector<std::string>& names);
  void applyDepthRules(int depth);
  void setStripLayout(bool strip);
  void followLayout();  // enables the strip's and grid's controls for the layout chosen

  struct MenuAction;
  struct ControlAction;
  static const MenuAction kMenuActions[];
  static const ControlAction kControlActions[];

  Toolkit& toolkit_;
  SettingsStore& settings_;
  const SupportDir supportDir_;
  const BuildClock clock_;
  ExportChoice exportChoice_;
  ScriptEditor editor_;
  SheetOptionsWindow sheetOptions_;
  RecentFoldersMenu recent_;
  SheetPreview preview_;
  GalleryWindow gallery_;
  RebuildOnChange rebuild_;
  bool ended_ = false;  // set by the main window's close and by "Quit", unless cancelled
};

}  // namespace oz
