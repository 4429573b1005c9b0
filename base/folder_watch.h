// Changes to chosen entries of folders, as Linux's inotify reports them: what
// a rebuild on change waits for. Folders are watched, not files, because
// editors save by writing a new file and renaming it over the old one, which
// a watch on the old file would lose.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace oz {

// What came since the last read.
struct FolderNews {
  bool changed = false;  // an entry the watch looks for was made, written, removed or renamed
  // The watched folders that were removed, renamed or unmounted, as they were given.
  std::vector<std::string> gone;
  bool operator==(const FolderNews&) const = default;
};

// The fnmatch pattern that matches `name` alone, whatever characters it holds.
std::string literalPattern(std::string_view name);

class FolderWatch {
 public:
  FolderWatch();
  ~FolderWatch();
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  // Watches the entries of `folder` whose names match `pattern` (an fnmatch
  // pattern, as the frame scan matches names: "*.png", or a file's name). A
  // folder may be watched for several patterns. 0, or the errno that tells
  // why it cannot be watched (no such folder, too many watches).
  int watch(const std::string& folder, const std::string& pattern);
  // As watch, and each subfolder of `folder` (one level, symlinked ones too)
  // for the same pattern, as an image folder whose subfolders are animations
  // is read. A subfolder made, removed or renamed is a change; one made or
  // renamed into `folder` is watched from then on, and one that goes is not
  // a gone folder.
  int watchWithSubfolders(const std::string& folder, const std::string& pattern);
  // Watches the folder of the file at `path` ("" when it has none: the
  // working folder) for that file's name, so that a save that renames a new
  // file over it is seen. As watch.
  int watchFile(const std::string& path);
  // Readable while news is waiting: for poll, or a toolkit's watch.
  int descriptor() const { return fd_; }
  // Everything that has come, without waiting. An overflowed event queue
  // reads as a change, since what was lost is unknown.
  FolderNews read();

 private:
  struct Watched {
    int wd = -1;
    std::string folder;
    std::vector<std::string> patterns;
    bool followsSubfolders = false;  // its subfolders are watched as they come
    bool isSubfolder = false;        // of a folder that follows its subfolders
  };

  int add(const std::string& folder, const std::string& pattern, bool isSubfolder,
          bool followsSubfolders);
  Watched* watchedAs(int wd);
  // An event for an entry of `parent`, which follows its subfolders: whether
  // the entry is, or was, a subfolder. One that came is watched from now on,
  // one that went no longer. May move `watched_`'s elements.
  bool subfolderEntry(const Watched& parent, const std::string& name, uint32_t mask);

  int fd_ = -1;
  std::vector<Watched> watched_;
};

}  // namespace oz
