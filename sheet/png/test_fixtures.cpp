#include "sheet/png/test_fixtures.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>

#include "sheet/png/png_write.h"

namespace oz::testing {

RgbaImage solidImage(int32_t width, int32_t height, Rgba colour) {
  RgbaImage image{width, height, {}};
  image.pixels.reserve(static_cast<size_t>(width) * height * 4);
  for (int64_t i = 0; i < int64_t{width} * height; ++i) {
    image.pixels.insert(image.pixels.end(), colour.begin(), colour.end());
  }
  return image;
}

RgbaImage spriteSheetImage(int32_t width, int32_t height) {
  RgbaImage image = solidImage(width, height, {0, 0, 0, 0});
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const int32_t cell = x / 16 + y / 16 * 7;
      const int32_t dx = x % 16 - 8 + cell % 3;
      const int32_t dy = y % 16 - 8 + cell % 2;
      const int32_t d2 = dx * dx + dy * dy;  // 0 at the centre, 36 at the edge
      if (d2 > 42) continue;
      uint8_t* p = image.pixel(x, y);
      const int32_t light = 255 - d2 * 4;
      p[0] = static_cast<uint8_t>(light * (40 + cell * 23 % 200) / 255 + (x * 7 + y * 13) % 5);
      p[1] = static_cast<uint8_t>(light * (90 + cell * 41 % 160) / 255);
      p[2] = static_cast<uint8_t>(light * (30 + cell * 67 % 220) / 255);
      p[3] = static_cast<uint8_t>(d2 <= 36 ? 255 : 255 - (d2 - 36) * 40);
    }
  }
  return image;
}

Rgba pixelAt(const RgbaImage& image, int32_t x, int32_t y) {
  const uint8_t* p = image.pixel(x, y);
  return {p[0], p[1], p[2], p[3]};
}

RgbaImage paintedImage(const std::vector<std::string>& rows, const Colours& colours) {
  RgbaImage image = solidImage(static_cast<int32_t>(rows.at(0).size()),
                               static_cast<int32_t>(rows.size()), {0, 0, 0, 0});
  for (int32_t y = 0; y < image.height; ++y) {
    for (int32_t x = 0; x < image.width; ++x) {
      const Rgba colour = colours.at(rows[static_cast<size_t>(y)].at(static_cast<size_t>(x)));
      std::copy(colour.begin(), colour.end(), image.pixel(x, y));
    }
  }
  return image;
}

std::vector<std::string> paintedRows(const RgbaImage& image, const Colours& colours) {
  std::vector<std::string> rows;
  for (int32_t y = 0; y < image.height; ++y) {
    std::string row;
    for (int32_t x = 0; x < image.width; ++x) {
      const auto found = std::find_if(colours.begin(), colours.end(), [&](const auto& entry) {
        return entry.second == pixelAt(image, x, y);
      });
      row += found == colours.end() ? '?' : found->first;
    }
    rows.push_back(row);
  }
  return rows;
}

void writeFrame(const std::string& path, const RgbaImage& image) {
  ASSERT_EQ(encodePng(image, path), PngWriteStatus::Written) << path;
}

std::string chunk(std::string_view type, std::string_view data, bool goodCrc) {
  std::string bytes;
  for (int shift = 24; shift >= 0; shift -= 8)
    bytes += static_cast<char>((data.size() >> shift) & 0xff);
  bytes.append(type).append(data);
  uint32_t crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + 4),
                                             static_cast<uInt>(bytes.size() - 4)));
  if (!goodCrc) crc ^= 1;
  for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>((crc >> shift) & 0xff);
  return bytes;
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

bool chunkCrcsMatch(const std::string& bytes) {
  size_t at = 8;
  const auto word = [&](size_t i) {
    uint32_t value = 0;
    for (size_t k = 0; k < 4; ++k) value = value << 8 | static_cast<uint8_t>(bytes[i + k]);
    return value;
  };
  while (at + 12 <= bytes.size()) {
    const uint32_t length = word(at);
    if (at + 12 + length > bytes.size()) return false;
    const auto* typeAndData = reinterpret_cast<const Bytef*>(bytes.data() + at + 4);
    if (crc32(0, typeAndData, length + 4) != word(at + 8 + length)) return false;
    at += 12 + length;
  }
  return at == bytes.size();
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

namespace {

int paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

}  // namespace

void unfilterRow(int filter, uint8_t* row, const uint8_t* previous, size_t rowBytes, size_t step) {
  for (size_t i = 0; i < rowBytes; ++i) {
    const int a = i >= step ? row[i - step] : 0;
    const int b = previous[i];
    const int c = i >= step ? previous[i - step] : 0;
    const int predictor[] = {0, a, b, (a + b) / 2, paeth(a, b, c)};
    row[i] = static_cast<uint8_t>(row[i] + predictor[filter]);
  }
}

}  // namespace oz::testing
