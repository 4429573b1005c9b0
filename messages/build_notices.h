// What a build that wrote its sheets tells of the image folder: the
// subfolders that gave no animation, as the window shows them and the
// command line prints them.
#pragma once

#include <vector>

#include "messages/problem_text.h"
#include "sheet/build_note.h"

namespace oz {

// One notice per note, in the notes' order: the folder named in the text
// when there is one, else their number, with the names in the details.
std::vector<ProblemText> buildNotices(const std::vector<BuildNote>& notes);

}  // namespace oz
