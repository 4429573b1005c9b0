#include "cli/progress_line.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace oz {
namespace {

using std::chrono::milliseconds;

class ProgressLineTest : public ::testing::Test {
 protected:
  ProgressLineTest() : out_(std::tmpfile()) {}
  ~ProgressLineTest() override { std::fclose(out_); }

  ProgressLine line(bool enabled) {
    return ProgressLine(out_, enabled, [this] { return now_; });
  }
  std::string written() {
    std::fflush(out_);
    std::rewind(out_);
    std::string text;
    for (int c; (c = std::fgetc(out_)) != EOF;) text += static_cast<char>(c);
    return text;
  }

  std::FILE* out_;
  std::chrono::steady_clock::time_point now_{};
};

TEST_F(ProgressLineTest, RewritesOneLineThenClearsIt) {
  ProgressLine progress = line(true);
  now_ += milliseconds(1001);
  progress.update({BuildPhase::Composing, 3, 8});
  now_ += milliseconds(10);
  progress.update({BuildPhase::Composing, 4, 8});        // too soon: skipped
  progress.update({BuildPhase::ReducingColours, 0, 0});  // a new phase shows at once
  now_ += milliseconds(100);
  progress.update({BuildPhase::Writing, 7, 64});
  progress.finish();
  EXPECT_EQ(written(),
            "\rComposing frame 3 of 8\x1b[K\rReducing colours\x1b[K\rWriting row 7 of 64\x1b[K"
            "\r\x1b[K");
}

TEST_F(ProgressLineTest, QuietForTheFirstSecondAndWhenNotATerminal) {
  for (bool terminal : {true, false}) {
    ProgressLine progress = line(terminal);
    now_ += milliseconds(terminal ? 1000 : 5000);
    progress.update({BuildPhase::LoadingFrames, 1, 2});
    progress.finish();
    EXPECT_EQ(written(), "") << terminal;
  }
}

}  // namespace
}  // namespace oz
