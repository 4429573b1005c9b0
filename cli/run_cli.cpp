#include "cli/run_cli.h"

#include <unistd.h>

#include <climits>
#include <exception>
#include <new>
#include <optional>
#include <string>

#include "cli/cli_build.h"
#include "cli/cli_options.h"
#include "cli/progress_line.h"
#include "cli/watch_cli.h"
#include "messages/problem_text.h"
#include "store/script_store.h"
#include "store/template_gallery.h"

namespace oz {
namespace {

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
  if (request.version) {
    std::fputs(versionLine().c_str(), out);
    return kExitWritten;
  }
  if (request.listScripts) return listScriptNames(out);
  if (request.listGallery) return listGalleryNames(out, err);
  if (request.installScript) return installGalleryScript(*request.installScript, out, err);

  if (request.watch) return runWatch(request, out, err);

  ProgressLine progressLine(err, isatty(fileno(err)) != 0);
  // The command line has no way to stop a build but the usual signals.
  const CliBuildReport report = runCliBuild(request, out, err, progressLine);
  for (const BuiltSheet& sheet : report.sheets) {
    // A sheet equal to the file in place leaves that file, and its time, alone.
    std::fprintf(report.reportOnStandardError ? err : out,
                 sheet.unchanged ? "%s unchanged: %lld x %lld pixels, %zu frame%s.\n"
                                 : "Wrote %s: %lld x %lld pixels, %zu frame%s.\n",
                 sheet.path.c_str(), static_cast<long long>(sheet.width),
                 static_cast<long long>(sheet.height), sheet.frames.size(),
                 sheet.frames.size() == 1 ? "" : "s");
  }
  return report.status;
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
