// The image folders chosen last, most recent first, each with the sheet path,
// export script and script path it was last exported with: the main window's
// "Open Recent" menu. Kept in the settings group "Recent Folders" under
// numbered keys ("Folder 1", "Sheet 1", "Script 1", "Script Path 1", ...),
// because a path can hold characters a key cannot.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "store/settings_store.h"

namespace oz {

inline constexpr std::string_view kRecentFoldersGroup = "Recent Folders";
inline constexpr size_t kMaxRecentFolders = 8;

struct RecentFolder {
  std::string folder;      // ends in "/"
  std::string sheetPath;   // empty when none was used with the folder yet
  std::string scriptName;  // the "Export Script" entry; empty for none
  std::string scriptPath;  // empty for none (or a clipboard script)

  bool operator==(const RecentFolder&) const = default;
};

using RecentFolders = std::vector<RecentFolder>;

// The stored list: numbers from 1 up to the first without a folder, at most
// kMaxRecentFolders, a folder repeated further down skipped.
RecentFolders readRecentFolders(SettingsStore& store);
// Rewrites the group so that it holds exactly `folders`.
void writeRecentFolders(SettingsStore& store, const RecentFolders& folders);

// Moves `folder` to the front, keeping what was remembered with it, or adds
// it there; the list keeps its kMaxRecentFolders most recent. A folder the
// settings file could not give back as it is (a line break, blanks at its
// ends) is not remembered.
void rememberFolder(RecentFolders& folders, std::string_view folder);
// As rememberFolder, and the folder's sheet and script become `used`'s; a
// path or name the file could not give back is remembered as empty.
void rememberUse(RecentFolders& folders, const RecentFolder& used);
void forgetFolder(RecentFolders& folders, std::string_view folder);

}  // namespace oz
