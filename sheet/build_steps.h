// What every build shares: the caller's progress callback and its answer,
// and the frames of the image folder with their sizes, settled as they are
// decoded.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sheet/animation_scan.h"
#include "sheet/build_sheet.h"
#include "sheet/png/rgba_image.h"

namespace oz {

// The caller's progress callback, and whether it has asked the build to
// stop. Told only from the calling thread.
class Progress {
 public:
  explicit Progress(const BuildProgressCallback& callback) : callback_(callback) {}

  // False once the build is to stop.
  bool report(BuildPhase phase, int64_t done, int64_t total) {
    if (!stopped_ && callback_ && !callback_({phase, done, total})) stopped_ = true;
    return !stopped_;
  }
  bool stopped() const { return stopped_; }

 private:
  const BuildProgressCallback& callback_;
  bool stopped_ = false;
};

// The frames of one build and the animations they form. Sizes come from the
// headers first, so that the checks run before any pixel is held; a size is
// "settled" once it is what a full decode gives: the frame decoded, failed to
// decode or cannot hold its pixels, or lies beyond the size limit and is
// therefore never decoded.
class Frames {
 public:
  // The frames `scanned` in `folder`. Stops reading headers when `progress`
  // asks to stop.
  Frames(const std::string& folder, FolderFrames scanned, Progress& progress);

  FrameList& list() { return list_; }
  const FrameList& list() const { return list_; }
  // Runs of list(), in order; none without an animations option.
  const AnimationList& animations() const { return animations_; }
  int64_t total() const { return static_cast<int64_t>(list_.size()); }
  const std::string& folder() const { return folder_; }

  // Decodes frame i and settles its size. The image when it has the size the
  // layout used; nothing when the size changed (the layout must be redone).
  // Different frames may be decoded on different threads at once.
  std::optional<RgbaImage> decode(size_t i);

  // Settles the first `count` frames. False when a size changed on the way,
  // or the build is to stop.
  bool settle(size_t count);

 private:
  const std::string& folder_;
  Progress& progress_;
  FrameList list_;
  AnimationList animations_;
  std::vector<uint8_t> settled_;  // not vector<bool>: threads settle neighbours at once
};

}  // namespace oz
