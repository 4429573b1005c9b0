#include "cli/run_cli.h"

#include <unistd.h>

#include <climits>
#include <exception>
#include <new>
#include <optional>
#include <string>

#include "base/text_lines.h"
#include "cli/cli_options.h"
#include "cli/progress_line.h"
#include "cli/same_file.h"
#include "cli/script_cli.h"
#include "messages/build_notices.h"
#include "messages/problem_text.h"
#include "script/name_forms.h"
#include "script/script_export.h"
#include "script/template_turn.h"
#include "sheet/numbered_path.h"
#include "store/first_run.h"
#include "store/script_store.h"
#include "store/template_gallery.h"

namespace oz {
namespace {

// A problem's message box as one line, its title and then its text; what was
// found, when there is more to say, on a line of its own.
void printProblem(std::FILE* err, const ProblemText& problem) {
  std::fprintf(err, "%s %s\n", problem.title.c_str(), problem.text.c_str());
  if (!problem.details.empty()) std::fprintf(err, "%s\n", problem.details.c_str());
}

// The support directory, seeded with the example scripts on its first use,
// exactly as the desktop program finds it.
SupportDir preparedSupportDir() {
  return prepareSupportDir(thisPlatformVersionCode(), homeDirectory()).dir;
}

int listScriptNames(std::FILE* out) {
  for (const std::string& name : listScripts(preparedSupportDir())) {
    std::fprintf(out, "%s\n", name.c_str());
  }
  return kExitWritten;
}

// The gallery beside this executable, or in the source tree when it runs from
// its build folder.
std::optional<std::string> galleryDir() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  if (length <= 0 || length == sizeof path) return std::nullopt;
  return galleryDirFor(std::string_view(path, static_cast<size_t>(length)), OZ_BUILD_BIN_DIR,
                       OZ_SOURCE_GALLERY_DIR);
}

int withGallery(std::FILE* err, const auto& use) {
  const std::optional<std::string> dir = galleryDir();
  if (!dir) {
    std::fprintf(err,
                 "orvane-zozivi-cli: the template gallery is not installed: it belongs in "
                 "share/orvane-zozivi/templates/ of the installation prefix\n");
    return kExitRefused;
  }
  return use(*dir);
}

int listGalleryNames(std::FILE* out, std::FILE* err) {
  return withGallery(err, [out](const std::string& dir) {
    for (const GalleryTemplate& entry : listGallery(dir)) {
      std::fprintf(out, "%s\t%s\n", entry.name.c_str(), entry.description.c_str());
    }
    return kExitWritten;
  });
}

int installGalleryScript(const std::string& name, std::FILE* out, std::FILE* err) {
  return withGallery(err, [&](const std::string& gallery) {
    const SupportDir support = preparedSupportDir();
    const std::string target = support.file(name + ".txt");
    switch (installFromGallery(gallery, support, name)) {
      case GalleryInstallResult::Installed:
        std::fprintf(out, "Installed the script \"%s\" as %s.\n", name.c_str(), target.c_str());
        return kExitWritten;
      case GalleryInstallResult::NotInGallery:
        std::fprintf(err,
                     "orvane-zozivi-cli: the gallery has no template \"%s\"; --gallery lists "
                     "them.\n",
                     name.c_str());
        return kExitRefused;
      case GalleryInstallResult::AlreadyExists:
        std::fprintf(err,
                     "orvane-zozivi-cli: a script named \"%s\" already exists (%s); it was left "
                     "as it is. Rename or delete it to install the gallery's copy.\n",
                     name.c_str(), target.c_str());
        return kExitRefused;
      case GalleryInstallResult::Failed:
        break;
    }
    std::fprintf(err, "orvane-zozivi-cli: could not write %s.\n", target.c_str());
    return kExitWriteFailed;
  });
}

// The script's side of the request: the template and where its expansion goes.
CliScriptRequest scriptRequestFor(const CliRequest& request, std::FILE* out) {
  CliScriptRequest scriptRequest{*request.script, "", request.dataPath};
  // "/dev/stdout" and its like go through the one stream, so the script and
  // the report cannot overwrite each other.
  if (request.dataPath && namesStreamFile(*request.dataPath, out))
    scriptRequest.dataPath.emplace(1, '-');
  // Only a script name needs the support directory; a path is used as given.
  if (!isScriptPathArgument(*request.script)) scriptRequest.supportDir = preparedSupportDir().path;
  return scriptRequest;
}

// Expands the template after sheet `index` of `count` was written, into the
// --data path numbered as the sheet is. Returns the exit status.
int exportScriptAfterSheet(const CliRequest& request, CliScriptRequest scriptRequest,
                           const BuiltSheet& sheet, int64_t index, int64_t count, std::FILE* out,
                           std::FILE* err, bool* scriptOnStandardOutput) {
  if (scriptRequest.dataPath && *scriptRequest.dataPath != "-") {
    scriptRequest.dataPath = numberedPath(*scriptRequest.dataPath, index, count);
  }
  const ExpansionContext context = makeExpansionContext(sheet, request.build, index, count);
  if (const std::optional<ProblemText> notice = retinaRoundingNotice(context)) {
    std::fprintf(err, "orvane-zozivi-cli: %s\n", notice->text.c_str());
  }
  const CliScriptOutcome outcome = runCliScriptExport(scriptRequest, context, out);
  switch (outcome.status) {
    case CliScriptStatus::WrittenToFile:
      return kExitWritten;
    case CliScriptStatus::WrittenToStandardOutput:
      *scriptOnStandardOutput = true;
      return kExitWritten;
    case CliScriptStatus::NoDataPath:
      if (index == 0) {
        std::fprintf(err, "No --data PATH given: only the sheet was written, not the script.\n");
      }
      return kExitWritten;
    case CliScriptStatus::StandardOutputFailed:
      *scriptOnStandardOutput = true;  // the report must not go where writing failed
      break;
    case CliScriptStatus::Failed:
      break;
  }
  printProblem(err, problemText(outcome.failure));
  return kExitWriteFailed;
}

int run(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  const ParsedArguments parsed = parseArguments(argc, argv);
  if (const auto* usage = std::get_if<UsageError>(&parsed)) {
    std::fprintf(err, "orvane-zozivi-cli: %s\nTry \"orvane-zozivi-cli --help\".\n",
                 usage->message.c_str());
    return kExitUsage;
  }
  const CliRequest& request = std::get<CliRequest>(parsed);
  if (request.help) {
    std::fputs(helpText().c_str(), out);
    return kExitWritten;
  }
  if (request.listScripts) return listScriptNames(out);
  if (request.listGallery) return listGalleryNames(out, err);
  if (request.installScript) return installGalleryScript(*request.installScript, out, err);

  const std::optional<CliScriptRequest> scriptRequest =
      request.script ? std::optional(scriptRequestFor(request, out)) : std::nullopt;
  BuildOptions options = request.build;
  options.animationNameForms = scriptNameForms;
  // The script's files are compared with the sheet's before anything is
  // written; "-" is the file standard output goes to, which a sheet written
  // there would replace.
  if (scriptRequest) {
    options.templatePath =
        resolveScriptArgument(scriptRequest->scriptArgument, scriptRequest->supportDir);
    options.scriptPath = scriptRequest->dataPath.value_or("");
    if (options.scriptPath == "-") options.scriptPath = fileno(out) == 1 ? "/dev/stdout" : "";
    // A template that names turned frames the anticlockwise way gets them so.
    std::string text;
    if (!readTemplate(options.templatePath, scriptRequest->scriptArgument, &text)) {
      options.turn = templateTurn(splitLines(text));
    }
  }
  ProgressLine progressLine(err, isatty(fileno(err)) != 0);
  // The command line has no way to stop a build but the usual signals.
  const BuildOutcome outcome = buildSheet(options, [&progressLine](const BuildProgress& progress) {
    progressLine.update(progress);
    return true;
  });
  progressLine.finish();

  if (const auto* refusal = std::get_if<BuildRefusal>(&outcome)) {
    printProblem(err, problemText(*refusal));
    switch (refusal->problem) {
      case BuildProblem::WriteFailed:
        return kExitWriteFailed;
      case BuildProblem::SameFile:
        return kExitUsage;
      default:
        return kExitRefused;
    }
  }
  const BuiltSheets& built = std::get<BuiltSheets>(outcome);
  for (const ProblemText& notice : buildNotices(built.notes)) {
    std::fprintf(err, "orvane-zozivi-cli: %s\n", notice.text.c_str());
    if (!notice.details.empty()) std::fprintf(err, "%s\n", notice.details.c_str());
  }
  const std::vector<BuiltSheet>& sheets = built.sheets;
  const auto count = static_cast<int64_t>(sheets.size());
  bool scriptOnStandardOutput = false;
  int status = kExitWritten;
  for (int64_t s = 0; s < count && scriptRequest && status == kExitWritten; ++s) {
    status = exportScriptAfterSheet(request, *scriptRequest, sheets[s], s, count, out, err,
                                    &scriptOnStandardOutput);
  }
  // When standard output carries the script or the sheet, or was asked to
  // carry the script, the report goes to standard error: what is there can be
  // piped on untouched, and a script that failed leaves nothing to be taken
  // for it.
  const bool scriptAskedOnStandardOutput =
      request.dataPath && (*request.dataPath == "-" || namesStreamFile(*request.dataPath, out));
  const bool outputOnStandardOutput = scriptOnStandardOutput || scriptAskedOnStandardOutput ||
                                      namesStreamFile(request.build.savePath, out);
  for (const BuiltSheet& sheet : sheets) {
    std::fprintf(outputOnStandardOutput ? err : out, "Wrote %s: %lld x %lld pixels, %zu frame%s.\n",
                 sheet.path.c_str(), static_cast<long long>(sheet.width),
                 static_cast<long long>(sheet.height), sheet.frames.size(),
                 sheet.frames.size() == 1 ? "" : "s");
  }
  return status;
}

}  // namespace

int runCli(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  // Whatever fails on the way ends with a message, never with an uncaught
  // exception; the files being written remove themselves as the stack unwinds.
  try {
    return run(argc, argv, out, err);
  } catch (const std::bad_alloc&) {
    printProblem(err, problemText(outOfMemoryRefusal()));
  } catch (const std::exception& error) {
    std::fprintf(err, "orvane-zozivi-cli: %s\n", error.what());
  }
  return kExitRefused;
}

}  // namespace oz
