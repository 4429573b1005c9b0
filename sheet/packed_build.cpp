#include "sheet/packed_build.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "base/atomic_file.h"
#include "base/parallel.h"
#include "sheet/cell_drawing.h"
#include "sheet/identical_frames.h"
#include "sheet/layout/rect_packer.h"
#include "sheet/numbered_path.h"
#include "sheet/packed_places.h"
#include "sheet/png/png_read.h"
#include "sheet/refusal_causes.h"
#include "sheet/sheet_writer.h"
#include "sheet/trim.h"

namespace oz {
namespace {

BuildRefusal tooLarge(const FrameEntry& frame, const BuildOptions& options) {
  const RectSize cell = packedCell(frame.width, frame.height, options);
  return {BuildProblem::FrameTooLarge,
          {},
          OversizedFrame{frame, cell.width + 2 * options.border, cell.height + 2 * options.border,
                         largestSheetSide(options.maxSize, options.powerOf2)}};
}

// One frame as decoded for packing: the part of it that is stored, and its
// pixels while they are held.
struct PackedFrame {
  bool decoded = false;
  PixelBox box;                     // the stored part of the frame; 1 x 1 when nothing is visible
  bool clear = false;               // nothing visible: the stored pixel is clear
  std::optional<RgbaImage> pixels;  // the stored part, while it is held
  uint64_t digest = 0;              // of the stored part, for identical frames
};

// The stored part of a decoded frame.
RgbaImage storedPart(RgbaImage image, const PackedFrame& frame) {
  if (frame.clear) return RgbaImage{1, 1, std::vector<uint8_t>(4, 0)};
  if (frame.box.width == image.width && frame.box.height == image.height) return image;
  return cropImage(image, frame.box);
}

// The frames decoded, trimmed and digested, in parallel, and their pixels held
// while the pixels held stay within one sheet of the largest size; a frame
// beyond that is decoded again when it is drawn. What is held depends on the
// threads' timing, the sheets never do.
class PackedFrames {
 public:
  PackedFrames(Frames& frames, const BuildOptions& options)
      : frames_(frames), options_(options), packed_(frames.list().size()) {}

  // False when the build is to stop.
  bool decodeAll(Progress& progress) {
    const int64_t total = frames_.total();
    const auto budget =
        static_cast<uint64_t>(options_.maxSize) * static_cast<uint64_t>(options_.maxSize) * 4;
    std::atomic<uint64_t> held{0};
    return forEachTask(packed_.size(), machineThreads(), [&](size_t i, bool onCallingThread) {
      if (onCallingThread &&
          !progress.report(BuildPhase::Composing, static_cast<int64_t>(i) + 1, total)) {
        return false;
      }
      std::optional<RgbaImage> image = decodePng(frames_.folder() + frames_.list()[i].name);
      if (!image) return true;
      PackedFrame& frame = packed_[i];
      frame.decoded = true;
      frame.box = options_.trim ? visibleBox(*image, options_.trimThreshold)
                                : PixelBox{0, 0, image->width, image->height};
      FrameEntry& entry = frames_.list()[i];
      entry.sourceWidth = image->width;
      entry.sourceHeight = image->height;
      if (frame.box.width == 0) {
        frame.clear = true;
        frame.box = {0, 0, 1, 1};
      }
      entry.offsetX = frame.box.x;
      entry.offsetY = frame.box.y;
      entry.width = frame.box.width;
      entry.height = frame.box.height;
      RgbaImage stored = storedPart(std::move(*image), frame);
      if (options_.dedupe) frame.digest = pixelDigest(stored);
      const uint64_t bytes = stored.pixels.size();
      if (held.fetch_add(bytes) + bytes <= budget) {
        frame.pixels = std::move(stored);
      } else {
        held.fetch_sub(bytes);
      }
      return true;
    });
  }

  const PackedFrame& operator[](size_t i) const { return packed_[i]; }
  size_t size() const { return packed_.size(); }

