// Why a file could not be made at a path, as far as the folder it goes in
// tells: for a message that says what to change.
#pragma once

#include <string>

namespace oz {

enum class FolderFault {
  None,          // the folder looks fine; the cause lies elsewhere
  Missing,       // the folder does not exist
  NotAFolder,    // the path's folder part names a file
  NoPermission,  // the folder exists but may not be written to
  Full,          // the file system holding the folder has no free space
};

// The folder part of `path`: everything up to its last "/" ("./" when none).
std::string folderOfPath(const std::string& path);

FolderFault folderFaultFor(const std::string& path);

}  // namespace oz
