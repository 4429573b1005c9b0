// How much memory frames that lie about their size cost.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

#include "sheet/build_sheet.h"
#include "sheet/png/png_read.h"
#include "sheet/png/test_fixtures.h"
#include "testsupport/claimed_size.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

// The largest the address space of this process has been, in kilobytes.
long peakKilobytes() {
  FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return -1;
  long peak = -1;
  char line[256];
  while (std::fgets(line, sizeof line, status) != nullptr) {
    if (std::sscanf(line, "VmPeak: %ld kB", &peak) == 1) break;
  }
  std::fclose(status);
  return peak;
}

struct ChildRun {
  bool succeeded = false;    // `work` returned true
  long grownKilobytes = -1;  // -1 when the child could not tell
};

// Runs `work` in a child process and measures how far the child's address
// space grows past the size it starts with: all the work holds at once,
// whoever allocates it (libpng allocates with malloc), touched or not.
ChildRun runInChild(const std::function<bool()>& work) {
  int channel[2];
  if (pipe(channel) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    const long before = peakKilobytes();
    const bool succeeded = work();
    const ChildRun run{succeeded, before < 0 ? -1 : peakKilobytes() - before};
    const bool sent = write(channel[1], &run, sizeof run) == sizeof run;
    _exit(sent ? 0 : 1);
  }
  close(channel[1]);
  ChildRun run;
  if (read(channel[0], &run, sizeof run) != sizeof run) run = {};
  close(channel[0]);
  waitpid(child, nullptr, 0);
  return run;
}

constexpr long kMostGrowthKilobytes = 64 * 1024;

class FrameMemoryTest : public ::testing::Test {
 protected:
  FrameMemoryTest() {
    testing::writeFrame(dir_.path() + "tiny.png", testing::solidImage(1, 1, {1, 2, 3, 255}));
    tiny_ = testing::readFile(dir_.path() + "tiny.png");
  }

  void expectSmallAndSuccessful(const std::function<bool()>& work) {
    const ChildRun run = runInChild(work);
    EXPECT_TRUE(run.succeeded);
    EXPECT_GE(run.grownKilobytes, 0);
    EXPECT_LT(run.grownKilobytes, kMostGrowthKilobytes);
  }

  testing::ScopedTempDir dir_;
  std::string tiny_;  // a 1 x 1 frame's file
};

TEST_F(FrameMemoryTest, FramesTooShortForTheirHeadersCostNoMoreThanTheirFiles) {
  const std::string folder = dir_.path() + "frames/";
  ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
  // 8192 x 8192 by its header: 256 MB as RGBA.
  const std::string lie = testing::withClaimedSize(tiny_, 8192, 8192);
  for (int i = 1; i <= 50; ++i) testing::writeFile(folder + "f" + std::to_string(i) + ".png", lie);

  expectSmallAndSuccessful([&] { return !decodePng(folder + "f1.png"); });
  for (const bool strip : {false, true}) {
    SCOPED_TRACE(strip ? "strip" : "sheet");
    expectSmallAndSuccessful([&] {
      BuildOptions options;
      options.savePath = dir_.path() + "sheet.png";
      options.imageFolder = folder;
      options.strip = strip;
      const BuildOutcome outcome = buildSheet(options);
      const auto* refusal = std::get_if<BuildRefusal>(&outcome);
      return refusal != nullptr && refusal->problem == BuildProblem::NoImages;
    });
  }
}

// A chunk the decoder has no use for, claiming 1 GB in a file of a few bytes.
TEST_F(FrameMemoryTest, ChunksThatLieAboutTheirLengthCostNothing) {
  const std::string hugeChunk("\x40\x00\x00\x00sPLTpalette\0", 16);
  std::string bytes = tiny_;
  bytes.insert(8 + 25, hugeChunk);  // after the signature and the header chunk
  testing::writeFile(dir_.path() + "chunk.png", bytes);
  expectSmallAndSuccessful([&] { return !decodePng(dir_.path() + "chunk.png"); });
}

}  // namespace
}  // namespace oz
