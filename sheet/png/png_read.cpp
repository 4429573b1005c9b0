// Frame decoding. Frames of the common form are decoded without libpng
// (png_common_decode.h); every other file goes through libpng, which reports
// errors by longjmp, so every libpng call sits in a small function of its own
// that holds nothing with a destructor between its setjmp and the calls that
// may jump back to it.
#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <new>

#include "sheet/png/png_read.h"

#include <vector>

#include "sheet/png/png_common_decode.h"

namespace oz {
namespace {

constexpr size_t kSignatureBytes = 8;

// Files up to this size are read whole for the common form's decoder; a frame
// is far smaller, and a larger file goes to libpng, which reads as it goes.
constexpr off_t kMostCommonFormBytes = off_t{16} << 20;

// The most bytes one compressed byte can inflate to: deflate's longest match,
// 258 bytes, costs at least 2 bits (a 1-bit length code and a 1-bit distance
// code), so 258 x 8 / 2.
constexpr uint64_t kMostInflatedPerByte = 1032;

// A corrupt frame is an ordinary outcome (it becomes a 0 x 0 frame), so libpng's
// messages are not printed.
[[noreturn]] void jumpOnError(png_structp png, png_const_charp /*message*/) { png_longjmp(png, 1); }
void ignoreWarning(png_structp /*png*/, png_const_charp /*message*/) {}

// After the last row, a frame's image data ends and its checksum follows within
// a few bytes in any encoder's file. More than this after the last row is data
// no pixel needs, which libpng would otherwise inflate to its very end, however
// long that takes.
constexpr size_t kMostReadAfterRows = 4096;

// Where libpng's reads come from, and how much was read after the last row.
struct FrameSource {
  FILE* file = nullptr;
  uint32_t height = 0;
  bool readingRows = false;
  size_t readAfterRows = 0;
  bool stoppedAfterRows = false;
};

void readFrameBytes(png_structp png, png_bytep data, size_t length) {
  auto* source = static_cast<FrameSource*>(png_get_io_ptr(png));
  // The last row of the last pass moves libpng past the image (pass 7 of an
  // interlaced one, the row after the last of any other).
  if (source->readingRows && (png_get_current_pass_number(png) >= 7 ||
                              png_get_current_row_number(png) >= source->height)) {
    source->readAfterRows += length;
    if (source->readAfterRows > kMostReadAfterRows) {
      source->stoppedAfterRows = true;
      png_error(png, "every row is read");
    }
  }
  if (std::fread(data, 1, length, source->file) != length) png_error(png, "read error");
}

bool readHeader(png_structp png, png_infop info, FrameSource* source) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, source, readFrameBytes);
  png_set_sig_bytes(png, kSignatureBytes);
  png_read_info(png, info);
  return true;
}

// Asks libpng for 8-bit RGBA rows whatever the file holds. Sample values are
// taken as stored: no gamma, background or colour-management transformation.
bool requestRgba(png_structp png, png_infop info, int* passes) {
  if (setjmp(png_jmpbuf(png))) return false;
  const int colorType = png_get_color_type(png, info);
  const bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  if (hasTrns) png_set_tRNS_to_alpha(png);
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_expand_gray_1_2_4_to_8(png);
    png_set_gray_to_rgb(png);
  }
  if (png_get_bit_depth(png, info) == 16) png_set_strip_16(png);
  if ((colorType & PNG_COLOR_MASK_ALPHA) == 0 && !hasTrns) {
    png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
  }
  *passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return png_get_bit_depth(png, info) == 8 && png_get_channels(png, info) == 4 &&
         png_get_rowbytes(png, info) == static_cast<size_t>(png_get_image_width(png, info)) * 4;
}

bool readRows(png_structp png, FrameSource* source, uint8_t* pixels, uint32_t width,
              uint32_t height, int passes) {
  if (setjmp(png_jmpbuf(png))) return source->stoppedAfterRows;
  source->height = height;
  source->readingRows = true;
  const size_t stride = static_cast<size_t>(width) * 4;
  for (int pass = 0; pass < passes; ++pass) {
    for (uint32_t y = 0; y < height; ++y) png_read_row(png, pixels + y * stride, nullptr);
  }
  return true;
}

// Whether `compressedBytes` can inflate to the rows the header declares. Each
// row takes at least width x bits per pixel / 8 bytes, rounded down, whether
// or not the image is interlaced; libpng fails on image data that ends early,
// so a file that cannot hold its rows never decodes.
bool canHoldRows(png_structp png, png_infop info, uint64_t compressedBytes) {
  const uint64_t bitsPerPixel =
      uint64_t{png_get_bit_depth(png, info)} * png_get_channels(png, info);
  const uint64_t rowBytes = uint64_t{png_get_image_width(png, info)} * bitsPerPixel / 8;
  const uint64_t most =
      std::min(compressedBytes, UINT64_MAX / kMostInflatedPerByte) * kMostInflatedPerByte;
  return rowBytes == 0 || png_get_image_height(png, info) <= most / rowBytes;
}

