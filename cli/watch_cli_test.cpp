// orvane-zozivi-cli --watch run on fixture folders: each change seen, each
// build's line, and the ways the watch ends. Every wait is for a line the run
// prints, bounded by a minute.
#include <gtest/gtest.h>

#include <regex>

#include "base/text_lines.h"
#include "cli/cli_run_fixture.h"
#include "sheet/png/png_read.h"

namespace oz {
namespace {

class WatchCliTest : public CliRunTest {
 protected:
  pid_t watch(std::vector<std::string> args) {
    args.insert(args.begin(), "--watch");
    args.push_back(folder());
    return start(std::move(args), {.piped = true});
  }

  // The next build line, less its time of day and how long it took.
  std::string nextBuild() {
    const std::string line = outLine();
    static const std::regex kLine(R"(\d\d:\d\d:\d\d (.*), \d+\.\d\d s)");
    std::smatch parts;
    if (!std::regex_match(line, parts, kLine)) return "not a build line: " + line;
    return parts[1];
  }

  // Replaces `path` the way editors save: a new file renamed over it.
  void saveByRename(const std::string& path, const std::string& bytes) {
    testing::writeFile(path + ".new", bytes);
    ASSERT_EQ(std::rename((path + ".new").c_str(), path.c_str()), 0);
  }

