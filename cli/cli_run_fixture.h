// The built orvane-zozivi-cli run as a test's child process: its limits, its
// output, its temporary files, and the fixture folders it builds.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <string>
#include <utility>
#include <vector>

#include "base/dir_listing.h"
#include "sheet/png/png_write.h"
#include "testsupport/temp_dir.h"

namespace oz {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
  bool operator==(const CliRun&) const = default;
};

inline void PrintTo(const CliRun& run, std::ostream* os) {
  *os << "status " << run.status << ", out " << ::testing::PrintToString(run.out) << ", err "
      << ::testing::PrintToString(run.err);
}

// How a run of the command line is set up: its limits, its start and its output files.
struct RunSetup {
  rlim_t fileSize = RLIM_INFINITY;      // caps every file it writes, as a full disk would
  rlim_t addressSpace = RLIM_INFINITY;  // caps its memory
  bool closedStandardOutput = false;    // its standard output is a pipe nobody reads
  bool piped = false;  // its output comes through pipes, line by line (outLine, errLine)
};

class CliRunTest : public ::testing::Test {
 protected:
  CliRunTest() { mkdir(folder().c_str(), 0755); }

  std::string folder() const { return dir_.path() + "frames"; }
  std::string sheet() const { return dir_.path() + "sheet.png"; }
  std::string home() const { return dir_.path() + "home"; }
  std::string supportDir() const { return home() + "/Library/Application Support/Orvane Zozivi/"; }

  // An opaque frame whose red level is `red`.
  void frame(const std::string& name, int32_t width, int32_t height, uint8_t red) {
    RgbaImage image{width, height, std::vector<uint8_t>(size_t(width) * height * 4, 0)};
    for (size_t p = 0; p < image.pixels.size(); p += 4) {
      image.pixels[p] = red;
      image.pixels[p + 3] = 255;
    }
    ASSERT_EQ(encodePng(image, folder() + "/" + name), PngWriteStatus::Written);
  }
  void frames(int count, int32_t width, int32_t height) {
    for (int i = 1; i <= count; ++i) {
      frame("f" + std::to_string(i) + ".png", width, height, static_cast<uint8_t>(i * 40));
    }
  }

