#include "store/template_gallery.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <functional>
#include <map>

#include "base/text_lines.h"
#include "store/script_store.h"

namespace oz {
namespace {

bool isDirectory(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The canonical form of an existing path; the text itself when it cannot be
// resolved, so two unresolvable paths still compare as written.
std::string canonical(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

std::string withSlash(std::string_view folder) {
  std::string path(folder);
  if (!path.ends_with('/')) path += '/';
  return path;
}

// Writes all of `bytes` to a file that must not exist yet.
GalleryInstallResult createExclusively(const std::string& path, std::string_view bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    return errno == EEXIST ? GalleryInstallResult::AlreadyExists : GalleryInstallResult::Failed;
  }
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<size_t>(n);
  }
  const bool closed = close(fd) == 0;
  if (written == bytes.size() && closed) return GalleryInstallResult::Installed;
  unlink(path.c_str());  // a half-written script would look like a real one
  return GalleryInstallResult::Failed;
}

}  // namespace

std::optional<std::string> galleryDirFor(std::string_view executablePath,
                                         std::string_view buildBinDir,
                                         std::string_view sourceGalleryDir) {
  return dataDirFor(executablePath, kGalleryBelowBin, buildBinDir, sourceGalleryDir);
}

std::optional<std::string> dataDirFor(std::string_view executablePath, std::string_view belowBin,
                                      std::string_view buildBinDir, std::string_view sourceDir) {
  const size_t slash = executablePath.rfind('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::string binDir(executablePath.substr(0, slash + 1));
  const std::string installed = binDir + std::string(belowBin);
  if (isDirectory(installed)) return installed;
  const std::string source = withSlash(sourceDir);
  if (!buildBinDir.empty() && canonical(binDir) == canonical(std::string(buildBinDir)) &&
      isDirectory(source)) {
    return source;
  }
  return std::nullopt;
}

std::vector<GalleryTemplate> listGallery(const std::string& galleryDir) {
  const std::string folder = withSlash(galleryDir);
  std::map<std::string, std::string, std::less<>> descriptions;
  std::string text;
  if (readWholeFile(folder + std::string(kGalleryDescriptions), &text)) {
    for (const std::string& line : splitLines(text)) {
      const size_t tab = line.find('\t');
      if (line.starts_with('#') || tab == std::string::npos) continue;
      descriptions.emplace(line.substr(0, tab), line.substr(tab + 1));
    }
  }
  std::vector<GalleryTemplate> templates;
  for (std::string& name : listScripts(SupportDir{folder})) {
    const auto found = descriptions.find(name);
    std::string description = found == descriptions.end() ? "" : found->second;
    templates.push_back({std::move(name), std::move(description)});
  }
  return templates;
}

GalleryInstallResult installFromGallery(const std::string& galleryDir, const SupportDir& dir,
                                        std::string_view name) {
  const std::optional<std::string> source = scriptPath(SupportDir{withSlash(galleryDir)}, name);
  std::string bytes;
  if (!source || !readWholeFile(*source, &bytes)) {
    return GalleryInstallResult::NotInGallery;
  }
  const std::optional<std::string> target = scriptPath(dir, name);
  if (!target) return GalleryInstallResult::NotInGallery;
  return createExclusively(*target, bytes);
}

}  // namespace oz
