// The message box for each problem the sheet build reports: its title and
// text, the same in the window and on the command line.
#pragma once

#include <string>

#include "sheet/build_sheet.h"

namespace oz {

struct ProblemText {
  std::string title;
  std::string text;

  bool operator==(const ProblemText&) const = default;
};

ProblemText problemText(const BuildRefusal& refusal);

}  // namespace oz
