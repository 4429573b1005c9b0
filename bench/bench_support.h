// What the benchmarks share: processor-time clocks, running a program with
// its peak memory measured, and the deterministic sprite frames every frame
// set is made of, so that all benchmarks build the very same frames.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "sheet/layout/frame.h"
#include "sheet/png/rgba_image.h"

namespace oz::bench {

using Clock = std::chrono::steady_clock;

// Processor time of this process: the machine may be shared, and processor
// time is far less disturbed by other work than wall time.
inline double processSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct ProcessRun {
  double seconds = 0;  // processor time, user and system
  double wallSeconds = 0;
  long peakKilobytes = 0;
  int status = -1;
};

// Runs a program quietly and measures its processor and wall time and its peak
// resident memory.
inline ProcessRun runProcess(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  std::fflush(stdout);  // or the child would print our buffered lines again
  const auto start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  ProcessRun run;
  run.wallSeconds = std::chrono::duration<double>(Clock::now() - start).count();
  run.seconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  run.peakKilobytes = usage.ru_maxrss;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// The fastest of `runs` measurements.
inline double fastest(int runs, const std::function<double()>& once) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) best = std::min(best, once());
  return best;
}

// The next of a sequence of pseudo-random numbers (xorshift), the same on
// every machine for the same start.
inline uint32_t nextRandom(uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

// A sprite-like frame: a shaded disc that moves from frame to frame, a soft
// edge, a little texture, and transparency around it.
inline oz::RgbaImage makeFrame(int size, int index) {
  oz::RgbaImage image{size, size, std::vector<uint8_t>(static_cast<size_t>(size) * size * 4)};
  const double cx = size * (0.5 + 0.25 * std::sin(index * 0.37));
  const double cy = size * (0.5 + 0.25 * std::cos(index * 0.23));
  const double radius = size * 0.3;
  uint32_t noise = 2463534242u + static_cast<uint32_t>(index);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      noise ^= noise << 13;
      noise ^= noise >> 17;
      noise ^= noise << 5;
      const double d = std::hypot(x - cx, y - cy) / radius;
      if (d >= 1.1) continue;
      uint8_t* p = image.pixel(x, y);
      const double light = 1 - 0.6 * d;
      p[0] = static_cast<uint8_t>(200 * light + (noise & 15));
      p[1] = static_cast<uint8_t>(120 * light + (index * 7 & 63));
      p[2] = static_cast<uint8_t>(60 + 40 * light);
      p[3] = static_cast<uint8_t>(d < 1 ? 255 : 255 * (1.1 - d) / 0.1);
    }
  }
  return image;
}

// The fastest of RUNS, the benchmark's first argument (default 3), and where
// it makes its frame sets: FOLDER, its second argument, kept for profiling,
// or else a temporary folder `name`-XXXXXX, removed at the end. The path ends
// in "/"; it is empty when no temporary folder could be made.
class BenchArguments {
 public:
  BenchArguments(int argc, char** argv, const std::string& name)
      : runs_(argc > 1 ? std::max(1, std::atoi(argv[1])) : 3), keep_(argc > 2) {
    if (keep_) {
      path_ = std::string(argv[2]) + "/";
      return;
    }
    std::string pattern = "/tmp/" + name + "-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern + "/";
  }
  ~BenchArguments() {
    if (!keep_ && !path_.empty()) std::filesystem::remove_all(path_);
  }
  BenchArguments(const BenchArguments&) = delete;
  BenchArguments& operator=(const BenchArguments&) = delete;

  int runs() const { return runs_; }
  const std::string& work() const { return path_; }

 private:
  int runs_;
  bool keep_;
  std::string path_;
};

inline std::string frameName(int index) {
  char name[32];
  std::snprintf(name, sizeof name, "f%04d.png", index + 1);
  return name;
}

}  // namespace oz::bench
