#include "editor/script_preview.h"

#include <vector>

#include "script/line_sink.h"
#include "script/script_export.h"
#include "script/template_expansion.h"
#include "script/template_header.h"
#include "sheet/frame_scan.h"
#include "sheet/header_layout.h"

namespace oz {
namespace {

// Keeps lines until the bound is reached, then fails, which ends the
// expansion: the cost of a preview never passes the bound.
class BoundedSink final : public LineSink {
 public:
  BoundedSink(ScriptPreview* preview, const PreviewBound& bound)
      : preview_(preview), bound_(bound) {}

  void line(std::string_view text) override {
    if (preview_->lines >= bound_.lines || preview_->text.size() + text.size() + 1 > bound_.bytes) {
      preview_->cut = true;
      setFailed();
      return;
    }
    preview_->text.append(text).push_back('\n');
    ++preview_->lines;
  }

  void loopedBack() override {
    if (++passes_ < bound_.passes) return;
    preview_->cut = true;
    setFailed();
  }

 private:
  ScriptPreview* preview_;
  PreviewBound bound_;
  size_t passes_ = 0;
};

}  // namespace

ScriptPreview previewScript(std::span<const std::string> lines, const BuildOptions& options,
                            const std::string& exampleFrames, const PreviewBound& bound) {
  ScriptPreview preview;
  const std::string firstLine = lines.empty() ? std::string() : lines.front();
  preview.extension = templateExtension(firstLine);
  preview.clipboard = isClipboardTemplate(firstLine);
  BuildOptions previewed = options;
  previewed.imageFolder =
      withFolderSlash(options.imageFolder.empty() ? exampleFrames : options.imageFolder);
  preview.frameSource = previewed.imageFolder;

  const HeaderLayout layout = layOutFromHeaders(previewed);
  preview.frameCount = layout.sheet.frames.size();
  preview.sheetWidth = layout.sheet.width;
  preview.sheetHeight = layout.sheet.height;
  preview.cellsApart = options.dedupe;
  BoundedSink sink(&preview, bound);
  expandTemplate(lines, makeExpansionContext(layout.sheet, previewed), sink);
  return preview;
}

std::string previewSummary(const ScriptPreview& preview, const PreviewBound& bound) {
  std::string summary = "Extension: " + preview.extension +
                        (preview.clipboard ? "   Clipboard: yes" : "   Clipboard: no") + "\n" +
                        std::to_string(preview.frameCount) +
                        (preview.frameCount == 1 ? " frame in " : " frames in ") +
                        preview.frameSource;
  if (preview.cellsApart) summary += ", identical ones apart (a build shares their cells)";
  if (preview.cut) {
    summary += "\nCut after " + std::to_string(preview.lines) + " lines: the preview stops at " +
               std::to_string(bound.lines) + " lines, " + std::to_string(bound.bytes / 1024) +
               " KB or " + std::to_string(bound.passes) + " loop passes.";
  }
  return summary;
}

}  // namespace oz
