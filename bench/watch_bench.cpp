// orvane-zozivi-cli --watch under the inputs that could make it hang, lose a
// change or grow: a folder of 10,000 frames, one frame replaced 50 times a
// second for 10 seconds (half of the times rewritten in place, so that builds
// catch it half-written), and the template removed and put back. After every
// build line the sheet is decoded whole; at the end the watch's sheet must be
// byte-equal to a plain build of the folder as it was left. Prints the times
// against a plain build in the same run, and the watch's resident memory
// (now and peak) after its first build against the end.
//
// Usage: watch_bench [SECONDS]
//   SECONDS: how long the frame is replaced (default 10).

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_support.h"
#include "sheet/png/png_read.h"
#include "sheet/png/png_write.h"
#include "testsupport/temp_dir.h"

namespace {

using namespace oz::bench;

constexpr int kManyFrames = 10000;
constexpr int kStreamFrames = 16;
constexpr int kRebuilds = 20;
constexpr int kLineTimeoutMs = 120000;  // a line later than this is a hang

// A watch running in the background, its output read line by line.
class WatchRun {
 public:
  explicit WatchRun(std::vector<std::string> args) {
    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) std::exit(1);
    args.insert(args.begin(), {OZ_CLI_PATH, "--watch"});
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::fflush(stdout);
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], 1);
      dup2(err[1], 2);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(out[1]);
    close(err[1]);
    out_.fd = out[0];
    err_.fd = err[0];
  }

  // The next line of standard output or error; nothing after the timeout or
  // at the end.
  std::optional<std::string> outLine(int timeoutMs = kLineTimeoutMs) {
    return line(out_, timeoutMs);
  }
  std::optional<std::string> errLine(int timeoutMs = kLineTimeoutMs) {
    return line(err_, timeoutMs);
  }

  // Resident kilobytes now and at their peak, from /proc.
  std::pair<long, long> memory() const {
    long now = 0;
    long peak = 0;
    const std::string status = oz::testing::readFile("/proc/" + std::to_string(pid_) + "/status");
    for (size_t at = 0; at < status.size();) {
      const size_t end = status.find('\n', at);
      const std::string row = status.substr(at, end - at);
      if (row.starts_with("VmRSS:")) now = std::atol(row.c_str() + 6);
      if (row.starts_with("VmHWM:")) peak = std::atol(row.c_str() + 6);
      at = end == std::string::npos ? status.size() : end + 1;
    }
    return {now, peak};
  }

  // Sends Ctrl-C and returns the exit status (-1 for a signal's death).
  int interrupt() {
    kill(pid_, SIGINT);
    int status = 0;
    waitpid(pid_, &status, 0);
    close(out_.fd);
    close(err_.fd);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  struct Stream {
    int fd = -1;
    std::string buffered;
  };

  static std::optional<std::string> line(Stream& stream, int timeoutMs) {
    for (;;) {
      const size_t end = stream.buffered.find('\n');
      if (end != std::string::npos) {
        std::string text = stream.buffered.substr(0, end);
        stream.buffered.erase(0, end + 1);
        return text;
      }
      pollfd ready{stream.fd, POLLIN, 0};
      if (poll(&ready, 1, timeoutMs) != 1) return std::nullopt;
      char bytes[4096];
      const ssize_t got = read(stream.fd, bytes, sizeof bytes);
      if (got <= 0) return std::nullopt;
      stream.buffered.append(bytes, static_cast<size_t>(got));
    }
  }

  pid_t pid_ = -1;
  Stream out_;
  Stream err_;
};

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

bool writeFrame(const std::string& path, int size, int index) {
  return oz::encodePng(makeFrame(size, index), path) == oz::PngWriteStatus::Written;
}

// Waits for the next build line; false (and says so) when none comes.
bool nextBuild(WatchRun& watch, const char* what, std::string* line = nullptr) {
  const std::optional<std::string> got = watch.outLine();
  if (!got) std::printf("HANG: no build line after %s\n", what);
  if (got && line) *line = *got;
  return got.has_value();
}

