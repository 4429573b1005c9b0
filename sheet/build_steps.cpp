#include "sheet/build_steps.h"

#include "sheet/header_layout.h"
#include "sheet/png/png_read.h"

namespace oz {

Frames::Frames(const std::string& folder, FolderFrames scanned, Progress& progress)
    : folder_(folder), progress_(progress), animations_(std::move(scanned.animations)) {
  std::vector<std::string>& names = scanned.names;
  list_.resize(names.size());
  settled_.resize(names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    FrameEntry& frame = list_[i];
    frame.name = std::move(names[i]);
    // A file too short for the pixels its header claims is settled as 0 x 0
    // here, before any memory is set aside for it.
    const HeaderSize size = frameHeaderSize(folder_ + frame.name);
    frame.width = size.width;
    frame.height = size.height;
    settled_[i] = size.settled;
    if (!progress_.report(BuildPhase::LoadingFrames, static_cast<int64_t>(i) + 1, total())) {
      return;
    }
  }
}

std::optional<RgbaImage> Frames::decode(size_t i) {
  FrameEntry& frame = list_[i];
  std::optional<RgbaImage> image = decodePng(folder_ + frame.name);
  settled_[i] = true;
  const int64_t width = image ? image->width : 0;
  const int64_t height = image ? image->height : 0;
  if (width == frame.width && height == frame.height) return image;
  frame.width = width;
  frame.height = height;
  return std::nullopt;
}

bool Frames::settle(size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (settled_[i]) continue;
    if (!progress_.report(BuildPhase::LoadingFrames, static_cast<int64_t>(i) + 1, total())) {
      return false;
    }
    if (!decode(i)) return false;
  }
  return true;
}

}  // namespace oz
