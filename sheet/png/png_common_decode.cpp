#include "sheet/png/png_common_decode.h"

#include <libdeflate.h>

#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

#include "sheet/png/row_filter.h"

namespace oz {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

// The largest width and height libpng accepts unless told otherwise; larger
// images are left to it, so that it refuses them as before.
constexpr uint32_t kMostSide = 1'000'000;

// The most bytes of filtered rows inflated at once, beside the image they
// become: a frame of up to about 1,400 x 1,400 RGBA pixels. libpng, which
// inflates a row at a time, takes larger ones, so a large frame costs no more
// memory than it did.
constexpr uint64_t kMostRawBytes = uint64_t{8} << 20;

// The most bytes one compressed byte can inflate to (see png_read.cpp): image
// data too short for its rows is left to libpng, which refuses it before
// setting memory aside.
constexpr uint64_t kMostInflatedPerByte = 1032;

// Whether the zlib stream starting `imageData` can be inflated by libdeflate
// with the same outcome as zlib: its method is deflate, and its window is
// deflate's largest or holds all the rows. zlib, and so libpng, refuses a
// distance beyond the window the header declares, which libdeflate would
// follow; encoders declare a smaller window only for data that fits in it,
// where no distance can reach beyond.
bool windowHoldsDistances(std::span<const uint8_t> imageData, uint64_t rawBytes) {
  if (imageData.empty() || (imageData[0] & 0x0f) != 8) return false;
  const int windowBits = (imageData[0] >> 4) + 8;
  return windowBits == 15 || (windowBits < 15 && rawBytes <= uint64_t{1} << windowBits);
}

uint32_t bigEndian(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

bool isLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

struct FreeDecompressor {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// What the chunks up to the last image data chunk say: the header's fields
// and the image data, joined.
struct CommonForm {
  uint32_t width = 0;
  uint32_t height = 0;
  bool alpha = false;
  std::vector<uint8_t> imageData;
};

// The header of the common form; false for any other.
bool readHeader(const uint8_t* ihdr, CommonForm& form) {
  form.width = bigEndian(ihdr);
  form.height = bigEndian(ihdr + 4);
  const uint8_t depth = ihdr[8];
  const uint8_t colorType = ihdr[9];
  form.alpha = colorType == 6;
  return form.width > 0 && form.width <= kMostSide && form.height > 0 && form.height <= kMostSide &&
         depth == 8 && (colorType == 2 || colorType == 6) && ihdr[10] == 0 && ihdr[11] == 0 &&
         ihdr[12] == 0;
}

// Walks the chunks from the header to the last of the consecutive image data
// chunks, checking each one's length, name and checksum. Besides the header
// and the image data only ancillary chunks may come, and no transparency
// chunk. What follows the image data is never read, as libpng never reads it.
std::optional<CommonForm> readChunks(std::span<const uint8_t> file) {
  if (file.size() < sizeof kSignature || std::memcmp(file.data(), kSignature, 8) != 0) {
    return std::nullopt;
  }
  CommonForm form;
  bool header = false;
  bool inImageData = false;
  for (size_t at = sizeof kSignature;;) {
    if (file.size() - at < 12) return std::nullopt;
    const uint32_t length = bigEndian(&file[at]);
    const uint8_t* type = &file[at + 4];
    if (length > file.size() - at - 12) return std::nullopt;
    const std::string_view name(reinterpret_cast<const char*>(type), 4);
    const bool imageData = name == "IDAT";
    if (inImageData && !imageData) break;
    if (!isLetter(type[0]) || !isLetter(type[1]) || !isLetter(type[2]) || !isLetter(type[3])) {
      return std::nullopt;
    }
    const uint32_t crc = libdeflate_crc32(0, type, size_t{length} + 4);
    if (crc != bigEndian(type + 4 + length)) return std::nullopt;
    const uint8_t* data = type + 4;
    if (!header) {
      if (name != "IHDR" || length != 13 || !readHeader(data, form)) return std::nullopt;
      header = true;
    } else if (imageData) {
      form.imageData.insert(form.imageData.end(), data, data + length);
      inImageData = true;
    } else if ((type[0] & 0x20) == 0 || name == "tRNS") {
      return std::nullopt;  // a palette, a second header, the end: libpng's to judge
    }
    at += size_t{length} + 12;
  }
  return form;
}

}  // namespace

std::optional<RgbaImage> decodeCommonPng(std::span<const uint8_t> file) {
  std::optional<CommonForm> form = readChunks(file);
  if (!form) return std::nullopt;
  const size_t pixelBytes = form->alpha ? 4 : 3;
  const size_t rowBytes = size_t{form->width} * pixelBytes;
  const uint64_t rawBytes = uint64_t{rowBytes + 1} * form->height;
  if (rawBytes > kMostRawBytes || rawBytes / kMostInflatedPerByte > form->imageData.size() ||
      !windowHoldsDistances(form->imageData, rawBytes)) {
    return std::nullopt;
  }
  try {
    std::vector<uint8_t> raw(rawBytes);
    const std::unique_ptr<libdeflate_decompressor, FreeDecompressor> inflater(
        libdeflate_alloc_decompressor());
    size_t consumed = 0;
    // The stream must hold the rows exactly and end with the image data.
    if (inflater == nullptr ||
        libdeflate_zlib_decompress_ex(inflater.get(), form->imageData.data(),
                                      form->imageData.size(), raw.data(), raw.size(), &consumed,
                                      nullptr) != LIBDEFLATE_SUCCESS ||
        consumed != form->imageData.size()) {
      return std::nullopt;
    }
    RgbaImage image;
    image.width = static_cast<int32_t>(form->width);
    image.height = static_cast<int32_t>(form->height);
    image.pixels.resize(size_t{form->width} * form->height * 4);
    const uint8_t* previous = nullptr;
    for (uint32_t y = 0; y < form->height; ++y) {
      uint8_t* row = raw.data() + (rowBytes + 1) * y;
      if (!unfilterRow(row[0], row + 1, previous, rowBytes, pixelBytes)) return std::nullopt;
      previous = row + 1;
      uint8_t* out = image.pixels.data() + size_t{form->width} * 4 * y;
      if (form->alpha) {
        std::memcpy(out, row + 1, rowBytes);
        continue;
      }
      for (uint32_t x = 0; x < form->width; ++x, out += 4) {
        std::memcpy(out, row + 1 + 3 * size_t{x}, 3);
        out[3] = 255;
      }
    }
    return image;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace oz
