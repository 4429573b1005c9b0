#include "app/sheet_preview.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "sheet/png/png_read.h"

namespace oz {
namespace {

constexpr std::string_view kWindowTitle = "Sheet Preview";
constexpr int kWindowWidth = 760;
constexpr int kWindowHeight = 520;
constexpr int kMinimumWidth = 520;
constexpr int kMinimumHeight = 440;  // the sidebar's rows, from the animation to the frame

constexpr int kMargin = 8;
constexpr int kToolbarHeight = 28;
constexpr int kButtonWidth = 64;
constexpr int kSidebarWidth = 220;
constexpr int kStripSide = 220;
constexpr int kLineHeight = 24;
constexpr int kScrollBarThickness = 16;

constexpr std::string_view kFitCaption = "Fit";
constexpr std::string_view kActualCaption = "100 %";
constexpr std::string_view kDoubleCaption = "200 %";
constexpr std::string_view kPlayCaption = "Play";
constexpr std::string_view kPauseCaption = "Pause";
constexpr std::string_view kRateCaption = "Frames per second:";
constexpr std::string_view kSheetChoiceCaption = "Sheet:";
constexpr std::string_view kAnimationChoiceCaption = "Animation:";
constexpr int kZoomLabelWidth = 110;
constexpr int kSheetChoiceLabelWidth = 44;
constexpr int kAnimationLabelWidth = 72;
constexpr std::string_view kUnreadableTitle = "Sheet Preview";

std::string unreadableText(const std::string& path) {
  return "The sheet \"" + path +
         "\" could not be read back. It may have been moved, replaced or damaged since it was "
         "built.";
}

std::string zoomText(double scale) {
  return "Zoom: " + std::to_string(static_cast<long long>(std::lround(scale * 100))) + " %";
}

// "3 of 5": one of a count, from 1.
std::string ordinal(size_t index, size_t count) {
  return std::to_string(index + 1) + " of " + std::to_string(count);
}

std::string frameText(size_t index, const std::vector<FrameRef>& played,
                      const WrittenSheets& written) {
  if (played.empty()) return "No frames";
  const FrameRef& ref = played[index];
  std::string text = "Frame " + ordinal(index, played.size()) + ": " +
                     written.sheets[ref.sheet].frames[ref.frame].name;
  if (written.sheets.size() > 1) text += "\nOn sheet " + ordinal(ref.sheet, written.sheets.size());
  return text;
}

std::string fileName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

bool isPreviewControl(int control) {
  return control >= Control::PreviewSheet && control <= Control::PreviewAnimation;
}

}  // namespace

SheetPreview::SheetPreview(Toolkit& toolkit, Clock clock)
    : toolkit_(toolkit), clock_(std::move(clock)) {}

void SheetPreview::setSheets(WrittenSheets sheets) {
  const bool newRate = !sheets_ || sheets_->frameRate != sheets.frameRate;
  const std::string played = sheets_ ? sheets_->animations[playedAnimation_].name : "";
  sheets_ = std::move(sheets);
  // The animation watched stays chosen while the build still makes it.
  const std::vector<PlayedAnimation>& animations = sheets_->animations;
  const auto same = std::ranges::find(animations, played, &PlayedAnimation::name);
  playedAnimation_ = same == animations.end() ? 0 : static_cast<size_t>(same - animations.begin());
  if (!isOpen()) return;
  if (!readSheets()) {
    close();
    return;
  }
  hovered_ = -1;
  shownFrame_ = 0;
  shownSheet_ = 0;
  fillSheetChoice();
  fillAnimationChoice();
  // A rate tried out here stays until the script's own changes.
  if (newRate) toolkit_.setState(Control::PreviewRate, sheets_->frameRate);
  fit();
  if (playing_) startPlaying();
  showFrame(0);
}

bool SheetPreview::isOpen() const { return toolkit_.isWindowOpen(Window::SheetPreview); }

void SheetPreview::open() {
  if (!sheets_ || !readSheets()) return;
  buildWindow();
  hovered_ = -1;
  shownFrame_ = 0;
  shownSheet_ = 0;
  fillSheetChoice();
  fillAnimationChoice();
  toolkit_.setState(Control::PreviewRate, sheets_->frameRate);
  playing_ = true;
  fit();
  startPlaying();
  showFrame(0);
}

bool SheetPreview::readSheets() {
  images_.clear();
  for (const WrittenSheet& sheet : sheets_->sheets) {
    std::optional<RgbaImage> decoded = decodePng(sheet.path);
    // A file of another size is no longer the sheet the frames were placed on.
    bool matches = decoded.has_value();
    for (const FrameEntry& frame : sheet.frames) {
      if (!matches) break;
      const int64_t right = frame.x + (frame.rotated ? frame.height : frame.width);
      const int64_t bottom = frame.y + (frame.rotated ? frame.width : frame.height);
      matches = right <= decoded->width && bottom <= decoded->height;
    }
    if (!matches) {
      toolkit_.messageBox(kUnreadableTitle, unreadableText(sheet.path), MessageButtons::Ok);
      images_.clear();
      return false;
    }
    images_.push_back(
        {decoded->width, decoded->height,
         std::make_shared<const std::vector<std::uint8_t>>(std::move(decoded->pixels))});
  }
  return true;
}

void SheetPreview::buildWindow() {
  const WindowStyle style{.closeButton = true,
                          .minimiseButton = true,
                          .resizable = true,
                          .placement = Placement::CentredOverActiveWindow,
                          .menuBar = true};
  if (!toolkit_.openWindow(Window::SheetPreview, kWindowTitle, kWindowWidth, kWindowHeight,
                           style)) {
    return;
  }
  toolkit_.setMinimumSize(Window::SheetPreview, kMinimumWidth, kMinimumHeight);
  const int w = Window::SheetPreview;
  toolkit_.createButton(w, Control::PreviewFit, {}, kFitCaption);
  toolkit_.createButton(w, Control::PreviewActualSize, {}, kActualCaption);
  toolkit_.createButton(w, Control::PreviewDoubleSize, {}, kDoubleCaption);
  toolkit_.createLabel(w, Control::PreviewZoomLabel, {}, "", LabelAlign::Left);
  toolkit_.createLabel(w, Control::PreviewSheetChoiceLabel, {}, kSheetChoiceCaption,
                       LabelAlign::Left);
  toolkit_.createList(w, Control::PreviewSheetChoice, {});
  toolkit_.createLabel(w, Control::PreviewAnimationLabel, {}, kAnimationChoiceCaption,
                       LabelAlign::Left);
  toolkit_.createList(w, Control::PreviewAnimation, {});
  toolkit_.createCanvas(w, Control::PreviewSheet, {});
  toolkit_.createScrollBar(w, Control::PreviewHorizontalScroll, {}, Orientation::Horizontal);
  toolkit_.createScrollBar(w, Control::PreviewVerticalScroll, {}, Orientation::Vertical);
  toolkit_.createCanvas(w, Control::PreviewStrip, {});
  toolkit_.createButton(w, Control::PreviewPlay, {}, kPauseCaption);
  toolkit_.createLabel(w, Control::PreviewRateLabel, {}, kRateCaption, LabelAlign::Left);
  toolkit_.createSpinField(w, Control::PreviewRate, {}, kMinFrameRate, kMaxFrameRate);
  toolkit_.createLabel(w, Control::PreviewFrameLabel, {}, "", LabelAlign::Left);
  relayout();
}

void SheetPreview::relayout() {
  if (!isOpen()) return;
  const int width = toolkit_.clientWidth(Window::SheetPreview);
  const int height = toolkit_.clientHeight(Window::SheetPreview);
  int x = kMargin;
  for (int button : {Control::PreviewFit, Control::PreviewActualSize, Control::PreviewDoubleSize}) {
    toolkit_.setGeometry(button, {x, kMargin, kButtonWidth, kToolbarHeight});
    x += kButtonWidth + kMargin;
  }
  toolkit_.setGeometry(Control::PreviewZoomLabel, {x, kMargin + 2, kZoomLabelWidth, kLineHeight});
  x += kZoomLabelWidth + kMargin;
  toolkit_.setGeometry(Control::PreviewSheetChoiceLabel,
                       {x, kMargin + 2, kSheetChoiceLabelWidth, kLineHeight});
  x += kSheetChoiceLabelWidth;
  toolkit_.setGeometry(Control::PreviewSheetChoice,
                       {x, kMargin, std::max(0, width - kMargin - x), kToolbarHeight});
  const int top = kMargin * 2 + kToolbarHeight;
  const int side = width - kMargin - kSidebarWidth;
  area_ = {kMargin, top, side - kMargin * 2, height - top - kMargin};
  toolkit_.setGeometry(Control::PreviewAnimationLabel,
                       {side, top + 2, kAnimationLabelWidth, kLineHeight});
  toolkit_.setGeometry(
      Control::PreviewAnimation,
      {side + kAnimationLabelWidth, top, kSidebarWidth - kAnimationLabelWidth, kToolbarHeight});
  int y = top + kToolbarHeight + kMargin;
  toolkit_.setGeometry(Control::PreviewStrip, {side, y, kSidebarWidth, kStripSide});
  y += kStripSide + kMargin;
  toolkit_.setGeometry(Control::PreviewPlay, {side, y, 90, kToolbarHeight});
  y += kToolbarHeight + kMargin;
  toolkit_.setGeometry(Control::PreviewRateLabel, {side, y + 2, 140, kLineHeight});
  toolkit_.setGeometry(Control::PreviewRate, {side + 144, y, kSidebarWidth - 144, kToolbarHeight});
  y += kToolbarHeight + kMargin;
  toolkit_.setGeometry(Control::PreviewFrameLabel, {side, y, kSidebarWidth, kLineHeight * 2});
  if (images_.empty()) {
    toolkit_.setGeometry(Control::PreviewSheet, area_);
    toolkit_.setVisible(Control::PreviewHorizontalScroll, false);
    toolkit_.setVisible(Control::PreviewVerticalScroll, false);
    return;
  }
  if (fitted_) {
    fit();
  } else {
    setView(view_, false);
  }
  showFrame(shownFrame_);
}

// The canvas gives up a strip of its area to each scroll bar the sheet needs
// at the view's scale; the bars show where the placed view lies.
void SheetPreview::setView(const SheetView& view, bool fitted) {
  const SheetImage& image = images_[shownSheet_];
  const PreviewLayout layout =
      previewLayout(area_, image.width, image.height, view.scale, kScrollBarThickness);
  const Rect canvas = layout.canvas;
  toolkit_.setGeometry(Control::PreviewSheet, canvas);
  view_ = placedView(view, image.width, image.height, canvas.width, canvas.height);
  fitted_ = fitted;
  const auto showBar = [this](int bar, bool shown, Rect r, int length, int page, double start) {
    toolkit_.setVisible(bar, shown);
    if (!shown) return;
    toolkit_.setGeometry(bar, r);
    toolkit_.setScrollRange(bar, length, page);
    toolkit_.setState(bar, static_cast<int>(-start));
  };
  showBar(Control::PreviewHorizontalScroll, layout.horizontal,
          {canvas.x, canvas.y + canvas.height, canvas.width, kScrollBarThickness},
          scaledLength(image.width, view_.scale), canvas.width, view_.left);
  showBar(Control::PreviewVerticalScroll, layout.vertical,
          {canvas.x + canvas.width, canvas.y, kScrollBarThickness, canvas.height},
          scaledLength(image.height, view_.scale), canvas.height, view_.top);
  toolkit_.setText(Control::PreviewZoomLabel, zoomText(view_.scale));
  showSheet();
}

void SheetPreview::fit() {
  const SheetImage& image = images_[shownSheet_];
  const double scale = fitScale(image.width, image.height, area_.width, area_.height);
  setView({scale, 0, 0}, true);
}

// The buttons zoom around the middle of the canvas, the wheel around the
// pointer (the middle when it is elsewhere): the sheet's pixel there stays
// there, as far as the canvas's edges allow.
void SheetPreview::zoomTo(double scale) {
  const Rect canvas = toolkit_.geometry(Control::PreviewSheet);
  setView(zoomAround(view_, scale, canvas.width / 2, canvas.height / 2), false);
  updateHover();
}

void SheetPreview::wheel(int steps) {
  const Rect canvas = toolkit_.geometry(Control::PreviewSheet);
  const bool inside = pointerX_ >= 0 && pointerY_ >= 0;
  const int x = inside ? pointerX_ : canvas.width / 2;
  const int y = inside ? pointerY_ : canvas.height / 2;
  const double scale = wheelZoom(view_.scale, steps);
  if (scale == view_.scale) return;
  setView(zoomAround(view_, scale, x, y), false);
  updateHover();  // the frame under the pointer may have changed
}

void SheetPreview::scrolled(int bar) {
  if (!toolkit_.isVisible(bar)) return;  // a move queued before the sheet fitted
  SheetView moved = view_;
  if (bar == Control::PreviewHorizontalScroll) {
    moved.left = -toolkit_.state(bar);
  } else {
    moved.top = -toolkit_.state(bar);
  }
  setView(moved, false);
  updateHover();
}

void SheetPreview::pointerMoved(int x, int y) {
  pointerX_ = x;
  pointerY_ = y;
  updateHover();
}

void SheetPreview::updateHover() {
  const int hovered = pointerX_ < 0 ? -1 : frameAtPoint(shownFrames(), view_, pointerX_, pointerY_);
  if (hovered == hovered_) return;
  hovered_ = hovered;
  showSheet();
}

const FrameList& SheetPreview::shownFrames() const { return sheets_->sheets[shownSheet_].frames; }

const std::vector<FrameRef>& SheetPreview::playedFrames() const {
  return sheets_->animations[playedAnimation_].frames;
}

CanvasPicture SheetPreview::framePicture(size_t index, int width, int height) const {
  if (index >= playedFrames().size()) return {};
  const FrameRef& ref = playedFrames()[index];
  return stripPicture(images_[ref.sheet], sheets_->sheets[ref.sheet].frames[ref.frame],
                      sheets_->turn, stripScale(largestWidth_, largestHeight_, width, height),
                      width, height);
}

void SheetPreview::fillSheetChoice() {
  const std::vector<WrittenSheet>& sheets = sheets_->sheets;
  toolkit_.clearList(Control::PreviewSheetChoice);
  for (size_t s = 0; s < sheets.size(); ++s) {
    toolkit_.addListEntry(Control::PreviewSheetChoice,
                          ordinal(s, sheets.size()) + ": " + fileName(sheets[s].path));
  }
  toolkit_.setState(Control::PreviewSheetChoice, static_cast<int>(shownSheet_));
  // One sheet needs no choosing.
  for (int control : {Control::PreviewSheetChoiceLabel, Control::PreviewSheetChoice}) {
    toolkit_.setVisible(control, sheets.size() > 1);
  }
}

void SheetPreview::fillAnimationChoice() {
  toolkit_.clearList(Control::PreviewAnimation);
  for (const PlayedAnimation& animation : sheets_->animations) {
    toolkit_.addListEntry(Control::PreviewAnimation, animation.name);
  }
  toolkit_.setState(Control::PreviewAnimation, static_cast<int>(playedAnimation_));
  measureAnimation();
}

void SheetPreview::measureAnimation() {
  largestWidth_ = 0;
  largestHeight_ = 0;
  for (const FrameRef& ref : playedFrames()) {
    const FrameEntry& frame = sheets_->sheets[ref.sheet].frames[ref.frame];
    largestWidth_ = std::max(largestWidth_, frame.sourceWidth);
    largestHeight_ = std::max(largestHeight_, frame.sourceHeight);
  }
}

// The chosen animation plays from its first frame.
void SheetPreview::chooseAnimation() {
  const int chosen = toolkit_.state(Control::PreviewAnimation);
  if (chosen < 0 || static_cast<size_t>(chosen) >= sheets_->animations.size()) return;
  playedAnimation_ = static_cast<size_t>(chosen);
  measureAnimation();
  shownFrame_ = 0;
  if (playing_) startPlaying();
  showFrame(0);
}

void SheetPreview::chooseSheet() {
  const int chosen = toolkit_.state(Control::PreviewSheetChoice);
  if (chosen < 0 || static_cast<size_t>(chosen) >= images_.size()) return;
  shownSheet_ = static_cast<size_t>(chosen);
  hovered_ = -1;
  fit();
  updateHover();
}

void SheetPreview::showSheet() {
  toolkit_.paintCanvas(Control::PreviewSheet,
                       sheetPicture(images_[shownSheet_], shownFrames(), view_, hovered_));
}

void SheetPreview::showFrame(size_t index) {
  shownFrame_ = index;
  const Rect strip = toolkit_.geometry(Control::PreviewStrip);
  toolkit_.paintCanvas(Control::PreviewStrip, framePicture(index, strip.width, strip.height));
  toolkit_.setText(Control::PreviewFrameLabel, frameText(index, playedFrames(), *sheets_));
}

int SheetPreview::frameRate() const { return toolkit_.state(Control::PreviewRate); }

// The clock starts as if the frame shown now had been reached at the rate
// chosen, so play resumes, and a new rate continues, from that frame.
void SheetPreview::startPlaying() {
  const int rate = frameRate();
  started_ = clock_() - std::chrono::milliseconds(static_cast<int64_t>(shownFrame_) * 1000 / rate);
  toolkit_.startTimer(Timer::PreviewPlay, std::max(1, 1000 / rate), true);
}

void SheetPreview::togglePlay() {
  playing_ = !playing_;
  toolkit_.setText(Control::PreviewPlay, playing_ ? kPauseCaption : kPlayCaption);
  if (playing_) {
    startPlaying();
  } else {
    toolkit_.stopTimer(Timer::PreviewPlay);
  }
}

void SheetPreview::rateChanged() {
  if (playing_) startPlaying();
}

void SheetPreview::tick() {
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(clock_() - started_);
  const size_t index = frameAt(elapsed, frameRate(), playedFrames().size());
  if (index != shownFrame_) showFrame(index);
}

void SheetPreview::close() {
  toolkit_.stopTimer(Timer::PreviewPlay);
  toolkit_.closeWindow(Window::SheetPreview);
  images_.clear();
}

bool SheetPreview::handleEvent(const Event& event) {
  switch (event.kind) {
    case EventKind::Control:
      if (!isPreviewControl(event.number)) return false;
      if (!isOpen()) return true;  // a click posted before the window closed
      if (event.number == Control::PreviewFit) fit();
      if (event.number == Control::PreviewActualSize) zoomTo(1);
      if (event.number == Control::PreviewDoubleSize) zoomTo(2);
      if (event.number == Control::PreviewPlay) togglePlay();
      if (event.number == Control::PreviewRate) rateChanged();
      if (event.number == Control::PreviewSheetChoice) chooseSheet();
      if (event.number == Control::PreviewAnimation) chooseAnimation();
      if (event.number == Control::PreviewHorizontalScroll ||
          event.number == Control::PreviewVerticalScroll) {
        scrolled(event.number);
      }
      return true;
    case EventKind::Timer:
      if (event.number != Timer::PreviewPlay) return false;
      if (isOpen() && playing_) tick();
      return true;
    case EventKind::PointerMoved:
    case EventKind::Wheel:
      if (event.number != Control::PreviewSheet) return false;
      if (!isOpen()) return true;
      if (event.kind == EventKind::Wheel) {
        wheel(event.wheelSteps);
      } else {
        pointerMoved(event.x, event.y);
      }
      return true;
    case EventKind::WindowClose:
      if (event.number != Window::SheetPreview) return false;
      close();
      return true;
    case EventKind::MenuItem:
    case EventKind::TabChanged:
    case EventKind::TextChanged:
    case EventKind::FilesDropped:
    case EventKind::FolderChanged:
    case EventKind::FilesChanged:
      break;
  }
  return false;
}

}  // namespace oz
