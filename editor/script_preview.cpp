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
    const bool full = preview_->lines >= bound_.lines;
    if (full || preview_->text.size() + text.size() + 1 > bound_.bytes) {
      preview_->cut = full ? PreviewCut::Lines : PreviewCut::Bytes;
      setFailed();
      return;
    }
    preview_->text.append(text).push_back('\n');
    ++preview_->lines;
  }

  void loopedBack() override {
    if (++passes_ < bound_.passes) return;
    preview_->cut = PreviewCut::Passes;
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
  switch (preview.cut) {
    case PreviewCut::None:
      break;
    case PreviewCut::Lines:
      summary += "\nCut at " + std::to_string(bound.lines) + " lines.";
      break;
    case PreviewCut::Bytes:
      summary += "\nCut at " + std::to_string(bound.bytes / 1024) + " KB.";
      break;
    case PreviewCut::Passes:
      summary += "\nCut after " + std::to_string(bound.passes) + " loop passes.";
      break;
  }
  return summary;
}

}  // namespace oz
