// How much memory frames that lie about their size cost. This binary counts
// every byte allocated through operator new, so it is kept apart from the
// other sheet tests.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <optional>

#include "sheet/build_sheet.h"
#include "sheet/png_io.h"
#include "sheet/test_fixtures.h"
#include "testsupport/claimed_size.h"
#include "testsupport/temp_dir.h"

namespace {

std::atomic<size_t> allocatedBytes{0};

}  // namespace

void* operator new(size_t size) {
  allocatedBytes += size;
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t /*size*/) noexcept { std::free(block); }

namespace oz {
namespace {

// Bytes allocated through operator new while `work` runs.
template <typename Work>
size_t bytesAllocatedBy(Work work) {
  const size_t before = allocatedBytes;
  work();
  return allocatedBytes - before;
}

constexpr size_t kMegabyte = 1 << 20;

TEST(FrameMemoryTest, FramesTooShortForTheirHeadersCostNoMoreThanTheirFiles) {
  testing::ScopedTempDir dir;
  const std::string folder = dir.path() + "frames/";
  ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
  testing::writeFrame(dir.path() + "tiny.png", testing::solidImage(1, 1, {1, 2, 3, 255}));
  // 8192 x 8192 by its header: 256 MB as RGBA.
  const std::string lie =
      testing::withClaimedSize(testing::readFile(dir.path() + "tiny.png"), 8192, 8192);
  for (int i = 1; i <= 50; ++i) {
    testing::writeFile(folder + "f" + std::to_string(i) + ".png", lie);
  }

  std::optional<RgbaImage> image;
  EXPECT_LT(bytesAllocatedBy([&] { image = decodePng(folder + "f1.png"); }), kMegabyte);
  EXPECT_FALSE(image);
  for (const bool strip : {false, true}) {
    SCOPED_TRACE(strip ? "strip" : "sheet");
    BuildOptions options;
    options.savePath = dir.path() + "sheet.png";
    options.imageFolder = folder;
    options.strip = strip;
    BuildOutcome outcome;
    EXPECT_LT(bytesAllocatedBy([&] { outcome = buildSheet(options); }), kMegabyte);
    ASSERT_TRUE(std::holds_alternative<BuildRefusal>(outcome));
    EXPECT_EQ(std::get<BuildRefusal>(outcome).text,
              "No png images were found in the image folder!");
  }
}

}  // namespace
}  // namespace oz
