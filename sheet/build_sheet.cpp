#include "sheet/build_sheet.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <vector>

#include "base/huge_pages.h"
#include "base/parallel.h"
#include "sheet/bleed.h"
#include "sheet/compose.h"
#include "sheet/depth_preparation.h"
#include "sheet/extrude.h"
#include "sheet/frame_scan.h"
#include "sheet/header_layout.h"
#include "sheet/identical_frames.h"
#include "sheet/png/png_read.h"
#include "sheet/png/png_write.h"
#include "sheet/refusal_causes.h"
#include "sheet/sheet_layout.h"
#include "sheet/sheet_pixels.h"

namespace oz {
namespace {

BuildRefusal saveError(const std::string& path) {
  return {BuildProblem::WriteFailed, path, SheetNotWritten{folderFaultFor(path)}};
}

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

// The frames of one build. Sizes come from the headers first, so that the
// checks run before any pixel is held; a size is "settled" once it is what a
// full decode gives: the frame decoded, failed to decode or cannot hold its
// pixels, or lies beyond the size limit and is therefore never decoded.
class Frames {
 public:
  // Stops reading headers when `progress` asks to stop.
  Frames(const std::string& folder, Progress& progress) : folder_(folder), progress_(progress) {
    const std::vector<std::string> names = scanFrames(folder);
    list_.resize(names.size());
    settled_.resize(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
      FrameEntry& frame = list_[i];
      frame.name = names[i];
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

  FrameList& list() { return list_; }
  int64_t total() const { return static_cast<int64_t>(list_.size()); }

  // Decodes frame i and settles its size. The image when it has the size the
  // layout used; nothing when the size changed (the layout must be redone).
  // Different frames may be decoded on different threads at once.
  std::optional<RgbaImage> decode(size_t i) {
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

  // Settles the first `count` frames. False when a size changed on the way,
  // or the build is to stop.
  bool settle(size_t count) {
    for (size_t i = 0; i < count; ++i) {
      if (settled_[i]) continue;
      if (!progress_.report(BuildPhase::LoadingFrames, static_cast<int64_t>(i) + 1, total())) {
        return false;
      }
      if (!decode(i)) return false;
    }
    return true;
  }

 private:
  const std::string& folder_;
  Progress& progress_;
  FrameList list_;
  std::vector<uint8_t> settled_;  // not vector<bool>: threads settle neighbours at once
};

// Bleeding memory for each thread at work, reused from frame to frame: asked
// for anew per frame, it would cost more than the bleeding itself.
class ScratchPool {
 public:
  std::unique_ptr<BleedScratch> take() {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (free_.empty()) return std::make_unique<BleedScratch>();
    std::unique_ptr<BleedScratch> scratch = std::move(free_.back());
    free_.pop_back();
    return scratch;
  }
  void give(std::unique_ptr<BleedScratch> scratch) {
    const std::lock_guard<std::mutex> lock(mutex_);
    free_.push_back(std::move(scratch));
  }

 private:
  std::mutex mutex_;
  std::vector<std::unique_ptr<BleedScratch>> free_;
};

// Draws one frame into its cell: the frame itself, its invisible pixels given
// visible colours when asked (straight alpha only), then its edges repeated
// outward, so that the ring repeats the bled colours too.
void drawCell(RgbaImage& canvas, const RgbaImage& image, const FrameEntry& frame,
              const SpriteOptions& options, ScratchPool& scratchPool) {
  const auto x = static_cast<int32_t>(frame.x);
  const auto y = static_cast<int32_t>(frame.y);
  drawFrame(canvas, image, x, y,
            options.premultipliedAlpha ? CanvasAlpha::Premultiplied : CanvasAlpha::Straight);
  if (options.bleed && !options.premultipliedAlpha) {
    std::unique_ptr<BleedScratch> scratch = scratchPool.take();
    bleedColours(canvas, x, y, image.width, image.height, *scratch);
    scratchPool.give(std::move(scratch));
  }
  extrudeEdges(canvas, x, y, image.width, image.height, options.extrude);
}

// The cells when identical frames share one: for each frame the index of the
// frame whose cell it takes, and the pixels of every cell.
struct SharedCells {
  std::vector<size_t> owners;
  IdenticalFrames identical;
  bool tooLarge = false;  // the distinct frames alone hold more pixels than a sheet may
};

// Decodes every frame, a few per core at a time, and finds those equal to an
// earlier one; only the distinct frames stay in memory. Nothing when a frame's
// size turned out other than its header said (the layout must be redone), or
// the build is to stop.
std::optional<SharedCells> findSharedCells(Frames& frames, Progress& progress) {
  const size_t count = frames.list().size();
  const size_t threads = machineThreads();
  const size_t batch = 4 * threads;
  SharedCells cells;
  cells.owners.resize(count);
  std::vector<std::optional<RgbaImage>> images(batch);
  std::vector<uint64_t> digests(batch);
  for (size_t start = 0; start < count; start += batch) {
    const size_t size = std::min(batch, count - start);
    const bool decoded = forEachTask(size, threads, [&](size_t k, bool onCallingThread) {
      if (onCallingThread &&
          !progress.report(BuildPhase::LoadingFrames, static_cast<int64_t>(start + k) + 1,
                           frames.total())) {
        return false;
      }
      images[k] = frames.decode(start + k);
      if (!images[k]) return false;
      digests[k] = pixelDigest(*images[k]);
      return true;
    });
    if (!decoded) return std::nullopt;
    for (size_t k = 0; k < size; ++k) {
      cells.owners[start + k] = cells.identical.offer(start + k, std::move(*images[k]), digests[k]);
    }
    // No layout fits more pixels than the largest sheet holds; the other
    // frames need only their sizes settled, which may yet change the outcome.
    if (cells.identical.keptPixels() > static_cast<uint64_t>(kSheetSizeLimit * kSheetSizeLimit)) {
      if (!frames.settle(count)) return std::nullopt;
      cells.tooLarge = true;
      return cells;
    }
  }
  return cells;
}

// Draws every cell onto a new canvas: each frame decoded here, or the distinct
// frames of `shared`. Nothing when a frame's size turned out other than its
// header said (the layout must be redone), or when the build is to stop.
// Cells are drawn independently, so every core takes its share; each draws
// only into its own cell of the canvas, and cells never overlap. The canvas
// is the same whatever the number of threads.
std::optional<RgbaImage> compose(Frames& frames, const SharedCells* shared, int64_t width,
                                 int64_t height, const SpriteOptions& options, Progress& progress) {
  RgbaImage canvas;
  canvas.width = static_cast<int32_t>(width);
  canvas.height = static_cast<int32_t>(height);
  const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
  // Room for the byte the PNG writer puts before each row, so that it lays out
  // the image data in the canvas itself rather than in a second copy.
  canvas.pixels.reserve(bytes + static_cast<size_t>(height));
  adviseHugePages(canvas.pixels.data(), canvas.pixels.capacity());
  canvas.pixels.resize(bytes);
  std::vector<size_t> cells;
  for (size_t i = 0; i < frames.list().size(); ++i) {
    if (!shared || shared->owners[i] == i) cells.push_back(i);
  }
  const auto total = static_cast<int64_t>(cells.size());
  ScratchPool scratchPool;
  // Progress goes to the caller's thread only: it counts the cells begun, and
  // ends at the last cell whichever thread drew it.
  int64_t reported = 0;
  const bool allDrawn =
      forEachTask(cells.size(), machineThreads(), [&](size_t k, bool onCallingThread) {
        if (onCallingThread) {
          reported = static_cast<int64_t>(k) + 1;
          if (!progress.report(BuildPhase::Composing, reported, total)) return false;
        }
        const size_t i = cells[k];
        if (shared) {
          drawCell(canvas, *shared->identical.kept(i), frames.list()[i], options, scratchPool);
          return true;
        }
        const std::optional<RgbaImage> image = frames.decode(i);
        if (!image) return false;
        drawCell(canvas, *image, frames.list()[i], options, scratchPool);
        return true;
      });
  if (!allDrawn) return std::nullopt;
  if (reported < total && !progress.report(BuildPhase::Composing, total, total)) {
    return std::nullopt;
  }
  return canvas;
}

BuildOutcome build(const BuildOptions& options, Progress& progress) {
  if (options.savePath.empty()) {
    return BuildRefusal{BuildProblem::NoSavePath, {}};
  }
  if (options.imageFolder.empty()) {
    return BuildRefusal{BuildProblem::NoImageFolder, {}};
  }
  Frames frames(options.imageFolder, progress);
  if (progress.stopped()) return BuildStopped{};
  if (std::optional<BuildRefusal> clash = runFilesClash(options, frames.list())) return *clash;
  const int64_t columns = parseColumns(options.columns);
  // A frame that fails to decode, though its header was fine, reads as 0 x 0:
  // then the checks run again on the corrected sizes, so the outcome is the one
  // decoding every frame first would give.
  const LayoutRules rules{options.strip, columns, options.spacing, options.border, options.extrude};
  // Every step that finds the build is to stop goes round the loop to here.
  for (;;) {
    if (progress.stopped()) return BuildStopped{};
    std::optional<SharedCells> shared;
    if (options.dedupe) {
      // Frames of differing sizes are refused by their headers, before any
      // frame is decoded to be compared.
      const SheetLayout unshared = layOutFrames(frames.list(), rules);
      if (unshared.problem == LayoutProblem::SizeMismatch ||
          unshared.problem == LayoutProblem::Empty) {
        if (frames.settle(unshared.decidingFrames)) {
          return layoutRefusal(unshared, frames.list(), options);
        }
        continue;
      }
      shared = findSharedCells(frames, progress);
      if (!shared) continue;
      if (shared->tooLarge) return BuildRefusal{BuildProblem::SizeLimit, {}};
    }
    const SheetLayout layout = shared ? layOutFrames(frames.list(), rules, shared->owners)
                                      : layOutFrames(frames.list(), rules);
    if (layout.problem != LayoutProblem::None) {
      if (frames.settle(layout.decidingFrames)) {
        return layoutRefusal(layout, frames.list(), options);
      }
      continue;
    }
    const int64_t width = options.powerOf2 ? padToPowerOf2(layout.width) : layout.width;
    const int64_t height = options.powerOf2 ? padToPowerOf2(layout.height) : layout.height;
    std::optional<RgbaImage> canvas =
        compose(frames, shared ? &*shared : nullptr, width, height, options, progress);
    if (!canvas) continue;

    prepareForDepth(*canvas, options);
    const SheetEncoding encoding = sheetEncoding(options);
    if (encoding.form != SheetForm::Rgba && encoding.form != SheetForm::Rgb &&
        !progress.report(BuildPhase::ReducingColours, 0, 0)) {
      return BuildStopped{};
    }
    std::optional<PngPixels> pixels = sheetPixels(std::move(*canvas), encoding);
    if (!pixels) return saveError(options.savePath);
    const PngWriteStatus status =
        encodePng(std::move(*pixels), options.savePath,
                  options.smallest ? PngCompression::Smallest : PngCompression::Default,
                  [&](int32_t rows) { return progress.report(BuildPhase::Writing, rows, height); });
    if (status == PngWriteStatus::Stopped) return BuildStopped{};
    if (status == PngWriteStatus::OutOfMemory) return outOfMemoryRefusal();
    if (status != PngWriteStatus::Written) return saveError(options.savePath);
    return BuiltSheet{std::move(frames.list()), width, height};
  }
}

}  // namespace

BuildRefusal outOfMemoryRefusal() { return {BuildProblem::OutOfMemory, {}}; }

BuildOutcome buildSheet(const BuildOptions& options, const BuildProgressCallback& progress) {
  // Every allocation of a build (the canvas above all, up to 256 MB) may fail;
  // nothing is written before the last step, whose file removes itself.
  try {
    Progress steps(progress);
    return build(options, steps);
  } catch (const std::bad_alloc&) {
    return outOfMemoryRefusal();
  }
}

}  // namespace oz
