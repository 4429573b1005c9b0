#include "base/parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace oz {
namespace {

TEST(ForEachTaskTest, RunsEveryTaskOnceWhateverTheThreads) {
  const std::thread::id caller = std::this_thread::get_id();
  for (size_t threads : {size_t{0}, size_t{1}, size_t{3}, size_t{64}}) {
    for (size_t count : {size_t{0}, size_t{1}, size_t{500}}) {
      SCOPED_TRACE(testing::Message() << threads << " threads, " << count << " tasks");
      std::vector<std::atomic<int>> runs(count);
      std::atomic<size_t> onCaller{0};
      EXPECT_TRUE(forEachTask(count, threads, [&](size_t i, bool onCallingThread) {
        ++runs[i];
        if (onCallingThread) {
          EXPECT_EQ(std::this_thread::get_id(), caller);
          ++onCaller;
        }
        return true;
      }));
      for (size_t i = 0; i < count; ++i) EXPECT_EQ(runs[i], 1) << i;
      if (threads <= 1) {
        EXPECT_EQ(onCaller, count);
      }
    }
  }
}

TEST(ForEachTaskTest, TwoThreadsRunTogether) {
  // Each of the first two tasks waits for the other to start: run one after
  // the other, the first would wait out its time.
  std::atomic<int> started{0};
  EXPECT_TRUE(forEachTask(2, 2, [&](size_t, bool) {
    ++started;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (started < 2 && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    return started == 2;
  }));
}

TEST(ForEachTaskTest, AFailedOrThrowingTaskStopsTheRest) {
  std::vector<size_t> ran;
  EXPECT_FALSE(forEachTask(10, 1, [&](size_t i, bool) {
    ran.push_back(i);
    return i != 3;
  }));
  EXPECT_EQ(ran, (std::vector<size_t>{0, 1, 2, 3}));

  for (size_t threads : {size_t{1}, size_t{4}}) {
    std::atomic<size_t> started{0};
    EXPECT_THROW(forEachTask(1000, threads,
                             [&](size_t i, bool) {
                               ++started;
                               if (i == 3) throw std::runtime_error("task 3");
                               std::this_thread::sleep_for(std::chrono::microseconds(200));
                               return true;
                             }),
                 std::runtime_error);
    EXPECT_LT(started, 1000u) << threads << " threads";
  }
}

}  // namespace
}  // namespace oz
