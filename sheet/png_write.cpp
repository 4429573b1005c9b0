// Sheet encoding. The rows are laid out as PNG image data (a filter byte before
// each row) in the canvas's own storage wherever they fit, compressed in one
// piece by libdeflate and framed into chunks here; libpng only reads.
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "base/atomic_file.h"
#include "base/parallel.h"
#include "sheet/deflate_zlib.h"
#include "sheet/png_chunks.h"
#include "sheet/png_io.h"
#include "sheet/quantiser/reduction.h"
#include "sheet/row_filter.h"

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
// as much time as zlib's level 9. Level 12 (optimal parsing over several
// passes) is the smallest libdeflate makes, at many times the time, so only a
// sheet asked to be smallest pays for it.
constexpr int kSampleRowsLevel = 6;
constexpr int kIndexRowsLevel = 10;
constexpr int kSmallestLevel = 12;

bool isSupportedBits(int32_t bits) {
  return bits == 32 || bits == 24 || bits == 8 || bits == 4 || bits == 1;
}

// Every output form but RGBA is opaque: each pixel is laid over white.
// (c x a + 255 x (255 - a)) / 255 rounds down; opaque pixels keep their colour.
void flattenOntoWhite(const uint8_t* rgba, int32_t width, uint8_t* rgb) {
  for (int32_t x = 0; x < width; ++x, rgba += 4, rgb += 3) {
    const uint32_t a = rgba[3];
    const uint32_t white = 255 * (255 - a);
    rgb[0] = static_cast<uint8_t>((rgba[0] * a + white) / 255);
    rgb[1] = static_cast<uint8_t>((rgba[1] * a + white) / 255);
    rgb[2] = static_cast<uint8_t>((rgba[2] * a + white) / 255);
  }
}

// Rewrites the RGBA rows in `pixels` laid over white, 3 bytes a pixel, each row
// `offset` bytes further on than the previous one and `lead` bytes into it. A
// row never grows, so no row is overwritten before it is read.
void flattenInPlace(std::vector<uint8_t>& pixels, int32_t width, int32_t height, size_t offset,
                    size_t lead) {
  const size_t rgbaBytes = static_cast<size_t>(width) * 4;
  std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
  for (int32_t y = 0; y < height; ++y) {
    flattenOntoWhite(pixels.data() + rgbaBytes * y, width, row.data());
    std::memcpy(pixels.data() + offset * y + lead, row.data(), row.size());
  }
}

void reportRow(const RowsWritten& rowsWritten, int32_t rows) {
  if (rowsWritten) rowsWritten(rows);
}

// PNG image data before compression: `height` rows of a filter byte and
// `rowBytes` bytes.
struct ImageData {
  std::vector<uint8_t> bytes;
  size_t rowBytes = 0;
  size_t pixelBytes = 1;  // how far back a filter looks for the pixel on the left
  int32_t height = 0;
};

// The RGBA rows move down, last row first, to make room for their filter bytes;
// only `height` bytes are added to the canvas.
ImageData rgbaImageData(std::vector<uint8_t>&& pixels, int32_t width, int32_t height,
                        const RowsWritten& rowsWritten) {
  const size_t rowBytes = static_cast<size_t>(width) * 4;
  pixels.resize(pixels.size() + static_cast<size_t>(height));
  for (int32_t y = height - 1; y >= 0; --y) {
    uint8_t* row = pixels.data() + (rowBytes + 1) * y;
    std::memmove(row + 1, pixels.data() + rowBytes * y, rowBytes);
    row[0] = 0;
    reportRow(rowsWritten, height - y);
  }
  return {std::move(pixels), rowBytes, 4, height};
}

// The RGB rows take the canvas's room, each after its filter byte.
ImageData rgbImageData(std::vector<uint8_t>&& pixels, int32_t width, int32_t height,
                       const RowsWritten& rowsWritten) {
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  flattenInPlace(pixels, width, height, rowBytes + 1, 1);
  pixels.resize((rowBytes + 1) * height);
  for (int32_t y = 0; y < height; ++y) {
    pixels[(rowBytes + 1) * y] = 0;
    reportRow(rowsWritten, y + 1);
  }
  return {std::move(pixels), rowBytes, 3, height};
}

