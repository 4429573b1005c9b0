// The desktop program from start to end: the support directory (seeded on the
// first run), the main window, the settings store, the event loop, and the
// final write of the settings file.
#pragma once

#include <string>

#include "toolkit/toolkit.h"

namespace oz {

// Runs the program on `toolkit` for the user whose home directory is `home`
// (ending in "/", or empty), on a platform of `versionCode`. Returns the
// process's exit status: 0, also when the main window could not be opened.
// `exampleFrames` is the folder the Script Editor's live preview uses while
// no image folder is chosen; `galleryDir` the template gallery that "Install
// from Gallery..." lists (empty when there is none).
int runProgram(Toolkit& toolkit, const std::string& home, int versionCode,
               const std::string& exampleFrames = {}, const std::string& galleryDir = {});

}  // namespace oz