  // The stored part of frame i, held or decoded again; released once taken.
  std::optional<RgbaImage> take(size_t i) {
    PackedFrame& frame = packed_[i];
    if (frame.pixels) {
      std::optional<RgbaImage> pixels = std::move(frame.pixels);
      frame.pixels.reset();
      return pixels;
    }
    std::optional<RgbaImage> image = decodePng(frames_.folder() + frames_.list()[i].name);
    if (!image || image->width != frames_.list()[i].sourceWidth ||
        image->height != frames_.list()[i].sourceHeight) {
      return std::nullopt;  // the file changed under the build
    }
    return storedPart(std::move(*image), frame);
  }

  // Whether frame i's stored part equals frame j's, pixel for pixel; a part
  // no longer held is decoded again to be compared.
  bool samePixels(size_t i, size_t j) {
    if (packed_[i].digest != packed_[j].digest ||
        frames_.list()[i].width != frames_.list()[j].width ||
        frames_.list()[i].height != frames_.list()[j].height) {
      return false;
    }
    std::optional<RgbaImage> decodedI;
    std::optional<RgbaImage> decodedJ;
    const RgbaImage* a = pixelsOf(i, decodedI);
    const RgbaImage* b = pixelsOf(j, decodedJ);
    return a != nullptr && b != nullptr && a->pixels == b->pixels;
  }

 private:
  const RgbaImage* pixelsOf(size_t i, std::optional<RgbaImage>& decoded) {
    if (packed_[i].pixels) return &*packed_[i].pixels;
    std::optional<RgbaImage> image = decodePng(frames_.folder() + frames_.list()[i].name);
    if (!image) return nullptr;
    decoded = storedPart(std::move(*image), packed_[i]);
    return &*decoded;
  }

