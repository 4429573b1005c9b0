#include "cli/watch_report.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "cli/run_cli.h"

namespace oz {
namespace {

// What was printed on a stream, read once it is closed.
class Printed {
 public:
  Printed() : stream_(open_memstream(&bytes_, &size_)) {}
  ~Printed() { std::free(bytes_); }
  std::FILE* stream() const { return stream_; }
  std::string text() {
    std::fclose(stream_);
    return std::string(bytes_, size_);
  }

 private:
  char* bytes_ = nullptr;
  size_t size_ = 0;
  std::FILE* stream_;
};

BuiltSheet sheetOf(size_t frames) {
  BuiltSheet sheet;
  sheet.frames.resize(frames);
  return sheet;
}

TEST(WatchReportTest, OneLineABuildAndAReasonOnceUntilItChanges) {
  Printed out;
  Printed err;
  WatchReport report(out.stream(), err.stream());
  CliBuildReport written;
  written.sheets = {sheetOf(1)};
  written.written = true;
  CliBuildReport refused;
  refused.status = kExitRefused;
  CliBuildReport unchanged;
  unchanged.sheets = {sheetOf(3), sheetOf(2)};

  report.print(written, "", "10:00:00", 0.254);
  report.print(refused, "Wait! One.\n", "10:00:01", 0.01);
  report.print(refused, "Wait! One.\n", "10:00:02", 0.01);
  report.print(refused, "Wait! Two.\n", "10:00:03", 0.01);
  report.print(unchanged, "A notice.\n", "10:00:04", 1.5);
  report.print(unchanged, "A notice.\n", "10:00:05", 1.5);
  // After a build that went through, the same reason is news again.
  report.print(refused, "Wait! Two.\n", "10:00:06", 0.01);
  // With an output on standard output, the lines go to standard error.
  written.reportOnStandardError = true;
  report.print(written, "", "10:00:07", 0.1);

  EXPECT_EQ(out.text(),
            "10:00:00 written: 1 frame, 0.25 s\n"
            "10:00:04 unchanged: 5 frames on 2 sheets, 1.50 s\n"
            "10:00:05 unchanged: 5 frames on 2 sheets, 1.50 s\n");
  EXPECT_EQ(err.text(),
            "10:00:01 waiting for the next change: Wait! One.\n"
            "10:00:03 waiting for the next change: Wait! Two.\n"
            "A notice.\n"
            "10:00:06 waiting for the next change: Wait! Two.\n"
            "10:00:07 written: 1 frame, 0.10 s\n");
}

}  // namespace
}  // namespace oz