  // Starts the command line in the background; finish() collects it. A run
  // that hangs is ended by an alarm instead of holding the tests up.
  pid_t start(std::vector<std::string> args, const RunSetup& limits = {}) {
    args.insert(args.begin(), OZ_CLI_PATH);
    int outPipe[2] = {-1, -1};
    int errPipe[2] = {-1, -1};
    if (limits.piped && (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0)) {
      ADD_FAILURE() << "no pipes";
    }
    const pid_t pid = fork();
    if (pid == 0) {
      if (limits.piped) {
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
      } else if (limits.closedStandardOutput) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) _exit(127);
        close(pipeEnds[0]);
        dup2(pipeEnds[1], 1);
      } else {
        dup2(open(outPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
      }
      if (!limits.piped) dup2(open(errPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
      setenv("HOME", home().c_str(), 1);  // the support directory lives in a temporary home
      signal(SIGXFSZ, SIG_IGN);           // a write past the limit then fails instead of killing
      signal(SIGPIPE, SIG_DFL);           // as a shell starts it
      const rlimit fileSize{limits.fileSize, limits.fileSize};
      setrlimit(RLIMIT_FSIZE, &fileSize);
      const rlimit addressSpace{limits.addressSpace, limits.addressSpace};
      setrlimit(RLIMIT_AS, &addressSpace);
      alarm(60);
      std::vector<char*> argv;
      for (std::string& arg : args) argv.push_back(arg.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    if (limits.piped) {
      close(outPipe[1]);
      close(errPipe[1]);
      out_ = {outPipe[0], ""};
      err_ = {errPipe[0], ""};
    }
    return pid;
  }

  // The next line of a piped run's standard output or error, without its
  // newline; what is left when the run ends first, or after a minute.
  std::string outLine() { return nextLine(out_); }
  std::string errLine() { return nextLine(err_); }

  // Waits for the run; its status is -1 when a signal ended it. A piped
  // run's output is what its lines did not take.
  CliRun finish(pid_t pid) {
    if (out_.fd >= 0) {
      while (readMore(out_) || readMore(err_)) {
      }
      const CliRun piped{waitFor(pid), out_.buffered, err_.buffered};
      close(out_.fd);
      close(err_.fd);
      out_ = err_ = {};
      return piped;
    }
    const int status = waitFor(pid);
    CliRun result{status, testing::readFile(outPath()), testing::readFile(errPath())};
    unlink(outPath().c_str());
    unlink(errPath().c_str());
    return result;
  }

  CliRun run(std::vector<std::string> args, const RunSetup& limits = {}) {
    return finish(start(std::move(args), limits));
  }

  static int waitFor(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string outPath() const { return dir_.path() + "stdout"; }
  std::string errPath() const { return dir_.path() + "stderr"; }

  // The entries of the test's folder whose names hold ".tmp.": temporary files.
  std::vector<std::string> temporaryFiles(const std::string& folder) const {
    std::vector<std::string> found;
    for (const std::string& name : listDirectory(folder).value_or(std::vector<std::string>{})) {
      if (name.find(".tmp.") != std::string::npos) found.push_back(name);
    }
    return found;
  }

  // Whether the run `pid` has a temporary file open in the test's folder: a
  // file without a name shows in /proc as "FOLDER/#INODE (deleted)".
  bool writesTemporaryFile(pid_t pid) const {
    const std::string fds = "/proc/" + std::to_string(pid) + "/fd/";
    for (const std::string& fd : listDirectory(fds).value_or(std::vector<std::string>{})) {
      char target[PATH_MAX];
      const ssize_t length = readlink((fds + fd).c_str(), target, sizeof target);
      if (length <= 0) continue;
      const std::string_view link(target, static_cast<size_t>(length));
      if (link.starts_with(dir_.path() + "#") && link.ends_with(" (deleted)")) return true;
      if (link.starts_with(dir_.path()) && link.find(".tmp.") != std::string::npos) return true;
    }
    return false;
  }

  // `count` frames of 256 x 256 noise: a sheet that compresses slowly and
  // hardly at all.
  void noiseFrames(int count) {
    RgbaImage noise{256, 256, std::vector<uint8_t>(256 * 256 * 4)};
    uint32_t seed = 1;
    for (uint8_t& byte : noise.pixels)
      byte = static_cast<uint8_t>((seed = seed * 1103515245 + 12345) >> 16);
    ASSERT_EQ(encodePng(noise, folder() + "/f1.png"), PngWriteStatus::Written);
    const std::string frameBytes = testing::readFile(folder() + "/f1.png");
    for (int i = 2; i <= count; ++i)
      testing::writeFile(folder() + "/f" + std::to_string(i) + ".png", frameBytes);
  }

  testing::ScopedTempDir dir_;

 private:
  struct Pipe {
    int fd = -1;
    std::string buffered;  // read, not yet taken as a line
  };

  // Reads what comes within a minute; false at the end or after the minute.
  static bool readMore(Pipe& pipe) {
    pollfd ready{pipe.fd, POLLIN, 0};
    if (pipe.fd < 0 || poll(&ready, 1, 60000) != 1) return false;
    char bytes[4096];
    const ssize_t got = read(pipe.fd, bytes, sizeof bytes);
    if (got <= 0) return false;
    pipe.buffered.append(bytes, static_cast<size_t>(got));
    return true;
  }

  static std::string nextLine(Pipe& pipe) {
    size_t end = 0;
    while ((end = pipe.buffered.find('\n')) == std::string::npos) {
      if (!readMore(pipe)) {
        ADD_FAILURE() << "no line came; so far: " << pipe.buffered;
        return std::exchange(pipe.buffered, "");
      }
    }
    std::string line = pipe.buffered.substr(0, end);
    pipe.buffered.erase(0, end + 1);
    return line;
  }

  Pipe out_;
  Pipe err_;
};

}  // namespace oz
