// Sheet encoding. The rows are laid out as PNG image data (a filter byte before
// each row) in the pixels' own storage wherever they fit, compressed in one
// piece by libdeflate and framed into chunks here; libpng only reads.
#include "sheet/png/png_write.h"

#include <cstring>
#include <functional>
#include <new>
#include <optional>
#include <vector>

#include "base/atomic_file.h"
#include "base/huge_pages.h"
#include "base/parallel.h"
#include "sheet/deflate/deflate_zlib.h"
#include "sheet/png/png_chunks.h"
#include "sheet/png/row_filter.h"

namespace oz {
namespace {

// libdeflate's levels, measured against zlib's level 9 on the same unfiltered
// rows of sprite sheets. For RGBA and RGB rows its levels 5 to 7 come within
// about 1% of zlib's size, smaller as often as larger, in a fifth of the time;
// levels 8 and 9 are slower and no smaller, and its first level that is
// always smaller, 10, takes longer than zlib itself, which would undo the
// point. Index rows are a quarter of the bytes or less, and there the fast
// levels can be far larger (a fifth more for 1-bit rows), while level 10 was
// smaller than zlib's level 9 on every sheet tried, by 1.5% to 8%, for about
// as much time as zlib's level 9. On the 8- and 4-bit rows of a 2048 x 2048
// sheet of sprites, though, level 6 came within 2% of zlib's level 9 (smaller
// at 8 bits, larger at 4), and level 10 took ten times as long for 5% to 8%
// less, longer than the rest of the build: the Fast form keeps every row at
// the fast level. Nothing lies between: on the k-means sheets' index rows (8
// and 4 bits, opaque and transparent, plain and dithered) levels 7 to 9 took
// at most 1.2% off level 6's size for up to twice its time, and filtering the
// rows made them larger (Sub by 11%, Up by 17% at 8 bits), as indices are not
// samples. Level 12 (optimal parsing over several passes) is the smallest
// libdeflate makes, at many times the time, so only a sheet asked to be
// smallest pays for it.
constexpr int kSampleRowsLevel = 6;
constexpr int kIndexRowsLevel = 10;
constexpr int kSmallestLevel = 12;

// Thrown from within the rows' layout when the caller asks to stop, so that
// the compression waiting for them ends too; caught in encodePng.
struct WriteStopped {};

void reportRow(const RowsWritten& rowsWritten, int32_t rows) {
  if (rowsWritten && !rowsWritten(rows)) throw WriteStopped{};
}

// PNG image data before compression: `height` rows of a filter byte and
// `rowBytes` bytes.
struct ImageData {
  std::vector<uint8_t> bytes;
  size_t rowBytes = 0;
  size_t pixelBytes = 1;  // how far back a filter looks for the pixel on the left
  int32_t height = 0;
};

// The rows move down, last row first, to make room for their filter bytes;
// only `height` bytes are added to the pixels' storage.
ImageData sampleImageData(std::vector<uint8_t>&& pixels, size_t rowBytes, size_t pixelBytes,
                          int32_t height, const RowsWritten& rowsWritten) {
  pixels.resize(pixels.size() + static_cast<size_t>(height));
  for (int32_t y = height - 1; y >= 0; --y) {
    uint8_t* row = pixels.data() + (rowBytes + 1) * y;
    std::memmove(row + 1, pixels.data() + rowBytes * y, rowBytes);
    row[0] = 0;
    reportRow(rowsWritten, height - y);
  }
  return {std::move(pixels), rowBytes, pixelBytes, height};
}

// `size` zero bytes, on huge pages where the system gives them: the index
// rows of a large sheet would otherwise cost a page fault every 4 KiB while
// the rows wait.
std::vector<uint8_t> zeroedBytes(size_t size) {
  std::vector<uint8_t> bytes;
  reserveOnHugePages(bytes, size);
  bytes.resize(size);
  return bytes;
}

// Writes the packed index rows into `data`, each after its filter byte,
// telling `filled` (when given) how far it has got.
void writeIndexRows(IndexRows& rows, ImageData& data, const RowsWritten& rowsWritten,
                    const FilledBytes& filled) {
  const size_t stride = data.rowBytes + 1;
  for (int32_t y = 0; y < data.height; ++y) {
    const std::span<const uint8_t> row = rows.row(y);
    std::memcpy(data.bytes.data() + stride * y + 1, row.data(), data.rowBytes);
    reportRow(rowsWritten, y + 1);
    if (filled) filled(stride * (y + 1));
  }
}

// The default sheet keeps every row unfiltered. The smallest one takes each
// row's adaptive filter; palette rows (whose bytes are indices, not samples)
// keep whichever of the two compresses smaller. `fill`, when given, writes
// the rows first: the default sheet compresses them as they come.
std::optional<DeflatedBytes> compress(ImageData& data, PngCompression compression, bool palette,
                                      const std::function<void(const FilledBytes&)>& fill) {
  const size_t threads = machineThreads();
  if (compression != PngCompression::Smallest) {
    const int level =
        palette && compression == PngCompression::Default ? kIndexRowsLevel : kSampleRowsLevel;
    return deflateZlibWhileFilled(data.bytes, level, threads, fill);
  }
  if (fill) fill({});
  std::optional<DeflatedBytes> unfiltered;
  if (palette) {
    unfiltered = deflateZlib(data.bytes, kSmallestLevel, threads);
    if (!unfiltered) return std::nullopt;
  }
  filterRowsAdaptively(data.bytes.data(), data.rowBytes, data.height, data.pixelBytes);
  std::optional<DeflatedBytes> filtered = deflateZlib(data.bytes, kSmallestLevel, threads);
  if (filtered && unfiltered && unfiltered->size() <= filtered->size()) return unfiltered;
  return filtered;
}

bool fills(const std::vector<uint8_t>& pixels, int32_t width, int32_t height, size_t pixelBytes) {
  return width > 0 && height > 0 &&
         pixels.size() == static_cast<size_t>(width) * static_cast<size_t>(height) * pixelBytes;
}

bool isValid(const PngPixels& pixels) {
  if (const auto* rgba = std::get_if<RgbaImage>(&pixels)) {
    return fills(rgba->pixels, rgba->width, rgba->height, 4);
  }
  if (const auto* rgb = std::get_if<RgbImage>(&pixels)) {
    return fills(rgb->pixels, rgb->width, rgb->height, 3);
  }
  const IndexedImage& indexed = std::get<IndexedImage>(pixels);
  const size_t entries = size_t{1} << static_cast<int>(indexed.bitDepth);
  return indexed.width > 0 && indexed.height > 0 && indexed.rows != nullptr &&
         !indexed.palette.empty() && indexed.palette.size() <= entries;
}

// PLTE's red, green, blue of each entry, and tRNS's alphas up to the last one
// below 255 (the entries after it are opaque without being listed).
void paletteChunks(const std::vector<PngPaletteEntry>& entries, std::vector<uint8_t>& palette,
                   std::vector<uint8_t>& transparency) {
  size_t translucent = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    const PngPaletteEntry& e = entries[i];
    palette.insert(palette.end(), {e.red, e.green, e.blue});
    if (e.alpha < 255) translucent = i + 1;
  }
  for (size_t i = 0; i < translucent; ++i) transparency.push_back(entries[i].alpha);
}

}  // namespace

