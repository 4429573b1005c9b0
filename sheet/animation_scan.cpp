#include "sheet/animation_scan.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <optional>
#include <unordered_map>

#include "base/dir_listing.h"
#include "base/path_parts.h"
#include "sheet/frame_scan.h"

namespace oz {
namespace {

// Follows symlinks: a symlinked subfolder is read as any other.
bool isDirectory(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A symlink that leads nowhere: to nothing, or round a loop of symlinks.
bool isDanglingLink(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) != 0 && lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isSeparator(char c) { return c == '_' || c == '-' || c == '.' || c == ' '; }

// Appends `frames` (named within `subfolder`, empty for the folder's own) as
// the animation `name`.
void addAnimation(FolderFrames& result, std::string name, const std::vector<std::string>& frames,
                  const std::string& subfolder) {
  result.animations.push_back({std::move(name), result.names.size(), frames.size()});
  for (const std::string& frame : frames) result.names.push_back(subfolder + frame);
}

void addNote(std::vector<BuildNote>& notes, BuildNoteKind kind, std::string folder) {
  for (BuildNote& note : notes) {
    if (note.kind == kind) {
      note.names.push_back(std::move(folder));
      return;
    }
  }
  notes.push_back({kind, {std::move(folder)}});
}

// The folders directly below `subfolder` (named within the image folder)
// that hold frames: a build does not read them, and says so.
void noteDeeperFolders(const std::string& folder, const std::string& subfolder,
                       const std::vector<std::string>& entries, FolderFrames& result) {
  for (const std::string& entry : entries) {
    const std::string below = folder + subfolder + entry;
    if (isFrameName(entry) || !isDirectory(below)) continue;
    if (!scanFrames(below + "/").empty()) {
      addNote(result.notes, BuildNoteKind::DeeperFolders, subfolder + entry);
    }
  }
}

FolderFrames bySubfolders(const std::string& imageFolder) {
  const std::string folder = imageFolder.ends_with('/') ? imageFolder : imageFolder + '/';
  FolderFrames result;
  const std::vector<std::string> entries =
      listDirectory(folder).value_or(std::vector<std::string>{});
  const std::vector<std::string> own = framesAmong(folder, entries);
  if (!own.empty()) addAnimation(result, folderAnimationName(folder), own, {});
  for (const std::string& entry : entries) {
    if (isFrameName(entry)) continue;
    if (!isDirectory(folder + entry)) {
      // Perhaps a subfolder once; perhaps not, but it cannot be told.
      if (isDanglingLink(folder + entry)) {
        addNote(result.notes, BuildNoteKind::UnreadableSubfolders, entry);
      }
      continue;
    }
    const std::string subfolder = entry + "/";
    const std::optional<std::vector<std::string>> inside = listDirectory(folder + subfolder);
    if (!inside) {
      addNote(result.notes, BuildNoteKind::UnreadableSubfolders, entry);
      continue;
    }
    const std::vector<std::string> frames = framesAmong(folder + subfolder, *inside);
    if (frames.empty()) {
      addNote(result.notes, BuildNoteKind::EmptySubfolders, entry);
    } else {
      addAnimation(result, entry, frames, subfolder);
    }
    noteDeeperFolders(folder, subfolder, *inside, result);
  }
  return result;
}

FolderFrames byPrefixes(const std::string& folder) {
  std::vector<std::string> names = scanFrames(folder);
  const std::string folderName = folderAnimationName(folder);
  // Each animation's frames, the animations in the order of their first frames.
  std::vector<std::pair<std::string, std::vector<std::string>>> groups;
  std::unordered_map<std::string, size_t> groupOf;
  for (std::string& name : names) {
    const std::string_view prefix = namePrefix(name);
    std::string animation = prefix.empty() ? folderName : std::string(prefix);
    const auto [found, fresh] = groupOf.emplace(animation, groups.size());
    if (fresh) groups.emplace_back(std::move(animation), std::vector<std::string>{});
    groups[found->second].second.push_back(std::move(name));
  }
  FolderFrames result;
  for (auto& [animation, frames] : groups) addAnimation(result, std::move(animation), frames, {});
  return result;
}

}  // namespace

std::string_view namePrefix(std::string_view frameName) {
  std::string_view base =
      frameName.ends_with(".png") ? frameName.substr(0, frameName.size() - 4) : frameName;
  size_t end = base.size();
  while (end > 0 && isDigit(base[end - 1])) --end;
  if (end == base.size()) return base;
  while (end > 0 && isSeparator(base[end - 1])) --end;
  return base.substr(0, end);
}

std::string folderAnimationName(const std::string& folder) {
  std::string_view path = folder;
  while (path.size() > 1 && path.ends_with('/')) path.remove_suffix(1);
  const std::string_view name = fileNamePart(path);
  if (name != "." && name != ".." && !name.empty()) return std::string(name);
  char real[PATH_MAX];
  if (realpath(folder.c_str(), real) == nullptr) return std::string(name);
  return std::string(fileNamePart(real));
}

FolderFrames scanFolderFrames(const std::string& folder, AnimationSource source) {
  switch (source) {
    case AnimationSource::Folders:
      return bySubfolders(folder);
    case AnimationSource::Prefixes:
      return byPrefixes(folder);
    case AnimationSource::None:
      break;
  }
  return {scanFrames(folder), {}, {}};
}

}  // namespace oz
