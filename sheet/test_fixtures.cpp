#include "sheet/test_fixtures.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "sheet/png_io.h"

namespace oz::testing {

RgbaImage solidImage(int32_t width, int32_t height, Rgba colour) {
  RgbaImage image{width, height, {}};
  image.pixels.reserve(static_cast<size_t>(width) * height * 4);
  for (int64_t i = 0; i < int64_t{width} * height; ++i) {
    image.pixels.insert(image.pixels.end(), colour.begin(), colour.end());
  }
  return image;
}

Rgba pixelAt(const RgbaImage& image, int32_t x, int32_t y) {
  const uint8_t* p = image.pixel(x, y);
  return {p[0], p[1], p[2], p[3]};
}

void writeFrame(const std::string& path, const RgbaImage& image) {
  ASSERT_EQ(encodePng(image, path, 32, 0), PngWriteStatus::kWritten) << path;
}

std::vector<PngChunk> readChunks(const std::string& bytes) {
  std::vector<PngChunk> chunks;
  if (bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return chunks;
  size_t at = 8;
  while (at + 12 <= bytes.size()) {
    const auto byte = [&](size_t i) {
      return static_cast<uint32_t>(static_cast<uint8_t>(bytes[i]));
    };
    const uint32_t length = byte(at) << 24 | byte(at + 1) << 16 | byte(at + 2) << 8 | byte(at + 3);
    if (at + 12 + length > bytes.size()) break;
    chunks.push_back({bytes.substr(at + 4, 4), bytes.substr(at + 8, length)});
    at += 12 + length;
  }
  return chunks;
}

std::string inflateImageData(const std::vector<PngChunk>& chunks) {
  std::string compressed;
  for (const PngChunk& chunk : chunks) {
    if (chunk.type == "IDAT") compressed += chunk.data;
  }
  z_stream stream{};
  inflateInit(&stream);
  stream.next_in = reinterpret_cast<Bytef*>(compressed.data());
  stream.avail_in = static_cast<uInt>(compressed.size());
  std::string out;
  char buffer[65536];
  int status = Z_OK;
  while (status == Z_OK) {
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    status = inflate(&stream, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - stream.avail_out);
  }
  inflateEnd(&stream);
  EXPECT_EQ(status, Z_STREAM_END);
  return out;
}

}  // namespace oz::testing