// Writes the packed index rows of the reduction into `data`, each after its
// filter byte, telling `filled` (when given) how far it has got.
void writeIndexRows(Reduction& reduction, ImageData& data, const RowsWritten& rowsWritten,
                    const FilledBytes& filled) {
  const size_t stride = data.rowBytes + 1;
  for (int32_t y = 0; y < data.height; ++y) {
    const std::span<const uint8_t> row = reduction.row(y);
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
  if (compression == PngCompression::Default) {
    return deflateZlibWhileFilled(data.bytes, palette ? kIndexRowsLevel : kSampleRowsLevel, threads,
                                  fill);
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

}  // namespace

PngWriteStatus encodePng(RgbaImage image, const std::string& path, int32_t bits, int32_t ditherFlag,
                         PngCompression compression, const RowsWritten& rowsWritten,
                         PaletteQuantiser quantiser) {
  if (path.empty()) return PngWriteStatus::EmptyPath;
  const int32_t width = image.width;
  const int32_t height = image.height;
  if (width <= 0 || height <= 0 || !isSupportedBits(bits) ||
      image.pixels.size() != static_cast<size_t>(width) * height * 4) {
    return PngWriteStatus::BadImage;
  }
  AtomicFile file;
  if (!file.open(path)) return PngWriteStatus::CannotCreate;

  PngHeader header{static_cast<uint32_t>(width), static_cast<uint32_t>(height), 8, 6};
  std::vector<uint8_t> palette;  // red, green, blue of each entry
  ImageData data;
  std::unique_ptr<Reduction> reduction;
  std::function<void(const FilledBytes&)> fill;  // the index rows, mapped as they are compressed
  std::optional<DeflatedBytes> deflated;
  try {
    if (bits == 32) {
      data = rgbaImageData(std::move(image.pixels), width, height, rowsWritten);
    } else if (bits == 24) {
      header.colorType = 2;
      data = rgbImageData(std::move(image.pixels), width, height, rowsWritten);
    } else {
      // The reduction reads opaque rows that start on 4-byte boundaries; they
      // take the canvas's room (never more than 4 bytes a pixel).
      const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
      flattenInPlace(image.pixels, width, height, stride, 0);
      for (int32_t y = 0; y < height; ++y) {
        std::fill(image.pixels.begin() + stride * y + size_t{3} * width,
                  image.pixels.begin() + stride * (y + 1), uint8_t{0});
      }
      ReductionRequest request;
      request.pixels = image.pixels.data();
      request.width = width;
      request.height = height;
      request.stride = stride;
      request.bits = bits;
      request.dither = (ditherFlag & kDitherFlag) != 0;
      request.quantiser =
          quantiser == PaletteQuantiser::KMeans ? Quantiser::KMeans : Quantiser::Network;
      reduction = Reduction::open(request);
      if (reduction == nullptr || reduction->palette().size() != (size_t{1} << bits)) {
        return PngWriteStatus::NoReduction;
      }
      for (const PaletteColour& c : reduction->palette()) {
        palette.insert(palette.end(), {c.red, c.green, c.blue});
      }
      header.bitDepth = static_cast<uint8_t>(bits);
      header.colorType = 3;
      const size_t rowBytes = (static_cast<size_t>(width) * bits + 7) / 8;
      data = {std::vector<uint8_t>((rowBytes + 1) * height), rowBytes, 1, height};
      fill = [&](const FilledBytes& filled) {
        writeIndexRows(*reduction, data, rowsWritten, filled);
        reduction.reset();
        image.pixels = {};  // the opaque rows are no longer needed while compressing
      };
    }
    deflated = compress(data, compression, bits <= 8, fill);
  } catch (const std::bad_alloc&) {
    return PngWriteStatus::OutOfMemory;
  }
  if (!deflated) return PngWriteStatus::OutOfMemory;
  data.bytes = {};
  if (!writePngChunks(file.stream(), header, palette, deflated->views())) {
    return PngWriteStatus::EncodingFailed;
  }
  return file.commit() ? PngWriteStatus::Written : PngWriteStatus::CannotReplace;
}

}  // namespace oz
