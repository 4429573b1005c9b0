#include "sheet/refusal_causes.h"

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>

#include "base/dir_listing.h"
#include "base/file_identity.h"
#include "base/folder_fault.h"

namespace oz {
namespace {

// The errno of opening the folder, or 0 when it opens.
int folderOpenError(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return errno;
  closedir(dir);
  return 0;
}

bool endsInPngOfAnyCase(const std::string& name) {
  constexpr std::string_view kPng = ".png";
  if (name.size() < kPng.size()) return false;
  return std::equal(kPng.begin(), kPng.end(), name.end() - kPng.size(),
                    [](char lower, char c) { return lower == (c | 0x20); });
}

RefusalCause whyNoImages(const std::string& folder, const FrameList& frames) {
  if (!frames.empty()) {
    return NoDecodableFrame{static_cast<int64_t>(frames.size()), frames.front().name};
  }
  if (const int error = folderOpenError(folder); error != 0) return FolderUnlistable{error};
  const std::vector<std::string> names = listDirectory(folder).value_or(std::vector<std::string>{});
  return NoFrameFiles{std::count_if(names.begin(), names.end(), [](const std::string& name) {
    return endsInPngOfAnyCase(name) && !name.ends_with(".png");
  })};
}

OversizedSheet oversized(const SheetLayout& layout, const FrameList& frames,
                         const BuildOptions& options, const std::vector<size_t>& cellOwners) {
  const FrameEntry& frame = frames.front();  // the sizes were checked first: all share this one
  // Only the frames that own a cell take room on the sheet.
  int64_t count = static_cast<int64_t>(frames.size());
  if (!cellOwners.empty()) {
    count = 0;
    for (size_t i = 0; i < cellOwners.size(); ++i) count += cellOwners[i] == i;
  }
  const int64_t columns = parseColumns(options.columns);
  return {.width = layout.width,
          .height = layout.height,
          .frames = count,
          .frameWidth = frame.width,
          .frameHeight = frame.height,
          .strip = options.strip,
          .perRow = options.strip || columns < 1 ? count : std::min(columns, count),
          .fitting = columnsThatFit(
              count, frame.width, frame.height,
              {.spacing = options.spacing, .border = options.border, .extrude = options.extrude}),
          .shared = !cellOwners.empty()};
}

BuildRefusal clash(RunFile file, const std::string& path, RunFile other,
                   const std::string& otherPath) {
  return {BuildProblem::SameFile, {}, RunFilesClash{file, path, other, otherPath}};
}

}  // namespace

BuildRefusal sheetNotWritten(const std::string& path) {
  return {BuildProblem::WriteFailed, path, SheetNotWritten{folderFaultFor(path)}};
}

BuildRefusal layoutRefusal(const SheetLayout& layout, const FrameList& frames,
                           const BuildOptions& options, const std::vector<size_t>& cellOwners) {
  switch (layout.problem) {
    case LayoutProblem::SizeMismatch:
      return {BuildProblem::SizeMismatch,
              {},
              DifferingFrame{frames.front(), frames[layout.decidingFrames - 1]}};
    case LayoutProblem::TooLarge:
      return {BuildProblem::SizeLimit, {}, oversized(layout, frames, options, cellOwners)};
    default:
      return {BuildProblem::NoImages, options.imageFolder,
              whyNoImages(options.imageFolder, frames)};
  }
}

std::optional<BuildRefusal> runFilesClash(const BuildOptions& options, const FrameList& frames) {
  const std::string& sheet = options.savePath;
  const std::string& script = options.scriptPath;
  if (namesSameFile(sheet, script)) return clash(RunFile::Sheet, sheet, RunFile::Script, script);
  if (namesSameFile(sheet, options.templatePath)) {
    return clash(RunFile::Sheet, sheet, RunFile::Template, options.templatePath);
  }
  if (namesSameFile(script, options.templatePath)) {
    return clash(RunFile::Script, script, RunFile::Template, options.templatePath);
  }
  const struct {
    RunFile file;
    const std::string& path;
    std::optional<FileIdentity> identity;
  } outputs[] = {{RunFile::Sheet, sheet, writtenFileIdentity(sheet)},
                 {RunFile::Script, script, writtenFileIdentity(script)}};
  for (const FrameEntry& frame : frames) {
    const std::string framePath = options.imageFolder + frame.name;
    const FileIdentity identity = identifyFile(framePath);
    for (const auto& output : outputs) {
      if (output.identity == identity) {
        return clash(output.file, output.path, RunFile::Frame, framePath);
      }
    }
  }
  return std::nullopt;
}

}  // namespace oz
