// One build of the command line: the sheet, or several, and the script
// expanded after each, with the template read afresh. A plain run makes one;
// --watch makes one after each change.
#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/progress_line.h"
#include "messages/problem_text.h"
#include "sheet/build_sheet.h"
#include "store/support_dir.h"

namespace oz {

struct CliBuildReport {
  int status = 0;                       // a CliExitStatus
  std::optional<BuildProblem> refusal;  // why the build wrote nothing, when it was refused
  bool stopped = false;                 // `stopRequested` stopped it: nothing was written
  std::vector<BuiltSheet> sheets;       // in place, written or left as they were
  bool written = false;                 // some output was written, not left as it was
  // Standard output carries an output, or was asked to: reports go to
  // standard error, so that what is there can be piped on untouched.
  bool reportOnStandardError = false;
};

// Builds what `request` asks for. Problems and notices go to `err`, the
// progress to `progressLine`, which is finished before any of them.
// `stopRequested` (may be empty) is asked at each step of the sheet build:
// true stops it, and nothing is written; once the sheets are in place their
// scripts are written too, so that the outputs belong together.
CliBuildReport runCliBuild(const CliRequest& request, std::FILE* out, std::FILE* err,
                           ProgressLine& progressLine,
                           const std::function<bool()>& stopRequested = nullptr);

// The template file --script names, or "" when there is none.
std::string templateFileOf(const CliRequest& request);

// The support directory, seeded with the example scripts on its first use,
// exactly as the desktop program finds it.
SupportDir preparedSupportDir();

// A problem's message box as one line, its title and then its text; what was
// found, when there is more to say, on a line of its own.
void printProblem(std::FILE* err, const ProblemText& problem);

}  // namespace oz
