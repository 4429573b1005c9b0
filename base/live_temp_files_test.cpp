#include "base/live_temp_files.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "base/atomic_file.h"
#include "base/dir_listing.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

// Runs `body` in a child process and returns how that ended: the exit status,
// or -1 when a signal ended it.
template <typename Body>
int exitStatusOf(Body body) {
  const pid_t pid = fork();
  if (pid == 0) {
    body();
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(LiveTempFiles, ASignalRemovesTheTemporaryFilesAndEndsWith128PlusItsNumber) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    testing::ScopedTempDir dir;
    const std::string path = dir.path() + "out.txt";
    testing::writeFile(path, "old");
    const int status = exitStatusOf([&] {
      removeTempFilesOnSignals({signal});
      // More files than the table holds have come and gone before: each left it.
      for (int i = 0; i < 20; ++i) writeFileAtomically(dir.path() + std::to_string(i), "x");
      // Named temporary files, the kind a signal has to remove.
      AtomicFile sheet, script;
      sheet.open(dir.path() + "sheet.png", AtomicFile::Temp::Named);
      script.open(path, AtomicFile::Temp::Named);
      for (AtomicFile* file : {&sheet, &script}) {
        std::fputs("new", file->stream());
        std::fflush(file->stream());
      }
      raise(signal);
    });
    EXPECT_EQ(status, 128 + signal);
    EXPECT_EQ(testing::readFile(path), "old");
    EXPECT_EQ(listDirectory(dir.path())->size(), 21u) << "a temporary file is left";
  }
}

}  // namespace
}  // namespace oz
