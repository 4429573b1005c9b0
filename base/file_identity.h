// Whether two paths name one file, however each is spelled: through a
// symbolic link, a hard link, a relative or an absolute path, "./" and "..".
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace oz {

// The file a path names: its device and inode when it exists, else the
// absolute path with every link of it resolved, where a writer would create it
// (a dangling link is followed to the name it points at).
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  std::string path;  // only for a file that does not exist

  bool operator==(const FileIdentity&) const = default;
};

FileIdentity identifyFile(const std::string& path);

// The file that writing through `path` would replace or mix into another
// output, or nothing: an empty path names no file, and a character device
// (/dev/null, a terminal) takes any number of writers.
std::optional<FileIdentity> writtenFileIdentity(const std::string& path);

// True when writing through `written` would destroy or mix into the file
// `other` names (which is written too, or read). False for an empty `other`.
bool namesSameFile(const std::string& written, const std::string& other);

}  // namespace oz
