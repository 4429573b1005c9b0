#include "messages/problem_details.h"

#include <cerrno>
#include <cstring>
#include <string_view>

#include "base/text_lines.h"

namespace oz {
namespace {

std::string quoted(std::string_view text) {
  std::string result = "\"";
  result.append(text).append("\"");
  return result;
}

// 8256 as "8,256".
std::string grouped(int64_t number) {
  std::string digits = std::to_string(number < 0 ? -number : number);
  for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return number < 0 ? "-" + digits : digits;
}

std::string sizeText(int64_t width, int64_t height) {
  return grouped(width) + " x " + grouped(height);
}

bool decodes(const FrameEntry& frame) { return frame.width > 0 && frame.height > 0; }

// What a frame is, for one frame ("is ...") or for several ("are ...").
std::string frameKind(const FrameEntry& frame, bool several) {
  if (decodes(frame)) return sizeText(frame.width, frame.height) + " pixels";
  return several ? "not PNG images that can be read" : "not a PNG image that can be read";
}

std::string differingDetails(const DifferingFrame& d) {
  std::string text = quoted(d.differing.name) + " is " + frameKind(d.differing, false) + ", but ";
  const int64_t before = d.differing.number - 1;
  if (before <= 1) return text + quoted(d.first.name) + " is " + frameKind(d.first, false) + ".";
  return text + "the " + grouped(before) + " frames before it, from " + quoted(d.first.name) +
         " on, are " + frameKind(d.first, true) + ".";
}

std::string oversizedDetails(const OversizedSheet& s) {
  std::string text =
      "The sheet would be " + sizeText(s.width, s.height) + " pixels: " + grouped(s.frames) +
      (s.shared ? " distinct" : "") + (s.frames == 1 ? " frame" : " frames") + " of " +
      sizeText(s.frameWidth, s.frameHeight) +
      (s.perRow == s.frames ? " in one row." : " in rows of " + grouped(s.perRow) + ".");
  const ColumnRange& fit = s.fitting;
  if (fit.most == 0) {
    if (s.frameWidth > kSheetSizeLimit || s.frameHeight > kSheetSizeLimit) {
      return text + " One frame alone is past the limit.";
    }
    return text + " They do not fit in any number of columns.";
  }
  const std::string columns = fit.fewest == fit.most
                                  ? "only " + grouped(fit.most) + " columns fit."
                                  : "any number of columns from " + grouped(fit.fewest) + " to " +
                                        grouped(fit.most) + " fits.";
  if (s.strip) return text + " They do not fit in a strip; as a sheet, " + columns;
  return text + " With \"Sheet\", " + columns;
}

std::string packedOverflowDetails(const PackedOverflow& overflow) {
  return "The " + grouped(overflow.frames) + (overflow.shared ? " distinct" : "") +
         (overflow.frames == 1 ? " frame" : " frames") + " would take " +
         grouped(overflow.sheetsNeeded) + " sheets of " +
         sizeText(overflow.maxSize, overflow.maxSize) +
         " pixels: \"Several Sheets When Needed\" (--multipack) writes them.";
}

std::string folderDetails(const std::string& folder, const FolderUnlistable& cause) {
  switch (cause.error) {
    case ENOENT:
      return "The folder " + quoted(folder) + " does not exist.";
    case ENOTDIR:
      return quoted(folder) + " is not a folder.";
    case EACCES:
    case EPERM:
      return "You have no permission to open the folder " + quoted(folder) + ".";
    default:
      return "The folder " + quoted(folder) + " cannot be read: " + std::strerror(cause.error) +
             ".";
  }
}

std::string noFrameFilesDetails(const std::string& folder, const NoFrameFiles& cause) {
  std::string text = "The folder " + quoted(folder) + " holds no file whose name ends in \".png\"";
  if (cause.otherCaseNames == 0) return text + ".";
  return text + " in small letters; " + grouped(cause.otherCaseNames) +
         (cause.otherCaseNames == 1 ? " name ends" : " names end") +
         " in capitals, such as \".PNG\", which are not taken.";
}

std::string noDecodableDetails(const NoDecodableFrame& cause) {
  if (cause.count == 1) {
    return quoted(cause.first) +
           ", the folder's one file ending in \".png\", is not a PNG image that can be read.";
  }
  return "None of the folder's " + grouped(cause.count) + " files ending in \".png\", from " +
         quoted(cause.first) + " on, is a PNG image that can be read.";
}

std::string readDetails(const std::string& file, ReadResult read) {
  switch (read) {
    case ReadResult::Read:
      break;
    case ReadResult::Missing:
      return "The file " + quoted(file) + " does not exist.";
    case ReadResult::NotPlainFile:
      return quoted(file) + " is not a plain file.";
    case ReadResult::TooLarge:
      return "The file " + quoted(file) + " is larger than " +
             std::to_string(kMaxReadBytes / (1024 * 1024)) +
             " MB, far more than a template needs; it is not read.";
    case ReadResult::NoPermission:
      return "You have no permission to read the file " + quoted(file) + ".";
    case ReadResult::Failed:
      return "The file " + quoted(file) + " cannot be read.";
  }
  return {};
}

std::string folderFaultDetails(const std::string& file, FolderFault fault) {
  const std::string folder = quoted(folderOfPath(file));
  switch (fault) {
    case FolderFault::None:
      break;
    case FolderFault::Missing:
      return "The folder " + folder + " does not exist.";
    case FolderFault::NotAFolder:
      return folder + " is not a folder.";
    case FolderFault::NoPermission:
      return "You have no permission to write in the folder " + folder + ".";
    case FolderFault::Full:
      return "The disk that holds the folder " + folder + " is full.";
  }
  return {};
}

std::string_view fileWord(RunFile file) {
  switch (file) {
    case RunFile::Sheet:
      return "sprite sheet/strip";
    case RunFile::Script:
      return "script";
    case RunFile::Template:
      return "script's template";
    case RunFile::Frame:
      return "frame";
  }
  return {};
}

// Equal names come only from the folder's own frames, named after it, and
// a subfolder of the same name.
std::string animationNamesDetails(const AnimationNameClash& clash) {
  if (clash.form.empty()) {
    return "The frames directly in the image folder form an animation named after the folder, "
           "and so do the frames of its subfolder " +
           quoted(clash.second) + ": rename the subfolder.";
  }
  return "Written in " + clash.form + ", both names are " + quoted(clash.text) +
         ": rename one of them.";
}

}  // namespace

std::string problemDetails(const BuildRefusal& refusal) {
  const RefusalCause& cause = refusal.cause;
  if (const auto* c = std::get_if<FolderUnlistable>(&cause)) return folderDetails(refusal.path, *c);
  if (const auto* c = std::get_if<NoFrameFiles>(&cause)) {
    return noFrameFilesDetails(refusal.path, *c);
  }
  if (const auto* c = std::get_if<NoDecodableFrame>(&cause)) return noDecodableDetails(*c);
  if (const auto* c = std::get_if<DifferingFrame>(&cause)) return differingDetails(*c);
  if (const auto* c = std::get_if<OversizedSheet>(&cause)) return oversizedDetails(*c);
  if (const auto* c = std::get_if<PackedOverflow>(&cause)) return packedOverflowDetails(*c);
  if (const auto* c = std::get_if<SheetNotWritten>(&cause)) {
    return folderFaultDetails(refusal.path, c->folder);
  }
  if (const auto* c = std::get_if<AnimationNameClash>(&cause)) return animationNamesDetails(*c);
  return {};
}

std::string problemDetails(const ScriptFailure& failure) {
  switch (failure.problem) {
    case ScriptProblem::TemplateUnreadable:
      return readDetails(failure.file, failure.read);
    case ScriptProblem::WriteFailed:
      return folderFaultDetails(failure.subject, failure.folder);
    case ScriptProblem::ClipboardTooLarge:
      break;
  }
  return {};
}

std::string oversizedFrameText(const OversizedFrame& oversized) {
  const FrameEntry& frame = oversized.frame;
  std::string text = "The frame " + quoted(frame.name) + " is " +
                     sizeText(frame.width, frame.height) + " pixels" +
                     (frame.trimmed() ? " once trimmed" : "");
  if (oversized.cellWidth != frame.width || oversized.cellHeight != frame.height) {
    text += ", " + sizeText(oversized.cellWidth, oversized.cellHeight) +
            " with its extrusion and the sheet's border";
  }
  return text + ", more than the largest sheet, " + sizeText(oversized.maxSize, oversized.maxSize) +
         " pixels! Unable to create sprite sheet/strip.";
}

std::string animationNamesText(const AnimationNameClash& clash) {
  if (clash.form.empty()) {
    return "Two animations are named " + quoted(clash.first) +
           "! Unable to create sprite sheet/strip.";
  }
  return "The animations " + quoted(clash.first) + " and " + quoted(clash.second) +
         " cannot be told apart in the script! Unable to create sprite sheet/strip.";
}

std::string sizeLimitText(int64_t maxSize) {
  return "The sprite image has exceeded the " + grouped(maxSize) +
         " pixel limit! Unable to create sprite sheet/strip.";
}

std::string sameFileText(const RunFilesClash& clash) {
  const std::string_view file = fileWord(clash.file);
  std::string text = "The ";
  text.append(file).append(" ").append(quoted(clash.path)).append(" and the ");
  text.append(fileWord(clash.other)).append(" ").append(quoted(clash.otherPath));
  text.append(" are the same file! Nothing was saved; ");
  if (clash.other == RunFile::Script) return text + "save them to two different files.";
  return text.append("choose another file for the ").append(file).append(".");
}

}  // namespace oz