  Frames& frames_;
  const BuildOptions& options_;
  std::vector<PackedFrame> packed_;
};

// For each frame the index of the frame whose cell it takes: itself, or the
// first earlier frame whose stored pixels equal its own.
std::vector<size_t> cellOwners(PackedFrames& packed, bool dedupe) {
  std::vector<size_t> owners(packed.size());
  std::unordered_multimap<uint64_t, size_t> ownersByDigest;
  for (size_t i = 0; i < packed.size(); ++i) {
    owners[i] = i;
    if (!dedupe) continue;
    const auto [first, last] = ownersByDigest.equal_range(packed[i].digest);
    for (auto candidate = first; candidate != last; ++candidate) {
      if (packed.samePixels(i, candidate->second)) {
        owners[i] = candidate->second;
        break;
      }
    }
    if (owners[i] == i) ownersByDigest.emplace(packed[i].digest, i);
  }
  return owners;
}

}  // namespace

BuildOutcome buildPacked(const BuildOptions& options, Frames& frames, Progress& progress) {
  FrameList& list = frames.list();
  if (list.empty()) return layoutRefusal({.problem = LayoutProblem::Empty}, list, options);
  const PackRules rules = packRulesFor(options);
  // Headers first: a frame past the size limit is never decoded, and without
  // trimming one too large for the largest sheet is refused before any is.
  for (FrameEntry& frame : list) {
    frame.sourceWidth = frame.width;
    frame.sourceHeight = frame.height;
    if (frame.width > kSheetSizeLimit || frame.height > kSheetSizeLimit ||
        (!options.trim && frame.width > 0 && frame.height > 0 &&
         !fitsOnSheet(packedCell(frame.width, frame.height, options), rules))) {
      return tooLarge(frame, options);
    }
  }
  PackedFrames packed(frames, options);
  if (!packed.decodeAll(progress)) return BuildStopped{};
  size_t decodedCount = 0;
  for (size_t i = 0; i < packed.size(); ++i) decodedCount += packed[i].decoded;
  if (decodedCount == 0) {
    for (FrameEntry& frame : list) frame.width = frame.height = 0;
    return layoutRefusal({.problem = LayoutProblem::Empty}, list, options);
  }
  for (size_t i = 0; i < packed.size(); ++i) {
    if (!packed[i].decoded) return BuildRefusal{BuildProblem::FrameUnreadable, list[i].name};
    if (!fitsOnSheet(packedCell(list[i].width, list[i].height, options), rules)) {
      return tooLarge(list[i], options);
    }
  }

  const std::vector<size_t> owners = cellOwners(packed, options.dedupe);
  std::vector<RectSize> cells;
  std::vector<size_t> cellIndex(list.size());
  for (size_t i = 0; i < list.size(); ++i) {
    if (owners[i] != i) continue;
    cellIndex[i] = cells.size();
    cells.push_back(packedCell(list[i].width, list[i].height, options));
  }
  const PackResult packing = packRectangles(cells, rules);
  if (!packing.fits) {
    return BuildRefusal{
        BuildProblem::SizeLimit,
        {},
        PackedOverflow{largestSheetSide(options.maxSize, options.powerOf2), packing.sheetsNeeded,
                       static_cast<int64_t>(cells.size()), cells.size() < list.size()}};
  }

  const auto sheetCount = static_cast<int64_t>(packing.sheets.size());
  BuildOptions named = options;
  for (int64_t s = 0; s < sheetCount; ++s) {
    named.savePath = numberedPath(options.savePath, s, sheetCount);
    named.scriptPath = numberedPath(options.scriptPath, s, sheetCount);
    if (std::optional<BuildRefusal> clash = runFilesClash(named, list)) return *clash;
  }

  BuiltSheets built;
  // Every sheet is written before any takes its name, so a build stopped or
  // failed half way leaves all of the last build's sheets as they were.
  std::vector<std::unique_ptr<AtomicFile>> files;
  ScratchPool scratchPool;
  for (int64_t s = 0; s < sheetCount; ++s) {
    const PackedSheet& size = packing.sheets[s];
    const std::string path = numberedPath(options.savePath, s, sheetCount);
    std::vector<size_t> drawn;
    for (size_t i = 0; i < list.size(); ++i) {
      if (owners[i] == i && packing.places[cellIndex[i]].sheet == s) drawn.push_back(i);
    }
    RgbaImage canvas = emptyCanvas(size.width, size.height);
    growCanvas(canvas, size.height);
    std::vector<uint8_t> unreadable(drawn.size());
    const bool allDrawn = forEachTask(drawn.size(), machineThreads(), [&](size_t n, bool) {
      const size_t i = drawn[n];
      const std::optional<RgbaImage> pixels = packed.take(i);
      if (!pixels) {
        unreadable[n] = 1;
        return false;
      }
      const PackedPlace& place = packing.places[cellIndex[i]];
      drawCell(canvas, *pixels,
               {place.x + options.extrude, place.y + options.extrude, place.turned, options.turn},
               options, scratchPool);
      return true;
    });
    if (!allDrawn) {
      const size_t n = std::find(unreadable.begin(), unreadable.end(), 1) - unreadable.begin();
      return BuildRefusal{BuildProblem::FrameUnreadable, list[drawn[n]].name};
    }
    files.push_back(std::make_unique<AtomicFile>());
    if (!files.back()->open(path)) return sheetNotWritten(path);
    const PngWriteStatus status =
        writeSheetInto(std::move(canvas), options, *files.back(), progress);
    if (status == PngWriteStatus::Stopped) return BuildStopped{};
    if (status == PngWriteStatus::OutOfMemory) return outOfMemoryRefusal();
    if (status != PngWriteStatus::Written) return sheetNotWritten(path);
    const auto sheet = static_cast<int32_t>(s);
    BuiltSheet written{framesOnSheet(list, owners, cellIndex, packing, sheet, options.extrude),
                       size.width, size.height, path};
    written.animations = animationsOnSheet(
        frames.animations(), framesOnSheetAt(owners, cellIndex, packing, sheet), path);
    built.sheets.push_back(std::move(written));
  }
  for (size_t s = 0; s < files.size(); ++s) {
    const CommitResult commit = files[s]->commit();
    if (commit == CommitResult::Failed) return sheetNotWritten(built.sheets[s].path);
    built.sheets[s].unchanged = commit == CommitResult::Unchanged;
  }
  return built;
}

}  // namespace oz
