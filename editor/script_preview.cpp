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
  for (const BuiltSheet& sheet : layout.sheets) preview.frameCount += sheet.frames.size();
  preview.sheetWidth = layout.sheets.front().width;
  preview.sheetHeight = layout.sheets.front().height;
  preview.sheetCount = layout.sheets.size();
  preview.cellsApart = options.dedupe;
  preview.untrimmed = options.packed && options.trim;
  BoundedSink sink(&preview, bound);
  const auto count = static_cast<int64_t>(layout.sheets.size());
  for (int64_t s = 0; s < count && preview.cut == PreviewCut::None; ++s) {
    expandTemplate(lines, makeExpansionContext(layout.sheets[s], previewed, s, count), sink);
  }
  return preview;
}

std::string previewSummary(const ScriptPreview& preview, const PreviewBound& bound) {
  std::string summary = "Extension: " + preview.extension +
                        (preview.clipboard ? "   Clipboard: yes" : "   Clipboard: no") + "\n" +
                        std::to_string(preview.frameCount) +
                        (preview.frameCount == 1 ? " frame in " : " frames in ") +
                        preview.frameSource;
  if (preview.cellsApart) summary += ", identical ones apart (a build shares their cells)";
  // Trimming needs every frame decoded, which the pause after typing cannot
  // afford on a large folder.
  if (preview.untrimmed) summary += ", untrimmed (a build trims them)";
  // The third line, when there is anything to say: the sheets, the cut.
  std::string last;
  if (preview.sheetCount > 1) {
    last = std::to_string(preview.sheetCount) + " sheets, their scripts one after another.";
  }
  switch (preview.cut) {
    case PreviewCut::None:
      break;
    case PreviewCut::Lines:
      last += " Cut at " + std::to_string(bound.lines) + " lines.";
      break;
    case PreviewCut::Bytes:
      last += " Cut at " + std::to_string(bound.bytes / 1024) + " KB.";
      break;
    case PreviewCut::Passes:
      last += " Cut after " + std::to_string(bound.passes) + " loop passes.";
      break;
  }
  if (last.starts_with(' ')) last.erase(0, 1);
  if (!last.empty()) summary += "\n" + last;
  return summary;
}

}  // namespace oz
