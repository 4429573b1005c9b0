// The Sheet Preview window: the last built sheet as it was written, read back
// from its file, with its frames outlined and named on hover, zoom (fit,
// 100 %, 200 %, the wheel at the pointer), scroll bars where the zoomed sheet
// is larger than its canvas, and a play strip that plays the animation
// chosen in a list, its frames in order and looping, at the script's rate or
// one chosen, over a checkerboard, each at its source size with its stored
// pixels upright at their offset. With several sheets a list chooses the one
// shown; an animation's frames may lie on any of them, so all are read.
//
// The object lives as long as the program; the event loop hands it every
// event and it takes those that belong to the window.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/preview_view.h"
#include "app/written_sheets.h"
#include "toolkit/toolkit.h"

namespace oz {

class SheetPreview {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // `clock` times the animation (tests pass their own).
  explicit SheetPreview(Toolkit& toolkit, Clock clock = std::chrono::steady_clock::now);
  SheetPreview(const SheetPreview&) = delete;
  SheetPreview& operator=(const SheetPreview&) = delete;

  // Remembers the sheets of the latest build. An open window shows them at once.
  void setSheets(WrittenSheets sheets);
  bool hasSheet() const { return sheets_.has_value(); }

  // Opens the window on the remembered sheets, read back from their files,
  // showing the first; a file that no longer reads as a PNG that holds its
  // frames' places is reported and opens nothing.
  void open();
  bool isOpen() const;

  // Handles the event if it belongs to the window: its buttons and rate,
  // the pointer and wheel over the sheet, the play timer, its close
  // request. False for any other event.
  bool handleEvent(const Event& event);

  // Lays the controls out for the window's client size.
  void relayout();

 private:
  bool readSheets();  // decodes the files into images_; false after reporting why not
  void buildWindow();
  void fillSheetChoice();
  void chooseSheet();
  void fillAnimationChoice();
  void chooseAnimation();
  void measureAnimation();                            // the largest source size of its frames
  const std::vector<FrameRef>& playedFrames() const;  // the chosen animation's
  void showSheet();
  const FrameList& shownFrames() const;  // the frames of the sheet shown
  CanvasPicture framePicture(size_t index, int width, int height) const;  // in playedFrames
  void showFrame(size_t index);
  void setView(const SheetView& view, bool fitted);
  void fit();
  void zoomTo(double scale);
  void wheel(int steps);
  void scrolled(int bar);
  void pointerMoved(int x, int y);
  void updateHover();  // the frame under the pointer's last place
  void togglePlay();
  void rateChanged();
  void tick();
  void startPlaying();
  void close();
  int frameRate() const;

  Toolkit& toolkit_;
  const Clock clock_;
  std::optional<WrittenSheets> sheets_;
  std::vector<SheetImage> images_;  // one for each sheet
  size_t shownSheet_ = 0;
  size_t playedAnimation_ = 0;  // in sheets_->animations
  // The largest source size among the animation's frames: the play strip
  // scales them all alike.
  int64_t largestWidth_ = 0;
  int64_t largestHeight_ = 0;
  Rect area_;  // the sheet's canvas and its scroll bars share it
  SheetView view_;
  bool fitted_ = true;  // the view follows the window's size
  int hovered_ = -1;
  int pointerX_ = -1;
  int pointerY_ = -1;
  bool playing_ = true;
  std::chrono::steady_clock::time_point started_;  // when frame 0 was (or would have been) shown
  size_t shownFrame_ = 0;                          // in playedFrames
};

}  // namespace oz
