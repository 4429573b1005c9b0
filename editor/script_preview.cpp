#include "editor/script_preview.h"

#include <vector>

#include "script/expansion_context.h"
#include "script/line_sink.h"
#include "script/template_expansion.h"
#include "script/template_header.h"
#include "sheet/frame_scan.h"
#include "sheet/png/png_read.h"
#include "sheet/sheet_layout.h"

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

// The frames with the sizes their headers declare, placed as the build
// places them. A frame whose header does not read counts as 0 x 0, as one
// that does not decode does in a build.
FrameList headerFrames(const std::string& folder, const PreviewInputs& inputs, int64_t* width,
                       int64_t* height) {
  FrameList frames;
  for (std::string& name : scanFrames(folder)) {
    FrameEntry frame;
    if (std::optional<PngSize> size = readPngSize(folder + name)) {
      frame.width = size->width;
      frame.height = size->height;
    }
    frame.name = std::move(name);
    frames.push_back(std::move(frame));
  }
  const SheetLayout layout =
      layOutFrames(frames, LayoutRules{inputs.strip, parseColumns(inputs.columns)});
  *width = inputs.powerOf2 ? padToPowerOf2(layout.width) : layout.width;
  *height = inputs.powerOf2 ? padToPowerOf2(layout.height) : layout.height;
  return frames;
}

}  // namespace

ScriptPreview previewScript(std::span<const std::string> lines, const PreviewInputs& inputs,
                            const std::string& exampleFrames, const PreviewBound& bound) {
  ScriptPreview preview;
  const std::string firstLine = lines.empty() ? std::string() : lines.front();
  preview.extension = templateExtension(firstLine);
  preview.clipboard = isClipboardTemplate(firstLine);
  preview.frameSource =
      withFolderSlash(inputs.imageFolder.empty() ? exampleFrames : inputs.imageFolder);

  const FrameList frames =
      headerFrames(preview.frameSource, inputs, &preview.sheetWidth, &preview.sheetHeight);
  preview.frameCount = frames.size();
  ExpansionContext context;
  context.frames = frames;
  context.sheetWidth = preview.sheetWidth;
  context.sheetHeight = preview.sheetHeight;
  context.sheetPath = inputs.sheetPath;
  context.sheetNumber = inputs.sheetNumber;
  context.divisor = inputs.retina ? 2 : 1;
  BoundedSink sink(&preview, bound);
  expandTemplate(lines, context, sink);
  return preview;
}

std::string previewSummary(const ScriptPreview& preview, const PreviewBound& bound) {
  std::string summary = "Extension: " + preview.extension +
                        (preview.clipboard ? "   Clipboard: yes" : "   Clipboard: no") + "\n" +
                        std::to_string(preview.frameCount) +
                        (preview.frameCount == 1 ? " frame in " : " frames in ") +
                        preview.frameSource;
  if (preview.cut) {
    summary += "\nCut after " + std::to_string(preview.lines) + " lines: the preview stops at " +
               std::to_string(bound.lines) + " lines, " + std::to_string(bound.bytes / 1024) +
               " KB or " + std::to_string(bound.passes) + " loop passes.";
  }
  return summary;
}

}  // namespace oz
