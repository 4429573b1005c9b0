// Finding the frames of an image folder.
#pragma once

#include <string>
#include <vector>

namespace oz {

// The names in `folder` that match "*.png" (case-sensitive; a leading period
// matches too), in versionsort order, less those on which lstat fails. Entries
// are not checked for being regular files: a directory named "x.png" is a
// frame that does not decode. A folder that cannot be opened has no frames.
std::vector<std::string> scanFrames(const std::string& folder);

// The image folder as a path the frame names are joined to: a path that names
// a directory but lacks the final "/" gets one, as the folder requester gives
// it, so a folder typed works like the same folder chosen. Any other path is
// returned as it is.
std::string withFolderSlash(std::string folder);

}  // namespace oz
