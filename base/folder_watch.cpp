#include "base/folder_watch.h"

#include <fnmatch.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/dir_listing.h"

namespace oz {
namespace {

// Entries made, written, removed or renamed, a frame's permissions changed,
// and the folder itself going away.
constexpr uint32_t kEntryEvents =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB;
constexpr uint32_t kFolderGoneEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED;

// Follows symlinks, as the scan of an image folder's subfolders does.
bool isDirectory(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string withSlash(const std::string& folder) {
  return folder.empty() || folder.ends_with('/') ? folder : folder + '/';
}

bool matchesAny(const std::vector<std::string>& patterns, const char* name) {
  return std::ranges::any_of(patterns, [name](const std::string& pattern) {
    return fnmatch(pattern.c_str(), name, FNM_PATHNAME) == 0;
  });
}

}  // namespace

std::string literalPattern(std::string_view name) {
  std::string pattern;
  for (const char c : name) {
    if (c == '*' || c == '?' || c == '[' || c == '\\') pattern += '\\';
    pattern += c;
  }
  return pattern;
}

FolderWatch::FolderWatch() : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

FolderWatch::~FolderWatch() {
  if (fd_ >= 0) close(fd_);
}

int FolderWatch::watch(const std::string& folder, const std::string& pattern) {
  return add(folder, pattern, false, false);
}

int FolderWatch::add(const std::string& folder, const std::string& pattern, bool isSubfolder,
                     bool followsSubfolders) {
  if (fd_ < 0) return EMFILE;
  const int wd = inotify_add_watch(fd_, folder.empty() ? "." : folder.c_str(),
                                   kEntryEvents | IN_ONLYDIR | IN_DELETE_SELF | IN_MOVE_SELF);
  if (wd < 0) return errno;
  // The same folder under another name is the same watch.
  if (Watched* known = watchedAs(wd)) {
    if (std::ranges::find(known->patterns, pattern) == known->patterns.end()) {
      known->patterns.push_back(pattern);
    }
    // A folder watched for itself stays so when it is also another's subfolder.
    known->isSubfolder = known->isSubfolder && isSubfolder;
    known->followsSubfolders = known->followsSubfolders || followsSubfolders;
  } else {
    watched_.push_back({wd, folder, {pattern}, followsSubfolders, isSubfolder});
  }
  return 0;
}

int FolderWatch::watchWithSubfolders(const std::string& folder, const std::string& pattern) {
  if (const int error = add(folder, pattern, false, true); error != 0) return error;
  const std::string parent = withSlash(folder);
  for (const std::string& entry :
       listDirectory(parent.empty() ? "." : parent).value_or(std::vector<std::string>{})) {
    // A subfolder that cannot be watched is left to the build to tell of.
    if (isDirectory(parent + entry)) add(parent + entry + "/", pattern, true, false);
  }
  return 0;
}

bool FolderWatch::subfolderEntry(const Watched& parent, const std::string& name, uint32_t mask) {
  const std::string path = withSlash(parent.folder) + name + "/";
  const auto known = std::ranges::find(watched_, path, &Watched::folder);
  const bool isOne = isDirectory(path);
  if (known != watched_.end()) {
    // Renamed away, or a symlink to it removed: what it leads to is no longer
    // read. A folder removed is let go by the kernel itself.
    if (!isOne && known->isSubfolder) {
      inotify_rm_watch(fd_, known->wd);
      watched_.erase(known);
    }
    return true;
  }
  if (isOne) {
    const std::vector<std::string> patterns = parent.patterns;
    for (const std::string& pattern : patterns) add(path, pattern, true, false);
  }
  return isOne || (mask & IN_ISDIR) != 0;
}

int FolderWatch::watchFile(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return watch("", literalPattern(path));
  return watch(path.substr(0, slash + 1), literalPattern(path.substr(slash + 1)));
}

FolderWatch::Watched* FolderWatch::watchedAs(int wd) {
  const auto found = std::ranges::find(watched_, wd, &Watched::wd);
  return found == watched_.end() ? nullptr : &*found;
}

FolderNews FolderWatch::read() {
  FolderNews news;
  if (fd_ < 0) return news;
  alignas(inotify_event) char buffer[16 * 1024];
  for (;;) {
    const ssize_t length = ::read(fd_, buffer, sizeof buffer);
    if (length < 0 && errno == EINTR) continue;
    if (length <= 0) break;  // EAGAIN: all is read
    for (ssize_t at = 0; at < length;) {
      inotify_event event;
      std::memcpy(&event, buffer + at, sizeof event);
      const char* name = buffer + at + sizeof event;
      at += static_cast<ssize_t>(sizeof event + event.len);
      if (event.mask & IN_Q_OVERFLOW) {
        news.changed = true;
        continue;
      }
      Watched* watched = watchedAs(event.wd);
      if (watched == nullptr) continue;
      if (event.mask & kFolderGoneEvents) {
        if (watched->isSubfolder) {
          // An animation that went: the parent's watch tells it as a change too.
          news.changed = true;
          if (event.mask & IN_IGNORED)
            watched_.erase(watched_.begin() + (watched - watched_.data()));
        } else if (std::ranges::find(news.gone, watched->folder) == news.gone.end()) {
          news.gone.push_back(watched->folder);
        }
        continue;
      }
      if (event.len == 0) continue;
      if (matchesAny(watched->patterns, name)) {
        news.changed = true;
      } else if (watched->followsSubfolders && subfolderEntry(*watched, name, event.mask)) {
        news.changed = true;
      }
    }
  }
  return news;
}

}  // namespace oz
