#include "app/recent_folders_menu.h"

#include <sys/stat.h>

#include <algorithm>

namespace oz {
namespace {

constexpr const char* kClearMenu = "Clear Menu";
static_assert(MenuItem::LastRecentFolder - MenuItem::FirstRecentFolder + 1 == kMaxRecentFolders);

// A tab in a menu item's text would start a shortcut description.
std::string menuText(std::string text) {
  std::ranges::replace(text, '\t', ' ');
  return text;
}

}  // namespace

bool folderExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string folderOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

RecentFoldersMenu::RecentFoldersMenu(Toolkit& toolkit, SettingsStore& settings)
    : toolkit_(toolkit), settings_(settings) {}

void RecentFoldersMenu::build(int submenu) {
  submenu_ = submenu;
  folders_ = readRecentFolders(settings_);
  // Left out of the menu only: the file keeps them until the list next
  // changes, so a run that changes nothing leaves the file alone.
  std::erase_if(folders_, [](const RecentFolder& entry) { return !folderExists(entry.folder); });
  fill();
}

const RecentFolder* RecentFoldersMenu::entry(int item) const {
  const int index = item - MenuItem::FirstRecentFolder;
  if (index < 0 || item > MenuItem::LastRecentFolder || index >= static_cast<int>(folders_.size()))
    return nullptr;
  return &folders_[static_cast<size_t>(index)];
}

std::string RecentFoldersMenu::lastFolder() const {
  return folders_.empty() ? std::string() : folders_.front().folder;
}

std::string RecentFoldersMenu::lastSheetPath() const {
  auto used = std::ranges::find_if(folders_, [](const auto& e) { return !e.sheetPath.empty(); });
  return used == folders_.end() ? std::string() : used->sheetPath;
}

std::string RecentFoldersMenu::lastScriptPath() const {
  auto used = std::ranges::find_if(folders_, [](const auto& e) { return !e.scriptPath.empty(); });
  return used == folders_.end() ? std::string() : used->scriptPath;
}

void RecentFoldersMenu::rememberFolder(std::string_view folder) {
  oz::rememberFolder(folders_, folder);
  changed();
}

void RecentFoldersMenu::rememberUse(const RecentFolder& used) {
  oz::rememberUse(folders_, used);
  changed();
}

void RecentFoldersMenu::forget(std::string_view folder) {
  forgetFolder(folders_, folder);
  changed();
}

void RecentFoldersMenu::clear() {
  folders_.clear();
  changed();
}

void RecentFoldersMenu::changed() {
  writeRecentFolders(settings_, folders_);
  fill();
}

void RecentFoldersMenu::fill() {
  if (submenu_ < 0) return;
  toolkit_.clearMenu(submenu_);
  int item = MenuItem::FirstRecentFolder;
  for (const RecentFolder& entry : folders_) {
    toolkit_.addMenuItem(submenu_, item++, menuText(entry.folder), true);
  }
  if (!folders_.empty()) toolkit_.addMenuSeparator(submenu_);
  toolkit_.addMenuItem(submenu_, MenuItem::ClearRecentFolders, kClearMenu, !folders_.empty());
}

}  // namespace oz
