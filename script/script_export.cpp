#include "script/script_export.h"

#include <new>
#include <set>
#include <utility>
#include <vector>

#include "base/atomic_file.h"
#include "base/text_lines.h"
#include "script/line_sink.h"
#include "script/template_expansion.h"

namespace oz {
namespace {

ScriptExportOutcome failure(ScriptProblem problem, std::string subject) {
  ScriptExportOutcome outcome;
  outcome.kind = ScriptExportOutcome::Kind::Failed;
  outcome.failure = {problem, std::move(subject)};
  return outcome;
}

// The grid as laid out: as many columns as the first row has places, as many
// rows as there are rows of places. Frames that share a place count once.
int64_t columnsOf(std::span<const FrameEntry> frames) {
  std::set<int64_t> places;
  for (const FrameEntry& frame : frames) {
    if (frame.y == frames[0].y) places.insert(frame.x);
  }
  return static_cast<int64_t>(places.size());
}
int64_t rowsOf(std::span<const FrameEntry> frames) {
  std::set<int64_t> rows;
  for (const FrameEntry& frame : frames) rows.insert(frame.y);
  return static_cast<int64_t>(rows.size());
}

}  // namespace

ExpansionContext makeExpansionContext(const BuiltSheet& sheet, const BuildOptions& options,
                                      int64_t index, int64_t count) {
  return ExpansionContext{
      .frames = sheet.frames,
      .sheetWidth = sheet.width,
      .sheetHeight = sheet.height,
      .sheetPath = sheet.path.empty() ? options.savePath : sheet.path,
      .sheetNumber = std::to_string(options.spriteNumber),
      .divisor = options.retina ? 2 : 1,
      .columns = columnsOf(sheet.frames),
      .rows = rowsOf(sheet.frames),
      .colorDepth = options.colorDepth,
      .premultipliedAlpha = options.premultipliedAlpha,
      .transparent = options.transparent,
      .spacing = options.spacing,
      .border = options.border,
      .extrude = options.extrude,
      .sheetIndex = index,
      .sheetCount = count,
      .packed = options.packed,
      .animations = sheet.animations,
      .frameRate = frameRateOf(options),
  };
}

bool readTemplateFirstLine(const std::string& path, std::string* firstLine) {
  std::string text;
  if (!readWholeFile(path, &text)) return false;
  *firstLine = text.substr(0, text.find_first_of("\r\n"));
  return true;
}

std::optional<ScriptFailure> readTemplate(const std::string& path, const std::string& name,
                                          std::string* text) {
  const ReadResult read = readFile(path, text);
  if (read == ReadResult::Read) return std::nullopt;
  return ScriptFailure{ScriptProblem::TemplateUnreadable, name, path, read};
}

ScriptFailure scriptNotWritten(const std::string& path) {
  return {ScriptProblem::WriteFailed, path, {}, ReadResult::Read, folderFaultFor(path)};
}

CommitResult writeScriptFile(std::span<const std::string> lines, const ExpansionContext& context,
                             const std::string& path) {
  AtomicFile file;
  if (!file.open(path)) return CommitResult::Failed;
  StreamLineSink sink(file.stream(), "\n");
  expandTemplate(lines, context, sink);
  return sink.finish() ? file.commit() : CommitResult::Failed;
}

std::string expandToClipboardText(std::span<const std::string> lines,
                                  const ExpansionContext& context) {
  std::string text;
  StringLineSink sink(&text, "\r\n");
  expandTemplate(lines, context, sink);
  return text;
}

ScriptExportOutcome exportScript(const ScriptExportRequest& request,
                                 const ExpansionContext& context) {
  // Read whole before any output exists, so an output path naming the
  // template itself cannot destroy it.
  std::string text;
  if (std::optional<ScriptFailure> unread =
          readTemplate(request.templatePath, request.scriptName, &text)) {
    ScriptExportOutcome outcome;
    outcome.failure = std::move(*unread);
    return outcome;
  }
  const std::vector<std::string> lines = splitLines(text);

  ScriptExportOutcome outcome;
  if (request.clipboardMode) {
    // The clipboard text is held whole in memory, and a template's loop bound
    // can ask for more than there is.
    try {
      outcome.clipboardText = expandToClipboardText(lines, context);
    } catch (const std::bad_alloc&) {
      return failure(ScriptProblem::ClipboardTooLarge, {});
    }
    outcome.kind = ScriptExportOutcome::Kind::ClipboardText;
    outcome.notices = scriptNotices(lines, context);
    return outcome;
  }
  const CommitResult written = writeScriptFile(lines, context, request.outputPath);
  if (written == CommitResult::Failed) {
    ScriptExportOutcome failed;
    failed.failure = scriptNotWritten(request.outputPath);
    return failed;
  }
  outcome.kind = ScriptExportOutcome::Kind::WrittenToFile;
  outcome.notices = scriptNotices(lines, context);
  outcome.unchanged = written == CommitResult::Unchanged;
  return outcome;
}

}  // namespace oz
