#include "app/main_window_layout.h"

#include <algorithm>
#include <string_view>

#include "app/recent_folders_menu.h"
#include "sheet/color_depth.h"
#include "sheet/frame_scan.h"
#include "store/sprite_settings.h"
#include "toolkit/control_kind.h"

namespace oz {
namespace {

constexpr int kSeparator = -1000;
constexpr int kOpenRecent = -1001;  // the "Open Recent" submenu, filled later

struct MenuRow {
  int item;  // kSeparator for a separator, kOpenRecent for the submenu
  std::string_view text;
  bool enabled;
  bool checkable = false;  // shows a tick
};

// The label, a tab, then the shortcut description. "Create Sprite" names the
// Return key by its character, "Delete Script" the Backspace key by its own:
// the toolkit gives the latter the command modifier, so a plain Backspace in an
// editor never deletes a script.
constexpr MenuRow kFileMenu[] = {
    {MenuItem::New, "New\tCmd+N", false},
    {kSeparator, "", false},
    {MenuItem::OpenImageFolder, "Open Image Folder\tCmd+O", true},
    {kOpenRecent, kOpenRecentTitle, true},
    {kSeparator, "", false},
    {MenuItem::SaveSpriteAs, "Save Sprite As...\tShift+Cmd+S", false},
    {MenuItem::SaveScriptAs, "Save Script As...\tShift+Cmd+M", false},
    {kSeparator, "", false},
    {MenuItem::SheetOptions, "Sheet Options...", true},
    {kSeparator, "", false},
    {MenuItem::CreateSprite, "Create Sprite\t\r", false},
    {MenuItem::RebuildOnChange, "Rebuild on Change", false, true},
    {kSeparator, "", false},
    {MenuItem::Quit, "Quit\tCmd+Q", true},
};

constexpr MenuRow kScriptMenu[] = {
    {MenuItem::ScriptEditor, "Script Editor\tAlt+Cmd+E", true},
    {kSeparator, "", false},
    {MenuItem::SaveScript, "Save Script\tCmd+S", false},
    {MenuItem::DeleteScript, "Delete Script\t\b", false},
    {kSeparator, "", false},
    {MenuItem::InstallFromGallery, "Install from Gallery...", true},
    {kSeparator, "", false},
    {MenuItem::ScriptPreview, "Script Preview\tAlt+Cmd+P", true, true},
    {kSeparator, "", false},
    {MenuItem::Find, "Find...\tCmd+F", true},
    {MenuItem::FindNext, "Find Next\tF3", true},
    {MenuItem::FindPrevious, "Find Previous\tShift+F3", true},
};

// "Sheet Preview" waits for a sheet: the first built, or one that "Open
// Recent" finds on disk.
constexpr MenuRow kViewMenu[] = {
    {MenuItem::SheetPreview, "Sheet Preview\tCmd+P", false},
};

constexpr MenuRow kHelpMenu[] = {
    {MenuItem::Help, "Help\tF1", true},
    {kSeparator, "", false},
    {MenuItem::Website, "Halvick Website", true},
    {MenuItem::SupportForum, "Support Forum", true},
    {kSeparator, "", false},
    {MenuItem::Purchase, "Purchase Orvane v2", true},
    {kSeparator, "", false},
    {MenuItem::About, "About Orvane", true},
};

// Returns the index of the menu's submenu, or -1 when it has none.
template <size_t N>
int addMenu(Toolkit& toolkit, std::string_view title, const MenuRow (&rows)[N]) {
  const int menu = toolkit.addMenu(title);
  int submenu = -1;
  for (const MenuRow& row : rows) {
    if (row.item == kSeparator) {
      toolkit.addMenuSeparator(menu);
    } else if (row.item == kOpenRecent) {
      submenu = toolkit.addSubmenu(menu, row.text);
    } else if (row.checkable) {
      toolkit.addCheckableMenuItem(menu, row.item, row.text, row.enabled);
    } else {
      toolkit.addMenuItem(menu, row.item, row.text, row.enabled);
    }
  }
  return submenu;
}

struct ControlRow {
  int control;
  ControlKind kind;
  Rect rect;
  std::string_view caption;
  bool enabled = true;
  bool visible = true;
};

// In creation order; consecutive options form one exclusive group.
constexpr ControlRow kControls[] = {
    {Control::ImageFolderLabel, ControlKind::Label, {10, 15, 90, 20}, "Image Folder:"},
    {Control::ImageFolderField, ControlKind::TextField, {100, 10, 195, 22}, ""},
    {Control::ImageFolderButton, ControlKind::Button, {300, 10, 34, 22}, "..."},
    {Control::SheetPathLabel, ControlKind::Label, {10, 45, 90, 20}, "Save As:", false},
    {Control::SheetPathField, ControlKind::TextField, {100, 40, 195, 22}, "", false},
    {Control::SheetPathButton, ControlKind::Button, {300, 40, 34, 22}, "...", false},
    {Control::SpriteFormatFrame, ControlKind::GroupFrame, {10, 75, 320, 50}, "Sprite Format"},
    {Control::Strip, ControlKind::Option, {20, 96, 60, 20}, "Strip"},
    {Control::Sheet, ControlKind::Option, {90, 96, 60, 20}, "Sheet"},
    {Control::ColumnsLabel, ControlKind::Label, {160, 97, 130, 20}, "Number of Columns:"},
    {Control::ColumnsField, ControlKind::TextField, {295, 96, 25, 20}, "2"},
    {Control::ColorDepthFrame, ControlKind::GroupFrame, {10, 130, 320, 50}, "Color Depth"},
    {Control::DepthList, ControlKind::List, {70, 150, 100, 22}, ""},
    {Control::Dithering, ControlKind::CheckBox, {190, 152, 80, 20}, "Dithering", false},
    {Control::RemoveAlpha, ControlKind::CheckBox, {190, 152, 110, 20}, "Remove Alpha", true, false},
    {Control::BackgroundFrame, ControlKind::GroupFrame, {10, 185, 320, 50}, "Background Color"},
    {Control::Pink, ControlKind::Option, {62, 207, 120, 20}, "RGB 255 0 255", false},
    {Control::Black, ControlKind::Option, {192, 207, 90, 20}, "RGB 0 0 0", false},
    {Control::ExportOptionsFrame, ControlKind::GroupFrame, {10, 240, 320, 51}, "Export Options"},
    {Control::Retina, ControlKind::CheckBox, {20, 261, 60, 20}, "Retina"},
    {Control::PowerOf2, ControlKind::CheckBox, {95, 261, 90, 20}, "Power of 2"},
    {Control::SpriteNumberLabel, ControlKind::Label, {200, 262, 50, 20}, "Sprite #"},
    {Control::SpriteNumber, ControlKind::SpinField, {255, 260, 70, 22}, ""},
    {Control::ExportScriptFrame, ControlKind::GroupFrame, {10, 296, 320, 85}, "Export Script"},
    {Control::ScriptList, ControlKind::List, {60, 317, 220, 25}, "", false},
    {Control::ScriptPathLabel, ControlKind::Label, {20, 355, 60, 20}, "Save As:", false},
    {Control::ScriptPathField, ControlKind::TextField, {80, 350, 200, 22}, "", false},
    {Control::ScriptPathButton, ControlKind::Button, {285, 350, 34, 22}, "...", false},
    {Control::Create, ControlKind::Button, {100, 390, 140, 25}, "Create", false},
    {Control::RebuildStatus, ControlKind::Label, {10, 420, 320, 20}, ""},
};

void createControl(Toolkit& toolkit, const ControlRow& row) {
  const int w = Window::Main;
  switch (row.kind) {
    case ControlKind::Label:
      toolkit.createLabel(w, row.control, row.rect, row.caption, LabelAlign::Left);
      break;
    case ControlKind::TextField:
      toolkit.createTextField(w, row.control, row.rect, row.caption);
      break;
    case ControlKind::Button:
      toolkit.createButton(w, row.control, row.rect, row.caption);
      break;
    case ControlKind::GroupFrame:
      toolkit.createGroupFrame(w, row.control, row.rect, row.caption);
      break;
    case ControlKind::Option:
      toolkit.createOption(w, row.control, row.rect, row.caption);
      break;
    case ControlKind::CheckBox:
      toolkit.createCheckBox(w, row.control, row.rect, row.caption);
      break;
    case ControlKind::List:
      toolkit.createList(w, row.control, row.rect);
      break;
    case ControlKind::SpinField:
      toolkit.createSpinField(w, row.control, row.rect, 0, kMaxSpriteNumber);
      break;
    case ControlKind::ImageView:  // the main window has none of these
    case ControlKind::ListBox:
    case ControlKind::RichText:
    case ControlKind::TabPanel:
    case ControlKind::Editor:
    case ControlKind::Canvas:
    case ControlKind::ScrollBar:
      break;
  }
  if (!row.enabled) toolkit.setEnabled(row.control, false);
  if (!row.visible) toolkit.setVisible(row.control, false);
}

}  // namespace

int createMainMenus(Toolkit& toolkit) {
  const int openRecent = addMenu(toolkit, "File", kFileMenu);
  addMenu(toolkit, "Script", kScriptMenu);
  addMenu(toolkit, "View", kViewMenu);
  addMenu(toolkit, "Help", kHelpMenu);
  return openRecent;
}

void createMainControls(Toolkit& toolkit) {
  for (const ControlRow& row : kControls) {
    createControl(toolkit, row);
    // Each option group's start choice is set as soon as the group is complete.
    if (row.control == Control::Sheet) toolkit.setState(Control::Sheet, 1);
    if (row.control == Control::Black) toolkit.setState(Control::Pink, 1);
  }
  for (const DepthInfo& depth : kDepths) toolkit.addListEntry(Control::DepthList, depth.label);
  toolkit.setState(Control::DepthList, 0);
  toolkit.addListEntry(Control::ScriptList, kScriptListPlaceholder);
  toolkit.setState(Control::ScriptList, 0);
}

BuildOptions optionsFromControls(const Toolkit& toolkit) {
  BuildOptions options;
  options.savePath = toolkit.text(Control::SheetPathField);
  options.imageFolder = withFolderSlash(toolkit.text(Control::ImageFolderField));
  options.strip = toolkit.state(Control::Strip) == 1;
  options.columns = toolkit.text(Control::ColumnsField);
  options.colorDepth = std::max(toolkit.state(Control::DepthList), 0);
  for (const OptionTick& tick : kOptionTicks)
    options.*tick.option = toolkit.state(tick.control) == 1;
  options.pink = toolkit.state(Control::Pink) == 1;
  options.spriteNumber = toolkit.state(Control::SpriteNumber);
  return options;
}

DepthControls depthControls(int depth, bool removeAlphaTicked) {
  const DepthInfo& info = depthInfo(depth);
  // "Remove Alpha" takes the place of "Dithering" where it decides the background.
  return {.ditheringShown = info.background != BackgroundUse::WithRemoveAlpha,
          .ditheringEnabled = info.ditheringAllowed,
          .backgroundEnabled = usesBackground(depth, removeAlphaTicked)};
}

}  // namespace oz