// One open PNG file with its libpng read structures, header read.
class PngFile {
 public:
  PngFile() = default;
  PngFile(const PngFile&) = delete;
  PngFile& operator=(const PngFile&) = delete;
  ~PngFile() {
    if (png_ != nullptr)
      png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr);
    if (file_ != nullptr) std::fclose(file_);
  }

  // Opens `path`, checks the signature, reads every chunk before the pixels and
  // measures what is left of the file for them.
  // Only regular files are read: a FIFO or a device named like a frame would
  // otherwise block the build or never end.
  bool open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || (file_ = fdopen(fd, "rb")) == nullptr) {
      close(fd);
      return false;
    }
    png_byte signature[kSignatureBytes];
    if (std::fread(signature, 1, kSignatureBytes, file_) != kSignatureBytes ||
        png_sig_cmp(signature, 0, kSignatureBytes) != 0) {
      return false;
    }
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpOnError, ignoreWarning);
    if (png_ == nullptr) return false;
    // Only IHDR, PLTE, tRNS, IDAT and IEND shape the pixels; every other chunk
    // is skipped unread. libpng would otherwise make room for a chunk such as
    // sPLT at the length its header gives, up to 2 GB, however short the file.
    png_set_keep_unknown_chunks(png_, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    info_ = png_create_info_struct(png_);
    source_.file = file_;
    if (info_ == nullptr || !readHeader(png_, info_, &source_)) return false;
    // What follows the chunks read so far is all the image data can be.
    const long position = std::ftell(file_);
    struct stat now {};
    holdsRows_ = position >= 0 && fstat(fileno(file_), &now) == 0 && position <= now.st_size &&
                 canHoldRows(png_, info_, static_cast<uint64_t>(now.st_size - position));
    return true;
  }

  png_structp png() const { return png_; }
  png_infop info() const { return info_; }
  FrameSource* source() { return &source_; }
  // False when the rest of the file is too short for the pixels the header
  // declares, however well they compress.
  bool holdsRows() const { return holdsRows_; }

 private:
  FILE* file_ = nullptr;
  FrameSource source_;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
  bool holdsRows_ = false;
};

// The bytes of the regular file at `path`, when it has at most
// kMostCommonFormBytes. Opened as PngFile opens, so a FIFO or device is never
// waited on.
std::optional<std::vector<uint8_t>> readSmallFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::optional<std::vector<uint8_t>> bytes;
  struct stat info {};
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= kMostCommonFormBytes) {
    bytes.emplace(static_cast<size_t>(info.st_size));
    size_t got = 0;
    while (got < bytes->size()) {
      const ssize_t n = ::read(fd, bytes->data() + got, bytes->size() - got);
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
    if (got != bytes->size()) bytes.reset();
  }
  close(fd);
  return bytes;
}

}  // namespace

std::optional<PngSize> readPngSize(const std::string& path) {
  PngFile file;
  if (!file.open(path)) return std::nullopt;
  return PngSize{png_get_image_width(file.png(), file.info()),
                 png_get_image_height(file.png(), file.info()), !file.holdsRows()};
}

std::optional<RgbaImage> decodePng(const std::string& path) {
  if (const std::optional<std::vector<uint8_t>> bytes = readSmallFile(path)) {
    if (std::optional<RgbaImage> image = decodeCommonPng(*bytes)) return image;
  }
  return decodePngWithLibpng(path);
}

std::optional<RgbaImage> decodePngWithLibpng(const std::string& path) {
  PngFile file;
  int passes = 0;
  // Pixels the file cannot hold are refused before memory is set aside for them.
  if (!file.open(path) || !file.holdsRows() || !requestRgba(file.png(), file.info(), &passes)) {
    return std::nullopt;
  }
  const uint32_t width = png_get_image_width(file.png(), file.info());
  const uint32_t height = png_get_image_height(file.png(), file.info());
  RgbaImage image;
  image.width = static_cast<int32_t>(width);
  image.height = static_cast<int32_t>(height);
  try {
    image.pixels.resize(static_cast<size_t>(width) * height * 4);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  if (!readRows(file.png(), file.source(), image.pixels.data(), width, height, passes)) {
    return std::nullopt;
  }
  return image;
}

}  // namespace oz
