#include "editor/script_preview_pane.h"

#include <utility>

namespace oz {
namespace {

constexpr int kSummaryHeight = 54;  // three lines
constexpr int kGap = 4;

}  // namespace

std::string previewHtml(std::string_view text) {
  std::string html = "<pre>";
  html.reserve(text.size() + 16);
  for (char c : text) {
    switch (c) {
      case '<':
        html += "&lt;";
        break;
      case '>':
        html += "&gt;";
        break;
      case '&':
        html += "&amp;";
        break;
      default:
        html += c;
    }
  }
  html += "</pre>";
  return html;
}

void ScriptPreviewPane::setSource(std::function<BuildOptions()> options,
                                  std::string exampleFrames) {
  options_ = std::move(options);
  exampleFrames_ = std::move(exampleFrames);
}

void ScriptPreviewPane::create(Rect area) {
  toolkit_.createLabel(Window::ScriptEditor, Control::ScriptPreviewInfo, {}, "", LabelAlign::Left);
  toolkit_.createRichText(Window::ScriptEditor, Control::ScriptPreviewText, {}, "");
  place(area);
}

void ScriptPreviewPane::remove() {
  toolkit_.stopTimer(Timer::ScriptPreview);
  toolkit_.removeControl(Control::ScriptPreviewInfo);
  toolkit_.removeControl(Control::ScriptPreviewText);
}

void ScriptPreviewPane::place(Rect area) {
  toolkit_.setGeometry(Control::ScriptPreviewInfo, {area.x, area.y, area.width, kSummaryHeight});
  const int textTop = area.y + kSummaryHeight + kGap;
  toolkit_.setGeometry(Control::ScriptPreviewText,
                       {area.x, textTop, area.width, area.y + area.height - textTop});
}

void ScriptPreviewPane::scheduleRefresh() {
  if (shown_) toolkit_.startTimer(Timer::ScriptPreview, kPreviewPauseMilliseconds, false);
}

void ScriptPreviewPane::refresh(std::span<const std::string> lines) {
  if (!shown_) return;
  const BuildOptions options = options_ ? options_() : BuildOptions{};
  const PreviewBound bound;
  const ScriptPreview preview = previewScript(lines, options, exampleFrames_, bound);
  // The header is cut at the pane's edge; its tip shows all of it, a long
  // folder path too.
  const std::string summary = previewSummary(preview, bound);
  toolkit_.setText(Control::ScriptPreviewInfo, summary);
  toolkit_.setToolTip(Control::ScriptPreviewInfo, summary);
  toolkit_.setText(Control::ScriptPreviewText, previewHtml(preview.text));
}

}  // namespace oz
