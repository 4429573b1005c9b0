// Sheet encoding. As in reading, the libpng calls that may longjmp live in a
// function that holds nothing with a destructor; everything that must be
// released is owned by the caller.
#include <png.h>

#include <csetjmp>
#include <memory>
#include <new>
#include <vector>

#include "base/atomic_file.h"
#include "sheet/png_io.h"
#include "sheet/quantiser/reduction.h"

namespace oz {
namespace {

[[noreturn]] void jumpOnError(png_structp png, png_const_charp /*message*/) { png_longjmp(png, 1); }
void ignoreWarning(png_structp /*png*/, png_const_charp /*message*/) {}

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

// Hands out the rows of one output form, top row first.
class RowSource {
 public:
  RowSource(const RgbaImage& image, int32_t bits, Reduction* reduction)
      : image_(image), bits_(bits), reduction_(reduction) {
    if (bits == 24) flatRow_.resize(static_cast<size_t>(image.width) * 3);
  }

  const uint8_t* row(int32_t y) {
    const uint8_t* rgba = image_.pixel(0, y);
    if (bits_ == 32) return rgba;
    if (bits_ == 24) {
      flattenOntoWhite(rgba, image_.width, flatRow_.data());
      return flatRow_.data();
    }
    return reduction_->row(y).data();
  }

 private:
  const RgbaImage& image_;
  int32_t bits_;
  Reduction* reduction_;          // palette forms only
  std::vector<uint8_t> flatRow_;  // 24 bits: one row laid over white
};

struct Header {
  int32_t width;
  int32_t height;
  int bitDepth;
  int colorType;
  const png_color* palette;  // palette forms only
  int paletteSize;
};

bool writeImage(png_structp png, png_infop info, FILE* file, const Header& header, RowSource& rows,
                const RowsWritten& rowsWritten) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  png_set_filter(png, 0, PNG_FILTER_NONE);
  png_set_compression_level(png, 9);
  png_set_IHDR(png, info, static_cast<png_uint_32>(header.width),
               static_cast<png_uint_32>(header.height), header.bitDepth, header.colorType,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (header.palette != nullptr) png_set_PLTE(png, info, header.palette, header.paletteSize);
  png_write_info(png, info);
  for (int32_t y = 0; y < header.height; ++y) {
    png_write_row(png, rows.row(y));
    if (rowsWritten) rowsWritten(y + 1);
  }
  png_write_end(png, info);
  return true;
}

struct WriteStructs {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~WriteStructs() { png_destroy_write_struct(&png, info != nullptr ? &info : nullptr); }
};

}  // namespace

PngWriteStatus encodePng(const RgbaImage& image, const std::string& path, int32_t bits,
                         int32_t ditherFlag, const RowsWritten& rowsWritten) {
  if (path.empty()) return PngWriteStatus::kEmptyPath;
  if (image.width <= 0 || image.height <= 0 || !isSupportedBits(bits) ||
      image.pixels.size() != static_cast<size_t>(image.width) * image.height * 4) {
    return PngWriteStatus::kBadImage;
  }

  Header header{image.width, image.height, 8, PNG_COLOR_TYPE_RGBA, nullptr, 0};
  std::vector<uint8_t> opaque;  // palette forms: the whole image laid over white
  std::unique_ptr<Reduction> reduction;
  std::vector<png_color> palette;
  if (bits == 24) header.colorType = PNG_COLOR_TYPE_RGB;
  if (bits <= 8) {
    // Rows of the opaque copy start on 4-byte boundaries, as the reduction expects.
    const size_t stride = (static_cast<size_t>(image.width) * 3 + 3) & ~size_t{3};
    try {
      opaque.resize(stride * static_cast<size_t>(image.height));
    } catch (const std::bad_alloc&) {
      return PngWriteStatus::kOutOfMemory;
    }
    for (int32_t y = 0; y < image.height; ++y) {
      flattenOntoWhite(image.pixel(0, y), image.width, opaque.data() + stride * y);
    }
    reduction = Reduction::open(opaque.data(), image.width, image.height, stride, bits, ditherFlag);
    if (reduction == nullptr || reduction->palette().size() != (size_t{1} << bits)) {
      return PngWriteStatus::kNoReduction;
    }
    for (const PaletteColour& c : reduction->palette()) palette.push_back({c.red, c.green, c.blue});
    header.bitDepth = bits;
    header.colorType = PNG_COLOR_TYPE_PALETTE;
    header.palette = palette.data();
    header.paletteSize = static_cast<int>(palette.size());
  }
  RowSource rows(image, bits, reduction.get());

  AtomicFile file;
  if (!file.open(path)) return PngWriteStatus::kCannotCreate;
  {
    WriteStructs structs;
    structs.png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpOnError, ignoreWarning);
    if (structs.png == nullptr) return PngWriteStatus::kOutOfMemory;
    structs.info = png_create_info_struct(structs.png);
    if (structs.info == nullptr) return PngWriteStatus::kOutOfMemory;
    if (!writeImage(structs.png, structs.info, file.stream(), header, rows, rowsWritten)) {
      return PngWriteStatus::kEncodingFailed;
    }
  }
  return file.commit() ? PngWriteStatus::kWritten : PngWriteStatus::kCannotReplace;
}

}  // namespace oz