  // Whether `signal` was sent to `pid` and has not reached it yet.
  static bool signalPending(pid_t pid, int signal) {
    for (const std::string& line :
         splitLines(testing::readFile("/proc/" + std::to_string(pid) + "/status"))) {
      if (!line.starts_with("SigPnd:") && !line.starts_with("ShdPnd:")) continue;
      if ((std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1) return true;
    }
    return false;
  }
};

TEST_F(WatchCliTest, BuildsAgainOnEachChangeAndLeavesUnchangedOutputsAlone) {
  frames(2, 4, 2);
  const std::string templ = dir_.path() + "names.txt";
  testing::writeFile(templ, "ov.Extension = \".txt\"\nov.ImageCount\n");
  const std::string data = dir_.path() + "names.out";
  const pid_t pid = watch({"--sheet", sheet(), "--script", templ, "--data", data});
  EXPECT_EQ(nextBuild(), "written: 2 frames");

  // Frames saved together within the settling time make one build of all of them.
  for (int i = 3; i <= 5; ++i) frame("f" + std::to_string(i) + ".png", 4, 2, 9);
  EXPECT_EQ(nextBuild(), "written: 5 frames");
  const testing::FileStamp sheetStamp = testing::fileStamp(sheet());
  const testing::FileStamp dataStamp = testing::fileStamp(data);

  // A frame saved again as it was: nothing is replaced.
  saveByRename(folder() + "/f1.png", testing::readFile(folder() + "/f1.png"));
  EXPECT_EQ(nextBuild(), "unchanged: 5 frames");
  EXPECT_EQ(testing::fileStamp(sheet()), sheetStamp);
  EXPECT_EQ(testing::fileStamp(data), dataStamp);

  // The template is read again at each build; the sheet stays as it was.
  saveByRename(templ, "ov.Extension = \".txt\"\nov.ImageCount frames\n");
  EXPECT_EQ(nextBuild(), "written: 5 frames");
  EXPECT_EQ(testing::readFile(data), "5 frames\n");
  EXPECT_EQ(testing::fileStamp(sheet()), sheetStamp);

  // A template removed is said once; back again, the watch goes on.
  const std::string kept = testing::readFile(templ);
  ASSERT_EQ(unlink(templ.c_str()), 0);
  EXPECT_NE(errLine().find(" waiting for the next change: "), std::string::npos);
  saveByRename(templ, kept);
  EXPECT_EQ(nextBuild(), "unchanged: 5 frames");

  kill(pid, SIGINT);
  const CliRun rest = finish(pid);
  EXPECT_EQ(rest.status, 130);
  EXPECT_EQ(rest.out, "");
  EXPECT_TRUE(decodePng(sheet()));
}

// A frame read while it is being written does not decode: that build waits,
// its reason said once, and the frame's next change builds it.
TEST_F(WatchCliTest, AHalfWrittenFrameWaitsForTheNextChange) {
  frames(2, 4, 2);
  const pid_t pid = watch({"--sheet", sheet()});
  EXPECT_EQ(nextBuild(), "written: 2 frames");
  const std::string whole = testing::readFile(folder() + "/f1.png");
  testing::writeFile(folder() + "/f3.png", whole.substr(0, whole.size() / 2));
  EXPECT_NE(errLine().find(" waiting for the next change: Image Size Error!"), std::string::npos);
  EXPECT_NE(errLine().find("\"f3.png\" is not a PNG image that can be read"), std::string::npos);
  testing::writeFile(folder() + "/f3.png", whole);
  EXPECT_EQ(nextBuild(), "written: 3 frames");
  kill(pid, SIGTERM);
  EXPECT_EQ(finish(pid), (CliRun{143, "", ""}));
}

// With animations from subfolders, the subfolders' frames are watched too,
// and a subfolder that goes is one animation less, not the end of the watch.
TEST_F(WatchCliTest, AnimationSubfoldersAreWatchedAsTheyComeAndGo) {
  frames(1, 4, 2);
  const pid_t pid = watch({"--sheet", sheet(), "--animations", "folders"});
  EXPECT_EQ(nextBuild(), "written: 1 frame");
  ASSERT_EQ(mkdir((folder() + "/run").c_str(), 0755), 0);
  EXPECT_EQ(nextBuild(), "unchanged: 1 frame");
  EXPECT_NE(errLine().find("\"run\" holds no PNG frames"), std::string::npos);
  frame("run/r1.png", 4, 2, 9);
  EXPECT_EQ(nextBuild(), "written: 2 frames");
  frame("run/r1.png", 4, 2, 7);
  EXPECT_EQ(nextBuild(), "written: 2 frames");
  ASSERT_EQ(unlink((folder() + "/run/r1.png").c_str()), 0);
  ASSERT_EQ(rmdir((folder() + "/run").c_str()), 0);
  EXPECT_EQ(nextBuild(), "written: 1 frame");
  kill(pid, SIGTERM);
  EXPECT_EQ(finish(pid).status, 143);
}

TEST_F(WatchCliTest, AWatchedFolderRemovedOrRenamedEndsTheWatch) {
  frames(1, 4, 2);
  const pid_t pid = watch({"--sheet", sheet()});
  EXPECT_EQ(nextBuild(), "written: 1 frame");
  ASSERT_EQ(std::rename(folder().c_str(), (dir_.path() + "moved").c_str()), 0);
  EXPECT_EQ(finish(pid), (CliRun{1, "",
                                 "orvane-zozivi-cli: the watched folder \"" + folder() +
                                     "/\" was removed or renamed; the watch ends.\n"}));
  // A folder that is not there cannot be watched.
  EXPECT_EQ(finish(watch({"--sheet", sheet()})),
            (CliRun{1, "",
                    "orvane-zozivi-cli: cannot watch \"" + folder() +
                        "/\": No such file or directory\n"}));
}

// Ctrl-C while a sheet is written stops that build with nothing written; one
// while a script is written finishes it, and a second ends the run at once.
// Either way the outputs are whole and no temporary file is left.
TEST_F(WatchCliTest, CtrlCDuringABuildLeavesTheOutputsWhole) {
  noiseFrames(16);
  // The smallest form takes the longest to compress: the signal comes while
  // the sheet is being written, however busy the machine.
  pid_t pid = watch({"--sheet", sheet(), "--columns", "4", "--smallest"});
  EXPECT_EQ(nextBuild(), "written: 16 frames");
  const std::string first = testing::readFile(sheet());
  frame("f1.png", 256, 256, 9);
  for (int waited = 0; !writesTemporaryFile(pid) && waited < 60000; ++waited) usleep(1000);
  EXPECT_TRUE(writesTemporaryFile(pid));
  kill(pid, SIGINT);
  EXPECT_EQ(finish(pid), (CliRun{130, "", ""}));
  EXPECT_EQ(testing::readFile(sheet()), first);
  EXPECT_TRUE(temporaryFiles(dir_.path()).empty());

  const std::string endless = dir_.path() + "endless.txt";
  testing::writeFile(endless,
                     "ov.Extension = \".txt\"\nov.Repeat\nov.ImageName\nov.Until = 2000000000\n");
  const std::string data = dir_.path() + "data.txt";
  testing::writeFile(data, "old data");
  unlink(sheet().c_str());
  pid = watch({"--sheet", sheet(), "--script", endless, "--data", data});
  for (int waited = 0;
       !(testing::fileExists(sheet()) && writesTemporaryFile(pid)) && waited < 60000; ++waited) {
    usleep(1000);
  }
  // Two signals sent at once would be taken as one.
  kill(pid, SIGINT);
  for (int waited = 0; signalPending(pid, SIGINT) && waited < 60000; ++waited) usleep(1000);
  kill(pid, SIGINT);
  EXPECT_EQ(finish(pid).status, 130);
  EXPECT_EQ(testing::readFile(data), "old data");
  EXPECT_TRUE(decodePng(sheet()));
  EXPECT_TRUE(temporaryFiles(dir_.path()).empty());
}

}  // namespace
}  // namespace oz
