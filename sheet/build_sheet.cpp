#include "sheet/build_sheet.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <vector>

#include "base/atomic_file.h"
#include "base/parallel.h"
#include "sheet/animation_names.h"
#include "sheet/animation_scan.h"
#include "sheet/build_steps.h"
#include "sheet/cell_drawing.h"
#include "sheet/identical_frames.h"
#include "sheet/layout/grid_layout.h"
#include "sheet/packed_build.h"
#include "sheet/refusal_causes.h"
#include "sheet/sheet_writer.h"

namespace oz {
namespace {

// Draws every cell onto a new canvas, each frame decoded here. Nothing when a
// frame's size turned out other than its header said (the layout must be
// redone). Cells are drawn independently, so every core takes its share; each
// draws only into its own cell of the canvas, and cells never overlap. The
// canvas is the same whatever the number of threads.
std::optional<RgbaImage> compose(Frames& frames, int64_t width, int64_t height,
                                 const SpriteOptions& options, Progress& progress) {
  RgbaImage canvas = emptyCanvas(width, height);
  growCanvas(canvas, height);
  const auto total = frames.total();
  ScratchPool scratchPool;
  // Progress goes to the caller's thread only: it counts the cells begun, and
  // ends at the last cell whichever thread drew it.
  int64_t reported = 0;
  const bool allDrawn =
      forEachTask(frames.list().size(), machineThreads(), [&](size_t i, bool onCallingThread) {
        if (onCallingThread) {
          reported = static_cast<int64_t>(i) + 1;
          if (!progress.report(BuildPhase::Composing, reported, total)) return false;
        }
        const std::optional<RgbaImage> image = frames.decode(i);
        if (!image) return false;
        const FrameEntry& frame = frames.list()[i];
        drawCell(canvas, *image, {frame.x, frame.y}, options, scratchPool);
        return true;
      });
  if (!allDrawn) return std::nullopt;
  if (reported < total && !progress.report(BuildPhase::Composing, total, total)) {
    return std::nullopt;
  }
  return canvas;
}

// A sheet on which identical frames share a cell: for each frame the index of
// the frame whose cell it takes, and the canvas with the rows drawn so far.
struct SharedSheet {
  std::vector<size_t> owners;
  RgbaImage canvas;
};

// Decodes every frame once, a few per core at a time, and draws those unlike
// every earlier one, each into the next cell. A frame is compared with the
// cell of an earlier frame of the same digest as it lies on the canvas, so no
// frame is held once drawn: only the pixels drawing changed, or a copy when
// those are many. The canvas is as
// wide as the sheet without sharing (which it cannot pass) within the size
// limit, and only its rows in use are set; a cell beyond it makes a sheet
// past the limit, and is not drawn. Nothing when a frame's size turned out
// other than its header said (the layout must be redone).
std::optional<SharedSheet> composeShared(Frames& frames, const LayoutRules& rules,
                                         const SheetLayout& unshared, const SpriteOptions& options,
                                         Progress& progress) {
  FrameList& list = frames.list();
  const size_t count = list.size();
  const auto side = [&](int64_t length) {
    return std::min(options.powerOf2 ? padToPowerOf2(length) : length, kSheetSizeLimit);
  };
  const int64_t width = side(unshared.width);
  const int64_t height = side(unshared.height);
  const int64_t frameWidth = list.front().width;
  const int64_t frameHeight = list.front().height;
  SharedSheet sheet{std::vector<size_t>(count), emptyCanvas(width, height)};
  IdenticalFrames identical;
  std::vector<uint8_t> onCanvas(count);
  const size_t threads = machineThreads();
  const size_t batch = 4 * threads;
  std::vector<std::optional<RgbaImage>> images(batch);
  std::vector<uint64_t> digests(batch);
  std::vector<LostPixels> lost(batch);
  std::vector<size_t> drawn;
  ScratchPool scratchPool;
  int64_t cells = 0;
  for (size_t start = 0; start < count; start += batch) {
    const size_t size = std::min(batch, count - start);
    const bool decoded = forEachTask(size, threads, [&](size_t k, bool onCallingThread) {
      if (onCallingThread &&
          !progress.report(BuildPhase::Composing, static_cast<int64_t>(start + k) + 1,
                           frames.total())) {
        return false;
      }
      images[k] = frames.decode(start + k);
      if (!images[k]) return false;
      digests[k] = pixelDigest(*images[k]);
      lost[k] = pixelsLostInDrawing(*images[k], options.premultipliedAlpha);
      return true;
    });
    if (!decoded) return std::nullopt;
    drawn.clear();
    for (size_t k = 0; k < size; ++k) {
      const size_t i = start + k;
      const RgbaImage& image = *images[k];
      const std::optional<size_t> owner = identical.find(digests[k], [&](size_t j) {
        if (const RgbaImage* copy = identical.copy(j)) return copy->pixels == image.pixels;
        if (j >= start) return images[j - start]->pixels == image.pixels;  // not drawn yet
        // A cell past the limit refuses the sheet whatever it shares.
        if (!onCanvas[j]) return true;
        return equalsCell(image, sheet.canvas, list[j].x, list[j].y, identical.lost(j));
      });
      sheet.owners[i] = owner.value_or(i);
      if (owner) continue;
      const CellPlace place = cellPlace(cells++, frameWidth, frameHeight, rules);
      list[i].x = place.x;
      list[i].y = place.y;
      const int64_t bottom = place.y + frameHeight + rules.extrude;
      onCanvas[i] = place.x + frameWidth + rules.extrude <= width && bottom <= height;
      identical.offer(i, digests[k], image, onCanvas[i] ? std::move(lost[k]) : LostPixels{});
      if (!onCanvas[i]) continue;
      growCanvas(sheet.canvas, bottom);
      drawn.push_back(k);
    }
    forEachTask(drawn.size(), threads, [&](size_t n, bool) {
      const size_t k = drawn[n];
      const FrameEntry& frame = list[start + k];
      drawCell(sheet.canvas, *images[k], {frame.x, frame.y}, options, scratchPool);
      return true;
    });
  }
  if (!progress.report(BuildPhase::Composing, frames.total(), frames.total())) return std::nullopt;
  return sheet;
}

// The canvas of a shared sheet made `width` x `height`: its rows closed up when
// it was drawn wider, and transparent rows added below. Every cell lies within
// the new width, so what is cut off was never drawn.
RgbaImage finishSharedCanvas(RgbaImage canvas, int64_t width, int64_t height) {
  const size_t from = static_cast<size_t>(canvas.width) * 4;
  const size_t to = static_cast<size_t>(width) * 4;
  const auto rows = static_cast<size_t>(canvas.height);
  for (size_t row = 1; row < rows && to < from; ++row) {
    std::memmove(canvas.pixels.data() + row * to, canvas.pixels.data() + row * from, to);
  }
  canvas.pixels.resize(rows * to);
  canvas.width = static_cast<int32_t>(width);
  growCanvas(canvas, height);
  return canvas;
}

// The animations whose frames several sheets share, in the order they first
// appear; nothing when each lies on one sheet.
std::optional<BuildNote> splitAnimations(const BuiltSheets& built) {
  std::vector<std::string> seen;
  BuildNote note{BuildNoteKind::SplitAnimations, {}};
  for (const BuiltSheet& sheet : built.sheets) {
    for (const Animation& animation : sheet.animations) {
      const bool before = std::find(seen.begin(), seen.end(), animation.name) != seen.end();
      const bool told =
          std::find(note.names.begin(), note.names.end(), animation.name) != note.names.end();
      if (before && !told) note.names.push_back(animation.name);
      if (!before) seen.push_back(animation.name);
    }
  }
  if (note.names.empty()) return std::nullopt;
  return note;
}

// The strip or grid: frames of one size in rows, on one sheet.
BuildOutcome buildGrid(const BuildOptions& options, Frames& frames, Progress& progress);

BuildOutcome build(const BuildOptions& options, Progress& progress) {
  if (options.savePath.empty()) {
    return BuildRefusal{BuildProblem::NoSavePath, {}};
  }
  if (options.imageFolder.empty()) {
    return BuildRefusal{BuildProblem::NoImageFolder, {}};
  }
  FolderFrames scanned = scanFolderFrames(options.imageFolder, options.animations);
  if (std::optional<BuildRefusal> clash =
          animationNamesClash(scanned.animations, options.animationNameForms)) {
    return *clash;
  }
  std::vector<BuildNote> notes = std::move(scanned.notes);
  Frames frames(options.imageFolder, std::move(scanned), progress);
  if (progress.stopped()) return BuildStopped{};
  if (std::optional<BuildRefusal> clash = runFilesClash(options, frames.list())) return *clash;
  BuildOutcome outcome = options.packed ? buildPacked(options, frames, progress)
                                        : buildGrid(options, frames, progress);
  if (auto* built = std::get_if<BuiltSheets>(&outcome)) {
    if (std::optional<BuildNote> split = splitAnimations(*built)) notes.push_back(*split);
    built->notes = std::move(notes);
  }
  return outcome;
}

BuildOutcome buildGrid(const BuildOptions& options, Frames& frames, Progress& progress) {
  const int64_t columns = parseColumns(options.columns);
  // A frame that fails to decode, though its header was fine, reads as 0 x 0:
  // then the checks run again on the corrected sizes, so the outcome is the one
  // decoding every frame first would give.
  const LayoutRules rules{options.strip, columns, options.spacing, options.border, options.extrude};
  // Every step that finds the build is to stop goes round the loop to here.
  for (;;) {
    if (progress.stopped()) return BuildStopped{};
    std::optional<SharedSheet> shared;
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
      shared = composeShared(frames, rules, unshared, options, progress);
      if (!shared) continue;
    }
    const SheetLayout layout = shared ? layOutFrames(frames.list(), rules, shared->owners)
                                      : layOutFrames(frames.list(), rules);
    if (layout.problem != LayoutProblem::None) {
      if (frames.settle(layout.decidingFrames)) {
        return layoutRefusal(layout, frames.list(), options,
                             shared ? shared->owners : std::vector<size_t>{});
      }
      continue;
    }
    const int64_t width = options.powerOf2 ? padToPowerOf2(layout.width) : layout.width;
    const int64_t height = options.powerOf2 ? padToPowerOf2(layout.height) : layout.height;
    std::optional<RgbaImage> canvas =
        shared ? finishSharedCanvas(std::move(shared->canvas), width, height)
               : compose(frames, width, height, options, progress);
    if (!canvas) continue;

    AtomicFile file;
    if (!file.open(options.savePath)) return sheetNotWritten(options.savePath);
    const PngWriteStatus status = writeSheetInto(std::move(*canvas), options, file, progress);
    if (status == PngWriteStatus::Stopped) return BuildStopped{};
    if (status == PngWriteStatus::OutOfMemory) return outOfMemoryRefusal();
    if (status != PngWriteStatus::Written) return sheetNotWritten(options.savePath);
    const CommitResult commit = file.commit();
    if (commit == CommitResult::Failed) return sheetNotWritten(options.savePath);
    BuiltSheet sheet{std::move(frames.list()), width, height, options.savePath,
                     commit == CommitResult::Unchanged};
    sheet.animations =
        animationsOnSheet(frames.animations(), sheet.frames.size(), options.savePath);
    BuiltSheets built;
    built.sheets.push_back(std::move(sheet));
    return built;
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