void printMemory(const char* when, std::pair<long, long> kilobytes) {
  std::printf("  watch memory %-24s %7.1f MB now, %7.1f MB peak\n", when,
              static_cast<double>(kilobytes.first) / 1024,
              static_cast<double>(kilobytes.second) / 1024);
}

// 10,000 frames: the watch's first build and a rebuild after one frame is
// saved again, against a plain build of the same folder.
int manyFrames(const std::string& work) {
  const std::string folder = work + "many/";
  std::filesystem::create_directories(folder);
  // A hundred pictures taken in turn, written without a sync each.
  std::vector<std::string> pictures;
  for (int k = 0; k < 100; ++k) {
    if (!writeFrame(work + "picture.png", 16, k)) return 1;
    pictures.push_back(oz::testing::readFile(work + "picture.png"));
  }
  for (int i = 0; i < kManyFrames; ++i) {
    oz::testing::writeFile(folder + frameName(i), pictures[i % pictures.size()]);
  }
  ProcessRun plain;
  plain.wallSeconds = 1e300;
  for (int k = 0; k < 3; ++k) {
    const ProcessRun run =
        runProcess({OZ_CLI_PATH, "--sheet", work + "plain.png", "--columns", "100", folder});
    if (run.wallSeconds < plain.wallSeconds) plain = run;
  }
  const auto start = Clock::now();
  WatchRun watch({"--sheet", work + "many.png", "--columns", "100", folder});
  if (!nextBuild(watch, "the first build of 10,000 frames")) return 1;
  const double first = secondsSince(start);
  // Each rebuild after one frame is saved anew; the fastest is reported, and
  // the memory after the first rebuild is set against that after the last.
  double rebuild = 1e300;
  std::string line;
  std::pair<long, long> afterFirst;
  for (int k = 0; k < kRebuilds; ++k) {
    const auto saved = Clock::now();
    oz::testing::writeFile(folder + frameName(5000), pictures[k % 2]);
    if (!nextBuild(watch, "a frame of 10,000 saved again", &line)) return 1;
    rebuild = std::min(rebuild, secondsSince(saved));
    if (k == 0) afterFirst = watch.memory();
  }
  const auto atEnd = watch.memory();
  const int status = watch.interrupt();
  std::printf("10,000 frames of 16 x 16, 100 columns:\n");
  std::printf("  plain build %.2f s wall (peak %.1f MB)\n", plain.wallSeconds,
              static_cast<double>(plain.peakKilobytes) / 1024);
  std::printf("  watch: first build %.2f s (%.2f x plain)\n", first, first / plain.wallSeconds);
  std::printf(
      "  one frame saved again, fastest of %d: line after %.2f s (%.2f x plain, 0.2 s of "
      "settling included)\n    %s\n",
      kRebuilds, rebuild, rebuild / plain.wallSeconds, line.c_str());
  printMemory("after the first rebuild", afterFirst);
  printMemory("after the last rebuild", atEnd);
  std::printf("  Ctrl-C: exit %d\n", status);
  return status == 130 ? 0 : 1;
}

