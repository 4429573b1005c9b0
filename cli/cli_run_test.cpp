// The built orvane-zozivi-cli run on fixture folders: exit statuses, messages
// and the sheets it writes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <vector>

#include "base/dir_listing.h"
#include "sheet/png_io.h"
#include "testsupport/temp_dir.h"

namespace oz {
namespace {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
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
    ASSERT_EQ(encodePng(image, folder() + "/" + name, 32, 0), PngWriteStatus::kWritten);
  }
  void frames(int count, int32_t width, int32_t height) {
    for (int i = 1; i <= count; ++i) {
      frame("f" + std::to_string(i) + ".png", width, height, static_cast<uint8_t>(i * 40));
    }
  }

  // Runs the command line; `fileSizeLimit` caps the size of every file it
  // writes, as a full disk would.
  CliRun run(std::vector<std::string> args, rlim_t fileSizeLimit = RLIM_INFINITY) {
    args.insert(args.begin(), OZ_CLI_PATH);
    const std::string outPath = dir_.path() + "stdout", errPath = dir_.path() + "stderr";
    const pid_t pid = fork();
    if (pid == 0) {
      dup2(open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
      dup2(open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
      setenv("HOME", home().c_str(), 1);  // the support directory lives in a temporary home
      signal(SIGXFSZ, SIG_IGN);           // a write past the limit then fails instead of killing
      const rlimit limit{fileSizeLimit, fileSizeLimit};
      setrlimit(RLIMIT_FSIZE, &limit);
      std::vector<char*> argv;
      for (std::string& arg : args) argv.push_back(arg.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    CliRun result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, testing::readFile(outPath),
                  testing::readFile(errPath)};
    unlink(outPath.c_str());
    unlink(errPath.c_str());
    return result;
  }

  testing::ScopedTempDir dir_;
};

TEST_F(CliRunTest, WritesTheSheetAndSaysSo) {
  frames(3, 4, 2);
  const CliRun r = run({"--sheet", sheet(), "--columns", "2", folder()});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Wrote " + sheet() + ": 8 x 4 pixels, 3 frames.\n");
  EXPECT_EQ(r.err, "");
  const auto image = decodePng(sheet());
  ASSERT_TRUE(image);
  EXPECT_EQ(image->pixel(0, 0)[0], 40);
  EXPECT_EQ(image->pixel(4, 0)[0], 80);
  EXPECT_EQ(image->pixel(0, 2)[0], 120);
  EXPECT_EQ(image->pixel(4, 2)[3], 0);  // no fourth frame
}

TEST_F(CliRunTest, OptionsReachTheBuild) {
  frames(3, 4, 2);
  const CliRun r = run({"--layout", "strip", "--depth", "24", "--remove-alpha", "--background",
                        "pink", "--power-of-2", "--sheet", sheet(), folder() + "/"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Wrote " + sheet() + ": 16 x 2 pixels, 3 frames.\n");
  const auto image = decodePng(sheet());
  ASSERT_TRUE(image);
  const uint8_t* padding = image->pixel(13, 1);
  EXPECT_EQ(std::vector<uint8_t>(padding, padding + 4), (std::vector<uint8_t>{255, 0, 255, 255}));
}

TEST_F(CliRunTest, EveryDepthWritesItsColourType) {
  frames(2, 6, 5);
  const std::pair<const char*, char> depths[] = {{"32", 6}, {"24", 2}, {"8", 3},
                                                 {"4", 3},  {"1", 3},  {"alpha", 2}};
  for (const auto& [depth, colorType] : depths) {
    const CliRun r = run({"--depth", depth, "--dither", "--sheet", sheet(), folder()});
    EXPECT_EQ(r.status, 0) << depth << ": " << r.err;
    // The IHDR's colour type byte: 8 signature, 8 chunk head, 9 into the data.
    EXPECT_EQ(testing::readFile(sheet())[25], colorType) << depth;
  }
}

TEST_F(CliRunTest, RefusalsExitWithOneAndTheMessage) {
  CliRun r = run({"--sheet", sheet(), folder()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Wait! No png images were found in the image folder!\n");
  EXPECT_EQ(r.out, "");

  frames(1, 4, 2);
  r = run({"--sheet", "", folder()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Wait! You have not chosen where to save your sprite sheet/strip!\n");

  frame("f2.png", 4, 3, 0);
  r = run({"--sheet", sheet(), folder()});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.err.starts_with("Image Size Error! Orvane Zozivi only supports")) << r.err;
  EXPECT_FALSE(testing::fileExists(sheet()));
}

TEST_F(CliRunTest, UsageErrorsExitWithTwo) {
  const CliRun r = run({"--depth", "7", "--sheet", sheet(), folder()});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err,
            "orvane-zozivi-cli: --depth takes 32, 24, 8, 4, 1 or alpha, not \"7\"\n"
            "Try \"orvane-zozivi-cli --help\".\n");
  const CliRun help = run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: orvane-zozivi-cli [options] FOLDER\n"));
}

TEST_F(CliRunTest, FailedWriteExitsWithThreeAndKeepsTheOldSheet) {
  frames(1, 4, 2);
  const std::string missing = dir_.path() + "no/sheet.png";
  CliRun r = run({"--sheet", missing, folder()});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err, "Save Error! Unable to save the sprite sheet/strip to \"" + missing + "\".\n");

  ASSERT_EQ(run({"--sheet", sheet(), folder()}).status, 0);
  const std::string oldSheet = testing::readFile(sheet());
  // A frame of noise makes a sheet far larger than the disk will take.
  RgbaImage noise{256, 256, std::vector<uint8_t>(256 * 256 * 4)};
  uint32_t seed = 1;
  for (uint8_t& byte : noise.pixels)
    byte = static_cast<uint8_t>((seed = seed * 1103515245 + 12345) >> 16);
  unlink((folder() + "/f1.png").c_str());
  ASSERT_EQ(encodePng(noise, folder() + "/f1.png", 32, 0), PngWriteStatus::kWritten);
  r = run({"--sheet", sheet(), folder()}, 64 * 1024);
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err, "Save Error! Unable to save the sprite sheet/strip to \"" + sheet() + "\".\n");
  EXPECT_EQ(testing::readFile(sheet()), oldSheet);
  EXPECT_EQ(listDirectory(dir_.path()), (std::vector<std::string>{"frames", "sheet.png"}));
}

TEST_F(CliRunTest, ListScriptsSeedsTheSupportDirectoryOnFirstUse) {
  mkdir(home().c_str(), 0700);
  CliRun r = run({"--list-scripts"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Clipboard\nHTML5\nMulti Loops\nPure Data\nplist\n");
  EXPECT_TRUE(testing::fileExists(supportDir() + "OrvaneZozivi.prefs"));

  // Not a first run any more: a deleted example stays deleted.
  unlink((supportDir() + "HTML5.txt").c_str());
  r = run({"--list-scripts"});
  EXPECT_EQ(r.out, "Clipboard\nMulti Loops\nPure Data\nplist\n");
}

// From its build folder the program finds the gallery in the source tree.
TEST_F(CliRunTest, GalleryTemplatesAreInstalledOneAtATimeAndNeverReplace) {
  mkdir(home().c_str(), 0700);
  CliRun r = run({"--gallery"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "CSS Sprites\nJSON Hash\nlibGDX Atlas\n");
  EXPECT_FALSE(testing::fileExists(supportDir())) << "listing the gallery seeds nothing";

  r = run({"--install-script", "JSON Hash"});
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string installed = supportDir() + "JSON Hash.txt";
  EXPECT_EQ(r.out, "Installed the script \"JSON Hash\" as " + installed + ".\n");
  EXPECT_EQ(testing::readFile(installed),
            testing::readFile(OZ_SOURCE_DIR "/templates/JSON Hash.txt"));
  // The first use seeded the five examples; the gallery added only the one asked for.
  EXPECT_EQ(run({"--list-scripts"}).out,
            "Clipboard\nHTML5\nJSON Hash\nMulti Loops\nPure Data\nplist\n");

  testing::writeFile(installed, "ov.Extension = \".json\"\nmine\n");
  r = run({"--install-script", "JSON Hash"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("\"JSON Hash\" already exists"), std::string::npos) << r.err;
  EXPECT_EQ(testing::readFile(installed), "ov.Extension = \".json\"\nmine\n");

  r = run({"--install-script", "plist"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("no template \"plist\""), std::string::npos) << r.err;
}

TEST_F(CliRunTest, ScriptByNameWritesTheDataFile) {
  mkdir(home().c_str(), 0700);
  frames(3, 4, 2);
  const std::string data = dir_.path() + "walk.txt";
  const CliRun r = run({"--sheet", sheet(), "--layout", "strip", "--retina", "--script",
                        "Multi Loops", "--data", data, folder()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Wrote " + sheet() + ": 12 x 2 pixels, 3 frames.\n");
  const std::string script = testing::readFile(data);
  EXPECT_NE(script.find("\nf1\nf2\nf3\n"), std::string::npos) << script;
  EXPECT_NE(script.find("\n0, 0, 2, 1\n2, 0, 2, 1\n4, 0, 2, 1\n"), std::string::npos) << script;
  EXPECT_TRUE(script.ends_with("\"sheet.png\"\n")) << script;
}

TEST_F(CliRunTest, ScriptOnStandardOutputMovesTheReportToStandardError) {
  frames(2, 4, 2);
  const std::string clipboard = dir_.path() + "clip.txt";
  testing::writeFile(clipboard,
                     "ov.Extension = \"Clipboard\"\nov.Repeat\nov.ImageName\nov.Until = 2\n");
  CliRun r = run({"--sheet", sheet(), "--script", clipboard, folder()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "f1\r\nf2\r\n");
  EXPECT_EQ(r.err, "Wrote " + sheet() + ": 8 x 2 pixels, 2 frames.\n");

  const std::string file = dir_.path() + "names.txt";
  testing::writeFile(file, "ov.Extension = \".txt\"\nov.SheetName ov.ImageCount\n");
  r = run({"--sheet", sheet(), "--script", file, "--data", "-", "--sprite-number", "3", folder()});
  EXPECT_EQ(r.out, "sheet.png 2\n");

  r = run({"--sheet", sheet(), "--script", file, folder()});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Wrote " + sheet() + ": 8 x 2 pixels, 2 frames.\n");
  EXPECT_EQ(r.err, "No --data PATH given: only the sheet was written, not the script.\n");
}

TEST_F(CliRunTest, UnreadableTemplateOrUnwritableDataExitWithThreeAfterTheSheet) {
  frames(1, 4, 2);
  const std::string missing = dir_.path() + "missing.txt";
  CliRun r = run({"--sheet", sheet(), "--script", missing, "--data", "-", folder()});
  EXPECT_EQ(r.status, 3);
  EXPECT_TRUE(testing::fileExists(sheet()));
  EXPECT_EQ(r.err, "Wait! The \"" + missing + "\" script could not be read.\n");

  const std::string file = dir_.path() + "t.txt";
  testing::writeFile(file, "x\n");
  const std::string data = dir_.path() + "no/out.txt";
  r = run({"--sheet", sheet(), "--script", file, "--data", data, folder()});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err, "Save Error! Unable to save the script to \"" + data + "\".\n");
}

}  // namespace
}  // namespace oz
