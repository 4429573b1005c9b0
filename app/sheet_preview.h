// The Sheet Preview window: the last built sheet as it was written, read back
// from its file, with its frames outlined and named on hover, zoom (fit,
// 100 %, 200 %, the wheel at the pointer), scroll bars where the zoomed sheet
// is larger than its canvas, and a play strip that plays the
// frames in order at a chosen rate over a checkerboard.
//
// The object lives as long as the program; the event loop hands it every
// event and it takes those that belong to the window.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "app/preview_view.h"
#include "sheet/animation.h"
#include "sheet/layout/frame.h"
#include "toolkit/toolkit.h"

namespace oz {

// A sheet a build has written: its file, its frames' places and the
// animations they make (BuiltSheet::animations).
struct WrittenSheet {
  std::string path;
  FrameList frames;
  AnimationList animations = {};
};

class SheetPreview {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // `clock` times the animation (tests pass their own).
  explicit SheetPreview(Toolkit& toolkit, Clock clock = std::chrono::steady_clock::now);
  SheetPreview(const SheetPreview&) = delete;
  SheetPreview& operator=(const SheetPreview&) = delete;

  // Remembers the sheet of the latest build. An open window shows it at once.
  void setSheet(WrittenSheet sheet);
  bool hasSheet() const { return sheet_.has_value(); }

  // Opens the window on the remembered sheet, read back from its file; a
  // file that no longer reads as a PNG of the built size is reported and
  // opens nothing.
  void open();
  bool isOpen() const;

  // Handles the event if it belongs to the window: its buttons and rate,
  // the pointer and wheel over the sheet, the play timer, its close
  // request. False for any other event.
  bool handleEvent(const Event& event);

  // Lays the controls out for the window's client size.
  void relayout();

 private:
  bool readSheet();  // decodes the file into image_; false after reporting why not
  void buildWindow();
  void showSheet();
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
  std::optional<WrittenSheet> sheet_;
  SheetImage image_;
  Rect area_;  // the sheet's canvas and its scroll bars share it
  SheetView view_;
  bool fitted_ = true;  // the view follows the window's size
  int hovered_ = -1;
  int pointerX_ = -1;
  int pointerY_ = -1;
  bool playing_ = true;
  std::chrono::steady_clock::time_point started_;  // when frame 0 was (or would have been) shown
  size_t shownFrame_ = 0;
};

}  // namespace oz
