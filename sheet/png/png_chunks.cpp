#include "sheet/png/png_chunks.h"

#include <libdeflate.h>

#include <algorithm>
#include <array>

namespace oz {
namespace {

// IDAT chunks of at most this many bytes: any size is valid, and 1 MiB keeps
// the per-chunk overhead negligible without one huge chunk.
constexpr size_t kIdatBytes = size_t{1} << 20;

void putBigEndian(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value >> 24);
  at[1] = static_cast<uint8_t>(value >> 16);
  at[2] = static_cast<uint8_t>(value >> 8);
  at[3] = static_cast<uint8_t>(value);
}

// Length, type, data and the CRC over type and data.
bool writeChunk(FILE* file, const char (&type)[5], std::span<const uint8_t> data) {
  std::array<uint8_t, 8> head{};
  putBigEndian(head.data(), static_cast<uint32_t>(data.size()));
  std::copy(type, type + 4, head.begin() + 4);
  uint32_t crc = libdeflate_crc32(0, head.data() + 4, 4);
  // libdeflate takes a null buffer (an empty span's) as a request for the initial value.
  if (!data.empty()) crc = libdeflate_crc32(crc, data.data(), data.size());
  std::array<uint8_t, 4> tail{};
  putBigEndian(tail.data(), crc);
  return std::fwrite(head.data(), 1, head.size(), file) == head.size() &&
         (data.empty() || std::fwrite(data.data(), 1, data.size(), file) == data.size()) &&
         std::fwrite(tail.data(), 1, tail.size(), file) == tail.size();
}

}  // namespace

bool writePngChunks(FILE* file, const PngHeader& header, std::span<const uint8_t> palette,
                    std::span<const uint8_t> transparency,
                    std::span<const std::span<const uint8_t>> imageData) {
  static constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (std::fwrite(kSignature, 1, sizeof kSignature, file) != sizeof kSignature) return false;
  // Compression method 0, filter method 0, no interlace.
  std::array<uint8_t, 13> ihdr{};
  putBigEndian(ihdr.data(), header.width);
  putBigEndian(ihdr.data() + 4, header.height);
  ihdr[8] = header.bitDepth;
  ihdr[9] = static_cast<uint8_t>(header.colorType);
  if (!writeChunk(file, "IHDR", ihdr)) return false;
  if (!palette.empty() && !writeChunk(file, "PLTE", palette)) return false;
  if (!transparency.empty() && !writeChunk(file, "tRNS", transparency)) return false;
  for (std::span<const uint8_t> part : imageData) {
    while (!part.empty()) {
      const size_t size = std::min(part.size(), kIdatBytes);
      if (!writeChunk(file, "IDAT", part.first(size))) return false;
      part = part.subspan(size);
    }
  }
  return writeChunk(file, "IEND", {});
}

}  // namespace oz
