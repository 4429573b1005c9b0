#include "app/preview_view.h"

#include <algorithm>
#include <cmath>

namespace oz {
namespace {

// Scales compared this closely are the same step.
constexpr double kSameScale = 1e-9;

int floorToInt(double value) { return static_cast<int>(std::floor(value)); }

// The canvas rectangle of the sheet rectangle (x, y, width, height): both
// edges mapped the same way, so neighbouring frames share their border.
Rect mapped(const SheetView& view, int64_t x, int64_t y, int64_t width, int64_t height) {
  const int left = floorToInt(view.left + static_cast<double>(x) * view.scale);
  const int top = floorToInt(view.top + static_cast<double>(y) * view.scale);
  const int right = floorToInt(view.left + static_cast<double>(x + width) * view.scale);
  const int bottom = floorToInt(view.top + static_cast<double>(y + height) * view.scale);
  return {left, top, right - left, bottom - top};
}

bool decoded(const FrameEntry& frame) { return frame.width > 0 && frame.height > 0; }

}  // namespace

size_t frameAt(std::chrono::milliseconds elapsed, int framesPerSecond, size_t count) {
  if (count == 0 || elapsed.count() <= 0 || framesPerSecond <= 0) return 0;
  const auto shown =
      static_cast<uint64_t>(elapsed.count()) * static_cast<uint64_t>(framesPerSecond) / 1000;
  return static_cast<size_t>(shown % count);
}

double fitScale(int64_t width, int64_t height, int areaWidth, int areaHeight) {
  if (width <= 0 || height <= 0 || areaWidth <= 0 || areaHeight <= 0) return 1;
  const double exact = std::min(static_cast<double>(areaWidth) / static_cast<double>(width),
                                static_cast<double>(areaHeight) / static_cast<double>(height));
  // Shrunk, the sheet fills the area exactly; enlarged, it takes the largest
  // whole step that fits, so every sheet pixel becomes the same square.
  if (exact < 1) return exact;
  double best = 1;
  for (double step : kZoomSteps) {
    if (step <= exact + kSameScale) best = std::max(best, step);
  }
  return best;
}

double wheelZoom(double scale, int steps) {
  for (; steps > 0; --steps) {
    const double* next = std::find_if(std::begin(kZoomSteps), std::end(kZoomSteps),
                                      [scale](double s) { return s > scale + kSameScale; });
    if (next == std::end(kZoomSteps)) break;
    scale = *next;
  }
  for (; steps < 0; ++steps) {
    const double* below = nullptr;
    for (const double& s : kZoomSteps) {
      if (s < scale - kSameScale) below = &s;
    }
    if (!below) break;
    scale = *below;
  }
  return scale;
}

int scaledLength(int64_t length, double scale) {
  return floorToInt(static_cast<double>(length) * scale);
}

SheetView placedView(const SheetView& view, int64_t width, int64_t height, int canvasWidth,
                     int canvasHeight) {
  const auto place = [](double start, int length, int canvas) {
    if (length <= canvas) return static_cast<double>((canvas - length) / 2);
    return std::clamp(std::round(start), static_cast<double>(canvas - length), 0.0);
  };
  return {view.scale, place(view.left, scaledLength(width, view.scale), canvasWidth),
          place(view.top, scaledLength(height, view.scale), canvasHeight)};
}

PreviewLayout previewLayout(Rect area, int64_t width, int64_t height, double scale,
                            int barThickness) {
  const int sheetWidth = scaledLength(width, scale);
  const int sheetHeight = scaledLength(height, scale);
  PreviewLayout layout{area};
  for (int pass = 0; pass < 2; ++pass) {
    layout.horizontal = sheetWidth > area.width - (layout.vertical ? barThickness : 0);
    layout.vertical = sheetHeight > area.height - (layout.horizontal ? barThickness : 0);
  }
  layout.canvas.width = std::max(0, area.width - (layout.vertical ? barThickness : 0));
  layout.canvas.height = std::max(0, area.height - (layout.horizontal ? barThickness : 0));
  return layout;
}

SheetView zoomAround(const SheetView& view, double scale, int x, int y) {
  const double sheetX = (x - view.left) / view.scale;
  const double sheetY = (y - view.top) / view.scale;
  return {scale, x - sheetX * scale, y - sheetY * scale};
}

int frameAtPoint(const FrameList& frames, const SheetView& view, int x, int y) {
  for (size_t i = 0; i < frames.size(); ++i) {
    if (!decoded(frames[i])) continue;
    const Rect r = canvasRect(frames[i], view);
    if (x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

Rect canvasRect(const FrameEntry& frame, const SheetView& view) {
  return frame.rotated ? mapped(view, frame.x, frame.y, frame.height, frame.width)
                       : mapped(view, frame.x, frame.y, frame.width, frame.height);
}

CanvasPicture sheetPicture(const SheetImage& sheet, const FrameList& frames, const SheetView& view,
                           int hovered) {
  CanvasPicture picture;
  picture.imageWidth = sheet.width;
  picture.imageHeight = sheet.height;
  picture.rgba = sheet.rgba;
  picture.source = {0, 0, sheet.width, sheet.height};
  picture.target = mapped(view, 0, 0, sheet.width, sheet.height);
  for (size_t i = 0; i < frames.size(); ++i) {
    if (!decoded(frames[i])) continue;
    if (static_cast<int>(i) == hovered) {
      picture.highlighted = static_cast<int>(picture.outlines.size());
      picture.caption = frameCaption(frames[i]);
    }
    picture.outlines.push_back(canvasRect(frames[i], view));
  }
  return picture;
}

double stripScale(int64_t width, int64_t height, int areaWidth, int areaHeight) {
  if (width <= 0 || height <= 0) return 1;
  const double scale = std::min(static_cast<double>(areaWidth) / static_cast<double>(width),
                                static_cast<double>(areaHeight) / static_cast<double>(height));
  return scale >= 1 ? std::floor(scale) : scale;
}

SheetImage uprightFrame(const SheetImage& sheet, const FrameEntry& frame, Turn turn) {
  const auto width = static_cast<int>(frame.sourceWidth);
  const auto height = static_cast<int>(frame.sourceHeight);
  auto pixels = std::make_shared<std::vector<std::uint8_t>>(size_t(width) * height * 4);
  const std::vector<std::uint8_t>& from = *sheet.rgba;
  for (int64_t y = 0; y < frame.height; ++y) {
    for (int64_t x = 0; x < frame.width; ++x) {
      // Where pixel (x, y) of the upright rectangle lies on the sheet: turned
      // clockwise, its bottom-left pixel is the cell's first; anticlockwise,
      // its top-right one.
      int64_t sheetX = frame.x + x;
      int64_t sheetY = frame.y + y;
      if (frame.rotated && turn == Turn::Clockwise) {
        sheetX = frame.x + frame.height - 1 - y;
        sheetY = frame.y + x;
      } else if (frame.rotated) {
        sheetX = frame.x + y;
        sheetY = frame.y + frame.width - 1 - x;
      }
      const size_t source = (static_cast<size_t>(sheetY) * sheet.width + sheetX) * 4;
      const size_t target =
          (static_cast<size_t>(frame.offsetY + y) * width + frame.offsetX + x) * 4;
      std::copy_n(from.begin() + static_cast<std::ptrdiff_t>(source), 4,
                  pixels->begin() + static_cast<std::ptrdiff_t>(target));
    }
  }
  return {width, height, std::move(pixels)};
}

CanvasPicture stripPicture(const SheetImage& sheet, const FrameEntry& frame, Turn turn,
                           double scale, int areaWidth, int areaHeight) {
  CanvasPicture picture;
  if (!decoded(frame)) return picture;
  const int width = floorToInt(static_cast<double>(frame.sourceWidth) * scale);
  const int height = floorToInt(static_cast<double>(frame.sourceHeight) * scale);
  picture.target = {(areaWidth - width) / 2, (areaHeight - height) / 2, width, height};
  if (frame.rotated || frame.trimmed()) {
    const SheetImage upright = uprightFrame(sheet, frame, turn);
    picture.imageWidth = upright.width;
    picture.imageHeight = upright.height;
    picture.rgba = upright.rgba;
    picture.source = {0, 0, upright.width, upright.height};
    return picture;
  }
  picture.imageWidth = sheet.width;
  picture.imageHeight = sheet.height;
  picture.rgba = sheet.rgba;
  picture.source = {static_cast<int>(frame.x), static_cast<int>(frame.y),
                    static_cast<int>(frame.width), static_cast<int>(frame.height)};
  return picture;
}

std::string frameCaption(const FrameEntry& frame) {
  std::string caption = frame.name + "  (" + std::to_string(frame.x) + ", " +
                        std::to_string(frame.y) + ", " + std::to_string(frame.width) + " x " +
                        std::to_string(frame.height);
  if (frame.rotated) caption += ", turned";
  if (frame.trimmed()) {
    caption +=
        ", of " + std::to_string(frame.sourceWidth) + " x " + std::to_string(frame.sourceHeight);
  }
  return caption + ")";
}

}  // namespace oz
