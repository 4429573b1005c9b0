// Helpers shared by the sheet tests: images, frame files and a look inside the
// chunks and rows of a PNG file.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "sheet/png/rgba_image.h"

namespace oz::testing {

using Rgba = std::array<uint8_t, 4>;

RgbaImage solidImage(int32_t width, int32_t height, Rgba colour);
// A small sprite sheet: shaded discs with soft edges and a little texture on
// transparency, in 16 x 16 cells. Integer arithmetic only, so it is the same
// everywhere.
RgbaImage spriteSheetImage(int32_t width, int32_t height);
Rgba pixelAt(const RgbaImage& image, int32_t x, int32_t y);

// A small image drawn as text: one string per row, one letter per pixel, each
// letter's colour from `colours`.
using Colours = std::map<char, Rgba>;
RgbaImage paintedImage(const std::vector<std::string>& rows, const Colours& colours);
// The other way round, for comparisons that read as pictures: a colour not in
// `colours` shows as '?'.
std::vector<std::string> paintedRows(const RgbaImage& image, const Colours& colours);

// Writes `image` as an RGBA PNG at `path` (a test failure if that fails).
void writeFrame(const std::string& path, const RgbaImage& image);

struct PngChunk {
  std::string type;
  std::string data;
};
// One chunk of a PNG file: length, type, data and a CRC, which is made wrong
// on request.
std::string chunk(std::string_view type, std::string_view data, bool goodCrc = true);
// The chunks of a PNG file's bytes, in file order (empty when the signature is wrong).
std::vector<PngChunk> readChunks(const std::string& fileBytes);
// True when every chunk of a PNG file's bytes carries the CRC of its type and data.
bool chunkCrcsMatch(const std::string& fileBytes);
// The concatenated IDAT data of `chunks`, inflated.
std::string inflateImageData(const std::vector<PngChunk>& chunks);
// Undoes PNG filter type `filter` on `row` in place, by the PNG format's own
// rules: `previous` is the unfiltered row above (zeros above the first), `step`
// the bytes of a whole pixel, at least 1.
void unfilterRow(int filter, uint8_t* row, const uint8_t* previous, size_t rowBytes, size_t step);

}  // namespace oz::testing
