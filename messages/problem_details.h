// The details line under a problem's message: what the build or the export
// found, so that the user knows what to change. Empty when the message says
// all there is.
#pragma once

#include <string>

#include "script/script_export.h"
#include "sheet/build_refusal.h"

namespace oz {

std::string problemDetails(const BuildRefusal& refusal);
std::string problemDetails(const ScriptFailure& failure);

// The text of a SameFile refusal, which names the two paths.
std::string sameFileText(const RunFilesClash& clash);

// The text of a FrameTooLarge refusal, which names the frame and both sizes.
std::string oversizedFrameText(const OversizedFrame& oversized);

// The text of an AnimationNamesClash refusal, which names the animations.
std::string animationNamesText(const AnimationNameClash& clash);

// The size limit's text for sheets of at most `maxSize` pixels a side.
std::string sizeLimitText(int64_t maxSize);

}  // namespace oz
