// The message box for each problem the sheet build and the script export
// report: its title and text, the same in the window and on the command line,
// and the details that say what was found.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "script/script_export.h"
#include "sheet/build_sheet.h"

namespace oz {

struct ProblemText {
  std::string title;
  std::string text;
  std::string details;  // one line; empty when the text says all there is

  bool operator==(const ProblemText&) const = default;
};

ProblemText problemText(const BuildRefusal& refusal);
ProblemText problemText(const ScriptFailure& failure);

// With Retina, frames of an odd width or height lose the half pixels of the
// script's halved positions and sizes, and an odd spacing, border or
// extrusion those of the positions: the notice that says so, with the frame
// size, or else with the three numbers. nullopt when nothing is rounded.
std::optional<ProblemText> retinaRoundingNotice(const ExpansionContext& context);

// What to tell beside a written script, one message each, in this order: two
// frames that share a class name; frames set apart that a script stepping
// through the sheet by the frame size misses.
std::vector<ProblemText> noticeTexts(const ScriptNotices& notices);

}  // namespace oz
