#include "sheet/png/png_read.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>

#include "sheet/png/png_chunks.h"
#include "sheet/png/test_fixtures.h"
#include "testsupport/claimed_size.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

using testing::pixelAt;
using testing::Rgba;
using testing::solidImage;

class PngReadTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return dir_.path() + name; }

  testing::ScopedTempDir dir_;
};

// The bytes of a 1-bit grey PNG, every pixel black, its rows deflated at level
// 9: about as close to deflate's best ratio as a real file comes.
std::string blackOneBitPng(uint32_t width, uint32_t height) {
  const std::string rows((width + 7) / 8 * height + height, '\0');
  std::vector<uint8_t> deflated(compressBound(rows.size()));
  uLongf size = deflated.size();
  compress2(deflated.data(), &size, reinterpret_cast<const Bytef*>(rows.data()), rows.size(), 9);
  char* bytes = nullptr;
  size_t length = 0;
  FILE* file = open_memstream(&bytes, &length);
  const std::span<const uint8_t> imageData[] = {std::span(deflated.data(), size)};
  EXPECT_TRUE(writePngChunks(file, {width, height, 1, PngColorType::Grey}, {}, {}, imageData));
  std::fclose(file);
  std::string png(bytes, length);
  std::free(bytes);
  return png;
}

// A header may claim any size; a file too short for that many pixels, even at
// deflate's best ratio, is known never to decode before its pixels are read.
TEST_F(PngReadTest, FileTooShortForItsClaimedSizeIsFoundWithoutDecoding) {
  testing::writeFrame(path("1x1.png"), solidImage(1, 1, {1, 2, 3, 4}));
  const std::string tiny = testing::readFile(path("1x1.png"));
  struct Case {
    std::string name;
    std::string bytes;
    PngSize size;
    std::optional<bool> decodes;  // not tried when the image is too large for a test
  };
  const Case cases[] = {
      {"true.png", tiny, {1, 1, false}, true},
      {"claims_8192.png", testing::withClaimedSize(tiny, 8192, 8192), {8192, 8192, true}, false},
      {"claims_1x1000.png", testing::withClaimedSize(tiny, 1, 1000), {1, 1000, false}, false},
      {"claims_1x100000.png", testing::withClaimedSize(tiny, 1, 100000), {1, 100000, true}, false},
      {"claims_100000x1.png", testing::withClaimedSize(tiny, 100000, 1), {100000, 1, true}, false},
      // Files at the edge of the ratio are not mistaken for short ones.
      {"black_1024.png", blackOneBitPng(1024, 1024), {1024, 1024, false}, true},
      {"black_8192.png", blackOneBitPng(8192, 8192), {8192, 8192, false}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::writeFile(path(c.name), c.bytes);
    EXPECT_EQ(readPngSize(path(c.name)), c.size);
    if (!c.decodes) continue;
    const std::optional<RgbaImage> image = decodePng(path(c.name));
    EXPECT_EQ(image.has_value(), *c.decodes);
    if (image && c.name.starts_with("black")) {
      EXPECT_EQ(pixelAt(*image, 1023, 1023), (Rgba{0, 0, 0, 255}));
    }
  }
}

}  // namespace
}  // namespace oz
