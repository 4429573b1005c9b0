// The "Open Recent" submenu of "File": the image folders chosen last, most
// recent first, then "Clear Menu". Every change is stored in the settings
// group "Recent Folders" at once.
#pragma once

#include <string>
#include <string_view>

#include "store/recent_folders.h"
#include "store/settings_store.h"
#include "toolkit/toolkit.h"

namespace oz {

inline constexpr const char* kOpenRecentTitle = "Open Recent";

class RecentFoldersMenu {
 public:
  RecentFoldersMenu(Toolkit& toolkit, SettingsStore& settings);

  // Reads the stored list and fills `submenu` with the folders that still
  // exist. The settings store must be open.
  void build(int submenu);

  const RecentFolders& folders() const { return folders_; }
  // The folder menu item `item` stands for, or nullptr when it is none of them.
  const RecentFolder* entry(int item) const;

  // Where the requesters start when their field is empty: the last folder,
  // the last sheet and script paths used with any recent folder.
  std::string lastFolder() const;
  std::string lastSheetPath() const;
  std::string lastScriptPath() const;

  void rememberFolder(std::string_view folder);
  void rememberUse(const RecentFolder& used);
  void forget(std::string_view folder);
  void clear();

 private:
  void changed();
  void fill();

  Toolkit& toolkit_;
  SettingsStore& settings_;
  int submenu_ = -1;
  RecentFolders folders_;
};

// Whether `path` names a folder that exists now.
bool folderExists(const std::string& path);

// The folder part of `path` up to its last "/", or empty when it has none.
std::string folderOf(std::string_view path);

}  // namespace oz