PngWriteStatus encodePng(PngPixels pixels, const std::string& path, PngCompression compression,
                         const RowsWritten& rowsWritten) {
  if (path.empty()) return PngWriteStatus::EmptyPath;
  if (!isValid(pixels)) return PngWriteStatus::BadImage;
  AtomicFile file;
  if (!file.open(path)) return PngWriteStatus::CannotCreate;
  const PngWriteStatus status = encodePngInto(std::move(pixels), file, compression, rowsWritten);
  if (status != PngWriteStatus::Written) return status;
  return file.commit() == CommitResult::Failed ? PngWriteStatus::CannotReplace
                                               : PngWriteStatus::Written;
}

PngWriteStatus encodePngInto(PngPixels pixels, AtomicFile& file, PngCompression compression,
                             const RowsWritten& rowsWritten) {
  if (!isValid(pixels)) return PngWriteStatus::BadImage;
  PngHeader header;
  std::vector<uint8_t> palette;       // red, green, blue of each entry
  std::vector<uint8_t> transparency;  // alpha of the first entries
  ImageData data;
  std::function<void(const FilledBytes&)> fill;  // the index rows, mapped as they are compressed
  std::optional<DeflatedBytes> deflated;
  try {
    if (auto* rgba = std::get_if<RgbaImage>(&pixels)) {
      header = {static_cast<uint32_t>(rgba->width), static_cast<uint32_t>(rgba->height), 8,
                PngColorType::Rgba};
      data = sampleImageData(std::move(rgba->pixels), static_cast<size_t>(rgba->width) * 4, 4,
                             rgba->height, rowsWritten);
    } else if (auto* rgb = std::get_if<RgbImage>(&pixels)) {
      header = {static_cast<uint32_t>(rgb->width), static_cast<uint32_t>(rgb->height), 8,
                PngColorType::Rgb};
      data = sampleImageData(std::move(rgb->pixels), static_cast<size_t>(rgb->width) * 3, 3,
                             rgb->height, rowsWritten);
    } else {
      IndexedImage& indexed = std::get<IndexedImage>(pixels);
      const auto bits = static_cast<uint8_t>(indexed.bitDepth);
      header = {static_cast<uint32_t>(indexed.width), static_cast<uint32_t>(indexed.height), bits,
                PngColorType::Palette};
      paletteChunks(indexed.palette, palette, transparency);
      const size_t rowBytes = (static_cast<size_t>(indexed.width) * bits + 7) / 8;
      data = {zeroedBytes((rowBytes + 1) * indexed.height), rowBytes, 1, indexed.height};
      fill = [&](const FilledBytes& filled) {
        writeIndexRows(*indexed.rows, data, rowsWritten, filled);
        indexed.rows.reset();  // what the rows were made from is not needed while compressing
      };
    }
    deflated = compress(data, compression, header.colorType == PngColorType::Palette, fill);
    if (deflated) reportRow(rowsWritten, static_cast<int32_t>(header.height));
  } catch (const std::bad_alloc&) {
    return PngWriteStatus::OutOfMemory;
  } catch (const WriteStopped&) {
    return PngWriteStatus::Stopped;  // the caller's file is never committed
  }
  if (!deflated) return PngWriteStatus::OutOfMemory;
  data.bytes = {};
  if (!writePngChunks(file.stream(), header, palette, transparency, deflated->views())) {
    return PngWriteStatus::EncodingFailed;
  }
  return PngWriteStatus::Written;
}

}  // namespace oz
