#include "base/folder_watch.h"

#include <fnmatch.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace oz {
namespace {

// Entries made, written, removed or renamed, a frame's permissions changed,
// and the folder itself going away.
constexpr uint32_t kEntryEvents =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB;
constexpr uint32_t kFolderGoneEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED;

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
  if (fd_ < 0) return EMFILE;
  const int wd = inotify_add_watch(fd_, folder.empty() ? "." : folder.c_str(),
                                   kEntryEvents | IN_ONLYDIR | IN_DELETE_SELF | IN_MOVE_SELF);
  if (wd < 0) return errno;
  // The same folder under another name is the same watch.
  if (Watched* known = watchedAs(wd)) {
    known->patterns.push_back(pattern);
  } else {
    watched_.push_back({wd, folder, {pattern}});
  }
  return 0;
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
        if (std::ranges::find(news.gone, watched->folder) == news.gone.end()) {
          news.gone.push_back(watched->folder);
        }
        continue;
      }
      if (event.len > 0 && matchesAny(watched->patterns, name)) news.changed = true;
    }
  }
  return news;
}

}  // namespace oz
