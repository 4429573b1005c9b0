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

// Of `names`, entries of `folder` in the order listed, the frames that
// scanFrames takes.
std::vector<std::string> framesAmong(const std::string& folder, std::vector<std::string> names);

// Whether an entry of this name is a frame: it matches "*.png".
bool isFrameName(const std::string& name);

// The image folder as a path the frame names are joined to: a path that names
// a directory but lacks the final "/" gets one, as the folder requester gives
// it, so a folder typed works like the same folder chosen. Any other path is
// returned as it is.
std::string withFolderSlash(std::string folder);

}  // namespace oz
