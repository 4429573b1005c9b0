// PNG writing: the writer frames and compresses the pixels it is handed, in
// one of three forms: RGBA rows, RGB rows, or index rows with their palette.
// Rows are unfiltered and deflated as one zlib stream or, when asked for the
// smallest file, filtered row by row and deflated as hard as the compressor can.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "base/atomic_file.h"
#include "sheet/png/rgba_image.h"

namespace oz {

// width x height pixels of red, green, blue; rows top first, stride 3 x width.
struct RgbImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;
};

struct PngPaletteEntry {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t alpha = 255;
  bool operator==(const PngPaletteEntry&) const = default;
};

// Where the rows of a palette image come from.
class IndexRows {
 public:
  virtual ~IndexRows() = default;
  // The packed index row y, ceil(width x bit depth / 8) bytes, the first pixel
  // in the high bits. Rows are asked for in order 0, 1, ..., height - 1, each
  // once; the span stays valid until the next call.
  virtual std::span<const uint8_t> row(int32_t y) = 0;
};

enum class PaletteBitDepth : uint8_t { One = 1, Four = 4, Eight = 8 };

// A palette image. The rows are released as soon as the last one is taken, so
// whatever they hold is gone while the image data is compressed.
struct IndexedImage {
  int32_t width = 0;
  int32_t height = 0;
  PaletteBitDepth bitDepth = PaletteBitDepth::Eight;
  // At most 2^bitDepth entries. A tRNS chunk carries their alphas when any is
  // below 255.
  std::vector<PngPaletteEntry> palette;
  std::unique_ptr<IndexRows> rows;
};

// The pixels of a sheet in the form they are stored. The RGBA and RGB forms
// are taken by value because their storage becomes the image data: move them
// in, with room reserved for one more byte a row, to spare a copy.
using PngPixels = std::variant<RgbaImage, RgbImage, IndexedImage>;

enum class PngWriteStatus {
  Written,
  EmptyPath,       // nothing was asked for
  BadImage,        // the image is empty, its pixels do not fill it, or its palette does not fit
  CannotCreate,    // the path is a directory, or the file to write cannot be made or opened
  OutOfMemory,     // the image data or its compressed form does not fit
  EncodingFailed,  // writing the file failed
  CannotReplace,   // finishing the file or moving it over the path failed
  Stopped,         // the caller asked to stop: nothing was written
};

enum class PngCompression {
  Default,   // rows unfiltered, compressed fast to about the size zlib's level 9 gives
  Fast,      // as Default, but index rows as fast as sample rows, a few percent larger
  Smallest,  // the row filters and compression that give the smallest file, slowly
};

// Called after each row is laid out for compression with the number of rows
// laid out so far, and once more with the height when the image data is
// compressed, just before the file takes its name. Returns whether to go on:
// false stops the write, and the file at the path stays as it was.
using RowsWritten = std::function<bool(int32_t rows)>;

// Writes `pixels` to `path` as a PNG of colour type RGBA, RGB or palette. The
// file is written beside `path` and renamed over it once complete, so on any
// failure an existing file at `path` is untouched and nothing partial is left
// behind. A file that already holds the same bytes is left as it was (and the
// status is Written).
PngWriteStatus encodePng(PngPixels pixels, const std::string& path,
                         PngCompression compression = PngCompression::Default,
                         const RowsWritten& rowsWritten = nullptr);

// As encodePng, but into `file`, opened and not yet committed, which it leaves
// uncommitted: for a build that writes several files and gives them their
// names only once all are complete. Never returns CannotReplace.
PngWriteStatus encodePngInto(PngPixels pixels, AtomicFile& file,
                             PngCompression compression = PngCompression::Default,
                             const RowsWritten& rowsWritten = nullptr);

}  // namespace oz
