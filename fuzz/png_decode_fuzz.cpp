// Feeds arbitrary bytes to the frame decoder as a file, checking that nothing
// crashes, that a decoded image is whole, that the size read from the header
// alone agrees with the decode (a file whose header is refused, or which is
// found too short for its pixels, never decodes), and that the decoder gives
// exactly what libpng alone gives: the common form's own decoder changes
// nothing but the time.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "sheet/png/png_read.h"

namespace {

// One in-memory file for every input, named through /proc so that the decoder
// opens it by path as it opens a frame.
struct MemoryFile {
  MemoryFile() : fd(memfd_create("frame.png", 0)), path("/proc/self/fd/" + std::to_string(fd)) {
    if (fd < 0) std::abort();
  }
  void fill(const std::uint8_t* data, size_t size) const {
    if (ftruncate(fd, 0) != 0) std::abort();
    size_t done = 0;
    while (done < size) {
      const ssize_t written = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
      if (written <= 0) std::abort();
      done += static_cast<size_t>(written);
    }
  }
  int fd;
  std::string path;
};

// libpng is not built with coverage instrumentation, so by the decoder's own
// few branches the fuzzer would keep few of its seeds and learn little from
// its mutations. These counters, which libFuzzer reads as coverage, tell it
// what kind of file each input is: its chunks in order, its header's fields,
// and how far it got.
__attribute__((used, section("__libfuzzer_extra_counters"))) std::uint8_t fileKinds[4096];

void count(std::string_view feature) {
  std::uint32_t hash = 2166136261u;
  for (const char c : feature) hash = (hash ^ static_cast<std::uint8_t>(c)) * 16777619u;
  ++fileKinds[hash % sizeof fileKinds];
}

// The header's bit depth, colour type and interlace method ("" without a
// header), after counting each chunk type with the one before it.
std::string countChunks(std::string_view bytes) {
  std::string header;
  std::string_view previous = "sig";
  for (size_t at = 8; at + 8 <= bytes.size();) {
    const auto byte = [&](size_t i) { return std::uint32_t{static_cast<std::uint8_t>(bytes[i])}; };
    const std::uint32_t length =
        byte(at) << 24 | byte(at + 1) << 16 | byte(at + 2) << 8 | byte(at + 3);
    const std::string_view type = bytes.substr(at + 4, 4);
    count(std::string(previous) + std::string(type));
    if (type == "IHDR" && length == 13 && at + 8 + 13 <= bytes.size()) {
      header = {bytes[at + 16], bytes[at + 17], bytes[at + 20]};
    }
    previous = type;
    if (length > bytes.size() - at - 8) break;
    at += 12 + size_t{length};
  }
  return header;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  static const MemoryFile file;
  file.fill(data, size);
  const std::optional<oz::PngSize> header = oz::readPngSize(file.path);
  const std::optional<oz::RgbaImage> image = oz::decodePng(file.path);
  const std::optional<oz::RgbaImage> libpngs = oz::decodePngWithLibpng(file.path);
  if (image.has_value() != libpngs.has_value()) std::abort();
  if (image && (image->width != libpngs->width || image->height != libpngs->height ||
                image->pixels != libpngs->pixels)) {
    std::abort();
  }
  const char stage = image ? 'd' : !header ? 'n' : header->tooShort ? 's' : 'h';
  count(countChunks(std::string_view(reinterpret_cast<const char*>(data), size)) + stage);
  if (!image) return 0;
  if (image->width <= 0 || image->height <= 0 ||
      image->pixels.size() != static_cast<size_t>(image->width) * image->height * 4) {
    std::abort();
  }
  if (!header || header->tooShort || header->width != image->width ||
      header->height != image->height) {
    std::abort();
  }
  return 0;
}