// Replaces one frame every 20 ms while the watch builds, then checks that the
// last state was built and that every sheet it left was whole.
int replacedFrames(const std::string& work, double seconds) {
  const std::string folder = work + "stream/";
  std::filesystem::create_directories(folder);
  for (int i = 0; i < kStreamFrames; ++i) {
    if (!writeFrame(folder + frameName(i), 64, i)) return 1;
  }
  const std::string templ = work + "list.txt";
  const std::string templText =
      "ov.Extension = \".txt\"\nov.Repeat\nov.ImageName ov.ImageX\nov.Until = ov.ImageCount\n";
  oz::testing::writeFile(templ, templText);
  const std::string sheet = work + "stream.png";
  WatchRun watch({"--sheet", sheet, "--script", templ, "--data", work + "stream.txt", folder});
  if (!nextBuild(watch, "the first build")) return 1;
  const auto afterFirst = watch.memory();

  // Two pictures taken in turn; every second save rewrites the file in place
  // in two writes, so that a build can find it half-written.
  std::vector<std::string> pictures;
  for (int k = 0; k < 2; ++k) {
    const std::string path = work + "picture" + std::to_string(k) + ".png";
    if (!writeFrame(path, 64, 100 + k)) return 1;
    pictures.push_back(oz::testing::readFile(path));
  }
  std::atomic<bool> writing{true};
  int saves = 0;
  std::thread writer([&] {
    const std::string target = folder + frameName(3);
    const auto start = Clock::now();
    for (; secondsSince(start) < seconds; ++saves) {
      std::this_thread::sleep_until(start + saves * std::chrono::milliseconds(20));
      const std::string& bytes = pictures[saves % 2];
      if (saves % 2 == 0) {
        oz::testing::writeFile(target + ".new", bytes);
        std::rename((target + ".new").c_str(), target.c_str());
      } else {
        const int fd = open(target.c_str(), O_WRONLY | O_TRUNC);
        const size_t half = bytes.size() / 2;
        [[maybe_unused]] ssize_t n = write(fd, bytes.data(), half);
        usleep(2000);
        n = write(fd, bytes.data() + half, bytes.size() - half);
        close(fd);
      }
    }
    writing = false;
  });
  int builds = 0;
  int broken = 0;
  const auto streamStart = Clock::now();
  while (writing || secondsSince(streamStart) < seconds + 0.5) {
    const std::optional<std::string> line = watch.outLine(2000);
    if (!line) continue;
    ++builds;
    if (!oz::decodePng(sheet)) ++broken;
  }
  writer.join();
  // The last save is built once the folder has settled.
  int waits = 0;
  while (const std::optional<std::string> line = watch.errLine(0)) {
    waits += line->find(" waiting for the next change: ") != std::string::npos;
  }
  std::optional<std::string> last;
  while (const std::optional<std::string> line = watch.outLine(1500)) {
    ++builds;
    last = line;
    if (!oz::decodePng(sheet)) ++broken;
  }
  const auto afterStream = watch.memory();
  runProcess({OZ_CLI_PATH, "--sheet", work + "check.png", folder});
  const bool lastBuilt = oz::testing::readFile(sheet) == oz::testing::readFile(work + "check.png");

  // The template removed while watched: said once, and the watch recovers.
  std::filesystem::remove(templ);
  const std::optional<std::string> said = watch.errLine();
  oz::testing::writeFile(templ, templText);
  std::string recovered;
  const bool back = nextBuild(watch, "the template came back", &recovered);
  const int status = watch.interrupt();

  std::printf(
      "one frame of %d replaced every 20 ms for %.0f s (%d saves, every second one in "
      "place):\n",
      kStreamFrames, seconds, saves);
  std::printf("  %d builds, %d waits for a half-written frame said, %d sheets not whole\n", builds,
              waits, broken);
  std::printf("  the last save built: %s\n", lastBuilt ? "yes, byte-equal to a plain build" : "NO");
  printMemory("after the first build", afterFirst);
  printMemory("after the stream", afterStream);
  std::printf("  template removed: %s\n  put back: %s\n", said ? said->c_str() : "NOTHING SAID",
              back ? recovered.c_str() : "NO BUILD");
  std::printf("  Ctrl-C: exit %d\n", status);
  return status == 130 && lastBuilt && broken == 0 && said && back ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::max(1.0, std::atof(argv[1])) : 10;
  const oz::testing::ScopedTempDir work;
  const int many = manyFrames(work.path());
  const int stream = replacedFrames(work.path(), seconds);
  return many != 0 || stream != 0 ? 1 : 0;
}
