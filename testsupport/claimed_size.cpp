#include "testsupport/claimed_size.h"

#include <zlib.h>

namespace oz::testing {
namespace {

// The signature, then the header chunk: length, "IHDR", width, height, ...
constexpr size_t kHeaderType = 12;
constexpr size_t kHeaderData = 16;
constexpr size_t kHeaderDataBytes = 13;

void putBigEndian(std::string& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (24 - 8 * i));
}

}  // namespace

std::string withClaimedSize(std::string png, uint32_t width, uint32_t height) {
  if (png.size() < kHeaderData + kHeaderDataBytes + 4 || png.compare(kHeaderType, 4, "IHDR") != 0) {
    return png;
  }
  putBigEndian(png, kHeaderData, width);
  putBigEndian(png, kHeaderData + 4, height);
  const auto* checked = reinterpret_cast<const Bytef*>(png.data() + kHeaderType);
  putBigEndian(png, kHeaderData + kHeaderDataBytes,
               static_cast<uint32_t>(crc32(0, checked, 4 + kHeaderDataBytes)));
  return png;
}

}  // namespace oz::testing
