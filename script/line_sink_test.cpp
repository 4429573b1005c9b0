#include "script/line_sink.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace oz {
namespace {

// Failed writes are reported through the command line's full-disk, closed-pipe
// and full-device runs.
TEST(StreamLineSink, KeepsOrderAcrossBufferFlushesAndLongLines) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::tmpfile(), &std::fclose);
  ASSERT_NE(file, nullptr);
  std::string expected;
  {
    StreamLineSink sink(file.get(), "\n");
    for (int i = 0; i < 20000; ++i) {
      // Every length up to 300 bytes, and now and then a line longer than
      // the sink's buffer.
      const std::string line =
          i % 5000 == 7 ? std::string(100000, 'x') : std::to_string(i) + std::string(i % 300, 'a');
      sink.line(line);
      expected += line + "\n";
    }
    EXPECT_TRUE(sink.finish());
  }
  std::rewind(file.get());
  std::string got(expected.size() + 1, '\0');
  got.resize(std::fread(got.data(), 1, got.size(), file.get()));
  EXPECT_EQ(got, expected);
}

}  // namespace
}  // namespace oz
