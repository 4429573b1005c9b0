#include "store/recent_folders.h"

#include <algorithm>

namespace oz {
namespace {

std::string key(std::string_view name, size_t number) {
  return std::string(name) + " " + std::to_string(number);
}

// What readText gives back unchanged: one line without blanks at its ends.
bool readsBack(std::string_view value) {
  constexpr std::string_view kBlanks = " \t";
  if (value.find_first_of("\r\n") != std::string_view::npos) return false;
  return value.empty() || (kBlanks.find(value.front()) == std::string_view::npos &&
                           kBlanks.find(value.back()) == std::string_view::npos);
}

std::string storable(std::string_view value) {
  return readsBack(value) ? std::string(value) : std::string();
}

}  // namespace

RecentFolders readRecentFolders(SettingsStore& store) {
  store.selectGroup(kRecentFoldersGroup);
  RecentFolders folders;
  for (size_t n = 1; n <= kMaxRecentFolders; ++n) {
    RecentFolder entry{store.readText(key("Folder", n), ""), store.readText(key("Sheet", n), ""),
                       store.readText(key("Script", n), ""),
                       store.readText(key("Script Path", n), "")};
    if (entry.folder.empty()) break;
    const bool repeated = std::ranges::any_of(
        folders, [&](const RecentFolder& earlier) { return earlier.folder == entry.folder; });
    if (!repeated) folders.push_back(std::move(entry));
  }
  return folders;
}

void writeRecentFolders(SettingsStore& store, const RecentFolders& folders) {
  store.selectGroup(kRecentFoldersGroup);
  for (size_t n = 1; n <= kMaxRecentFolders; ++n) {
    if (n <= folders.size()) {
      const RecentFolder& entry = folders[n - 1];
      store.writeText(key("Folder", n), entry.folder);
      store.writeText(key("Sheet", n), entry.sheetPath);
      store.writeText(key("Script", n), entry.scriptName);
      store.writeText(key("Script Path", n), entry.scriptPath);
    } else {
      for (std::string_view name : {"Folder", "Sheet", "Script", "Script Path"}) {
        store.removeKey(key(name, n));
      }
    }
  }
}

void rememberFolder(RecentFolders& folders, std::string_view folder) {
  if (folder.empty() || !readsBack(folder)) return;
  auto found = std::ranges::find(folders, folder, &RecentFolder::folder);
  RecentFolder entry;
  entry.folder = folder;
  if (found != folders.end()) {
    entry = std::move(*found);
    folders.erase(found);
  }
  folders.insert(folders.begin(), std::move(entry));
  if (folders.size() > kMaxRecentFolders) folders.resize(kMaxRecentFolders);
}

void rememberUse(RecentFolders& folders, const RecentFolder& used) {
  rememberFolder(folders, used.folder);
  if (folders.empty() || folders.front().folder != used.folder) return;
  folders.front() = {used.folder, storable(used.sheetPath), storable(used.scriptName),
                     storable(used.scriptPath)};
}

void forgetFolder(RecentFolders& folders, std::string_view folder) {
  std::erase_if(folders, [folder](const RecentFolder& entry) { return entry.folder == folder; });
}

}  // namespace oz
