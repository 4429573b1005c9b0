// The built orvane-zozivi-cli run on fixture folders: exit statuses, messages
// and the sheets it writes.
#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

#include "base/text_lines.h"
#include "cli/cli_run_fixture.h"

namespace oz {
namespace {

// A plain run's sheet and report are checked through the gallery's test and the
// runs below, --help by the manual page's test.
TEST_F(CliRunTest, RefusalsExitWithOneUsageErrorsWithTwoAndAFailedWriteWithThree) {
  EXPECT_EQ(run({"--sheet", sheet(), folder()}),
            (CliRun{1, "",
                    "Wait! No png images were found in the image folder!\nThe folder \"" +
                        folder() + "/\" holds no file whose name ends in \".png\".\n"}));

  frames(1, 4, 2);
  EXPECT_EQ(run({"--sheet", "", folder()}),
            (CliRun{1, "", "Wait! You have not chosen where to save your sprite sheet/strip!\n"}));

  frame("f2.png", 4, 3, 0);
  CliRun r = run({"--sheet", sheet(), folder()});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.err.starts_with("Image Size Error! Orvane Zozivi only supports")) << r.err;
  EXPECT_FALSE(testing::fileExists(sheet()));

  unlink((folder() + "/f2.png").c_str());
  const std::string missing = dir_.path() + "no/sheet.png";
  EXPECT_EQ(run({"--sheet", missing, folder()}),
            (CliRun{3, "",
                    "Save Error! Unable to save the sprite sheet/strip to \"" + missing +
                        "\".\nThe folder \"" + dir_.path() + "no/\" does not exist.\n"}));
  EXPECT_EQ(run({"--depth", "7", "--sheet", sheet(), folder()}),
            (CliRun{2, "",
                    "orvane-zozivi-cli: --depth takes 32, 24, 8, 4, 1 or alpha, not \"7\"\n"
                    "Try \"orvane-zozivi-cli --help\".\n"}));
}

// Several sheets each get their script, numbered alike; without --multipack
// the refusal says how many sheets it would take.
TEST_F(CliRunTest, PackedSheetsAndTheirScriptsAreNumberedAlike) {
  frames(3, 60, 60);
  const std::string templ = dir_.path() + "list.txt";
  testing::writeFile(templ,
                     "ov.Extension = \".txt\"\nov.SheetIndex/ov.SheetCount ov.SheetName\n"
                     "ov.Repeat\nov.ImageFile ov.ImageRotatedAnticlockwise\n"
                     "ov.Until = ov.ImageCount\n");
  const std::vector<std::string> packed = {
      "--sheet", sheet(),    "--layout", "packed", "--max-size",
      "64",      "--script", templ,      "--data", dir_.path() + "out.txt",
      folder()};
  CliRun r = run(packed);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "Image Size Limit! The sprite image has exceeded the 64 pixel limit! Unable to create "
            "sprite sheet/strip.\nThe 3 frames would take 3 sheets of 64 x 64 pixels: \"Several "
            "Sheets When Needed\" (--multipack) writes them.\n");
  std::vector<std::string> several = packed;
  several.insert(several.begin(), "--multipack");
  r = run(several);
  EXPECT_EQ(r.status, 0) << r.err;
  for (int s = 1; s <= 3; ++s) {
    const std::string n = std::to_string(s);
    EXPECT_NE(r.out.find("Wrote " + dir_.path() + "sheet-" + n + ".png: 60 x 60 pixels, 1 frame."),
              std::string::npos)
        << r.out;
    EXPECT_EQ(testing::readFile(dir_.path() + "out-" + n + ".txt"),
              std::to_string(s - 1) + "/3 sheet-" + n + ".png\nf" + n + ".png false\n");
  }
  EXPECT_FALSE(testing::fileExists(sheet()));
}

// Which spellings name one file is the build's own test; here the status and
// the message, and that nothing is written.
TEST_F(CliRunTest, OneFileNamedTwiceExitsWithTwoAndWritesNothing) {
  frames(2, 4, 2);
  const std::string templ = dir_.path() + "names.txt";
  testing::writeFile(templ, "ov.Extension = \".txt\"\nov.ImageCount\n");
  EXPECT_EQ(run({"--sheet", sheet(), "--script", templ, "--data", sheet(), folder()}),
            (CliRun{2, "",
                    "Wait! The sprite sheet/strip \"" + sheet() + "\" and the script \"" + sheet() +
                        "\" are the same file! Nothing was saved; save them to two different "
                        "files.\n"}));
  EXPECT_FALSE(testing::fileExists(sheet()));
  EXPECT_EQ(testing::readFile(templ), "ov.Extension = \".txt\"\nov.ImageCount\n");
  // The sheet would replace the file standard output writes the script to.
  EXPECT_EQ(run({"--sheet", outPath(), "--script", templ, "--data", "-", folder()}).status, 2);
}

// From its build folder the program finds the gallery in the source tree.
TEST_F(CliRunTest, GalleryTemplatesAreInstalledOneAtATimeAndNeverReplace) {
  mkdir(home().c_str(), 0700);
  // Every template with its description after a tab.
  const CliRun listed = run({"--gallery"});
  EXPECT_EQ(listed.status, 0);
  EXPECT_EQ(listed.err, "");
  std::string names;
  for (const std::string& line : splitLines(listed.out)) {
    if (line.empty()) continue;
    const size_t tab = line.find('\t');
    ASSERT_NE(tab, std::string::npos) << line;
    EXPECT_GT(line.size(), tab + 10) << "a description, not a word: " << line;
    names += line.substr(0, tab) + "\n";
  }
  EXPECT_EQ(names,
            "Aseprite JSON\nCSS Sprites\nDefold Tilesource\nGodot SpriteFrames\nHTML5 Canvas\n"
            "JSON Array\nJSON Hash\nSpine Atlas\nStarling XML\ncocos2d plist\n"
            "libGDX Atlas Bounds\nlibGDX Atlas\n");
  EXPECT_FALSE(testing::fileExists(supportDir())) << "listing the gallery seeds nothing";

  const std::string installed = supportDir() + "JSON Hash.txt";
  EXPECT_EQ(run({"--install-script", "JSON Hash"}),
            (CliRun{0, "Installed the script \"JSON Hash\" as " + installed + ".\n", ""}));
  EXPECT_EQ(testing::readFile(installed),
            testing::readFile(OZ_SOURCE_DIR "/templates/JSON Hash.txt"));
  // The first use seeded the five examples; the gallery added only the one asked for.
  EXPECT_EQ(run({"--list-scripts"}).out,
            "Clipboard\nHTML5\nJSON Hash\nMulti Loops\nPure Data\nplist\n");

  testing::writeFile(installed, "ov.Extension = \".json\"\nmine\n");
  CliRun r = run({"--install-script", "JSON Hash"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("\"JSON Hash\" already exists"), std::string::npos) << r.err;
  EXPECT_EQ(testing::readFile(installed), "ov.Extension = \".json\"\nmine\n");

  r = run({"--install-script", "plist"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("no template \"plist\""), std::string::npos) << r.err;
}

// Outputs equal to the files in place are left alone, times included, so a
// build system runs nothing after them; the report says so.
TEST_F(CliRunTest, OutputsEqualToTheFilesInPlaceAreLeftUntouched) {
  frames(2, 4, 2);
  const std::string templ = dir_.path() + "names.txt";
  testing::writeFile(templ, "ov.Extension = \".txt\"\nov.SheetName ov.ImageCount\n");
  const std::string data = dir_.path() + "names.out";
  const std::vector<std::string> args = {"--sheet", sheet(), "--script", templ,
                                         "--data",  data,    folder()};
  const std::string size = ": 8 x 2 pixels, 2 frames.\n";
  EXPECT_EQ(run(args), (CliRun{0, "Wrote " + sheet() + size, ""}));
  const testing::FileStamp sheetStamp = testing::fileStamp(sheet());
  const testing::FileStamp dataStamp = testing::fileStamp(data);
  EXPECT_EQ(run(args), (CliRun{0, sheet() + " unchanged" + size, ""}));
  EXPECT_EQ(testing::fileStamp(sheet()), sheetStamp);
  EXPECT_EQ(testing::fileStamp(data), dataStamp);

  // A frame repainted: the sheet is new, the script the same as before.
  frame("f2.png", 4, 2, 7);
  EXPECT_EQ(run(args), (CliRun{0, "Wrote " + sheet() + size, ""}));
  EXPECT_NE(testing::fileStamp(sheet()), sheetStamp);
  EXPECT_EQ(testing::fileStamp(data), dataStamp);
  EXPECT_EQ(testing::readFile(data), "sheet.png 2\n");
}

// "Multi Loops" by name: the options that reach the build, each frame's own
// rectangle in the script (a shared one for the repeated frame), and halved
// odd sizes told on standard error.
TEST_F(CliRunTest, ScriptByNameWritesEachFramesOwnRectangle) {
  mkdir(home().c_str(), 0700);
  frame("f1.png", 4, 2, 40);
  frame("f2.png", 4, 2, 40);
  frame("f3.png", 4, 2, 80);
  const std::string data = dir_.path() + "walk.txt";
  const auto multiLoops = [&](std::vector<std::string> options) {
    options.insert(options.begin(), {"--sheet", sheet()});
    options.insert(options.end(), {"--script", "Multi Loops", "--data", data, folder()});
    return run(options);
  };
  EXPECT_EQ(multiLoops({"--layout", "strip", "--retina"}),
            (CliRun{0, "Wrote " + sheet() + ": 12 x 2 pixels, 3 frames.\n", ""}));
  const std::string script = testing::readFile(data);
  EXPECT_NE(script.find("\nf1\nf2\nf3\n"), std::string::npos) << script;
  EXPECT_NE(script.find("\n0, 0, 2, 1\n2, 0, 2, 1\n4, 0, 2, 1\n"), std::string::npos) << script;
  EXPECT_TRUE(script.ends_with("\"sheet.png\"\n")) << script;

  EXPECT_EQ(multiLoops({"--layout", "strip", "--spacing", "2", "--border=1", "--extrude", "1",
                        "--bleed", "--dedupe"}),
            (CliRun{0, "Wrote " + sheet() + ": 16 x 6 pixels, 3 frames.\n", ""}));
  EXPECT_NE(testing::readFile(data).find("\n2, 2, 4, 2\n2, 2, 4, 2\n10, 2, 4, 2\n"),
            std::string::npos);

  unlink((folder() + "/f3.png").c_str());
  frames(2, 3, 2);
  EXPECT_EQ(multiLoops({"--retina"}),
            (CliRun{0, "Wrote " + sheet() + ": 6 x 2 pixels, 2 frames.\n",
                    "orvane-zozivi-cli: The frames are 3 x 2 pixels: with Retina the script's "
                    "halved positions and sizes are rounded down to whole pixels.\n"}));
  EXPECT_NE(testing::readFile(data).find("\n0, 0, 1, 1\n1, 0, 1, 1\n"), std::string::npos);
}

// What the build left out is said on standard error; names the script
// could not tell apart are refused before anything is written.
TEST_F(CliRunTest, AnimationsFromSubfoldersTellWhatTheyLeaveOut) {
  for (const char* sub : {"/walk", "/run", "/empty"}) mkdir((folder() + sub).c_str(), 0755);
  frame("walk/w1.png", 4, 2, 10);
  frame("walk/w2.png", 4, 2, 20);
  frame("run/r1.png", 4, 2, 30);
  const std::string templ = dir_.path() + "anims.txt";
  testing::writeFile(templ,
                     "ov.Extension = \".txt\"\nov.EachAnimation\n"
                     "ov.AnimationName ov.AnimationFirstIndex-ov.AnimationLastIndex ov.FrameRate\n"
                     "ov.NextAnimation\n");
  const std::string data = dir_.path() + "anims.out";
  EXPECT_EQ(run({"--sheet", sheet(), "--animations", "folders", "--script", templ, "--data", data,
                 folder()}),
            (CliRun{0, "Wrote " + sheet() + ": 12 x 2 pixels, 3 frames.\n",
                    "orvane-zozivi-cli: The subfolder \"empty\" holds no PNG frames, so no "
                    "animation comes of it.\n"}));
  EXPECT_EQ(testing::readFile(data), "run 0-0 12\nwalk 1-2 12\n");

  // Two names that differ only in bytes that are not UTF-8 are one in JSON.
  for (const char* sub : {"/a\xff", "/a\xfe"}) mkdir((folder() + sub).c_str(), 0755);
  frame("a\xff/1.png", 4, 2, 40);
  frame("a\xfe/1.png", 4, 2, 50);
  unlink(sheet().c_str());
  const CliRun r = run({"--sheet", sheet(), "--animations", "folders", folder()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "Wait! The animations \"a\xfe\" and \"a\xff\" cannot be told apart in the script! "
            "Unable to create sprite sheet/strip.\nWritten in JSON, both names are "
            "\"a\xEF\xBF\xBD\": rename one of them.\n");
  EXPECT_FALSE(testing::fileExists(sheet()));
}

// What the script's reader will get wrong is told on standard error; the
// script is written all the same.
TEST_F(CliRunTest, NoticesOfTheScriptGoToStandardErrorAndTheScriptIsWritten) {
  mkdir(home().c_str(), 0700);
  frame("walk 1.png", 4, 2, 40);
  frame("walk-1.png", 4, 2, 80);
  const std::string css = dir_.path() + "css.txt";
  testing::writeFile(css,
                     "ov.Extension = \".css\"\nov.Repeat\n.s-ov.ImageClassCSS {}\n"
                     "ov.Until = ov.ImageCount\n");
  const std::string data = dir_.path() + "walk.css";
  const CliRun r = run({"--sheet", sheet(), "--script", css, "--data", data, folder()});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("orvane-zozivi-cli: The frames \"walk 1.png\" and \"walk-1.png\" get "
                       "the same class name, \"walk-1\""),
            std::string::npos)
      << r.err;
  EXPECT_EQ(testing::readFile(data), ".s-walk-1 {}\n.s-walk-1 {}\n");

  // The HTML5 example steps through the sheet by the frame size.
  const std::string page = dir_.path() + "walk.html";
  EXPECT_EQ(
      run({"--sheet", sheet(), "--spacing", "2", "--script", "HTML5", "--data", page, folder()}),
      (CliRun{0, "Wrote " + sheet() + ": 10 x 2 pixels, 2 frames.\n",
              "orvane-zozivi-cli: The script gives the frames' size but not their places "
              "on the sheet: with a spacing of 2 pixels, whatever steps through the sheet "
              "by the frame size draws the wrong pixels.\n"}));
  EXPECT_NE(testing::readFile(page).find("canvas.width = 4;"), std::string::npos);
}

TEST_F(CliRunTest, ScriptOnStandardOutputMovesTheReportToStandardErrorAndDevicesAreWrittenThrough) {
  frames(2, 4, 2);
  const std::string clipboard = dir_.path() + "clip.txt";
  testing::writeFile(clipboard,
                     "ov.Extension = \"Clipboard\"\nov.Repeat\nov.ImageName\nov.Until = 2\n");
  const std::string wrote = "Wrote " + sheet() + ": 8 x 2 pixels, 2 frames.\n";
  EXPECT_EQ(run({"--sheet", sheet(), "--script", clipboard, folder()}),
            (CliRun{0, "f1\r\nf2\r\n", wrote}));
  // The same sheet each time from here on.
  const std::string kept = sheet() + " unchanged: 8 x 2 pixels, 2 frames.\n";

  const std::string file = dir_.path() + "names.txt";
  testing::writeFile(file, "ov.Extension = \".txt\"\nov.SheetName ov.ImageCount\n");
  EXPECT_EQ(
      run({"--sheet", sheet(), "--script", file, "--data", "-", "--sprite-number", "3", folder()}),
      (CliRun{0, "sheet.png 2\n", kept}));
  EXPECT_EQ(
      run({"--sheet", sheet(), "--script", file, folder()}),
      (CliRun{0, kept, "No --data PATH given: only the sheet was written, not the script.\n"}));

  // Outputs that are no plain files are written through by the atomic file;
  // here the failures' messages and the stream that /dev/stdout names.
  testing::writeFile(file, "ov.Extension = \".txt\"\nov.Repeat\nov.ImageName\nov.Until = 2\n");
  const auto script = [&](const std::string& sheetPath, const std::string& data) {
    return run({"--sheet", sheetPath, "--script", file, "--data", data, folder()});
  };
  const std::string null = testing::deviceNode(dir_, "null");
  const std::string full = testing::deviceNode(dir_, "full");
  EXPECT_EQ(script(sheet(), full),
            (CliRun{3, kept, "Save Error! Unable to save the script to \"" + full + "\".\n"}));
  EXPECT_EQ(
      script(full, null),
      (CliRun{3, "", "Save Error! Unable to save the sprite sheet/strip to \"" + full + "\".\n"}));
  EXPECT_EQ(script(sheet(), "/dev/stdout"), (CliRun{0, "f1\nf2\n", kept}));
}

// A template whose loop would run two billion times, far longer than a test.
constexpr std::string_view kEndlessTemplate =
    "ov.Extension = \".txt\"\nov.Repeat\nov.ImageName ov.ImageX ov.ImageY\nov.Until = 2000000000\n";

TEST_F(CliRunTest, AFailedScriptWriteEndsTheExportAtOnce) {
  frames(1, 4, 2);
  const std::string endless = dir_.path() + "endless.txt";
  testing::writeFile(endless, kEndlessTemplate);
  const std::string data = dir_.path() + "data.txt";
  testing::writeFile(data, "old");
  // A full disk.
  EXPECT_EQ(run({"--sheet", sheet(), "--script", endless, "--data", data, folder()},
                {.fileSize = 64 * 1024}),
            (CliRun{3, "Wrote " + sheet() + ": 4 x 2 pixels, 1 frame.\n",
                    "Save Error! Unable to save the script to \"" + data + "\".\n"}));
  EXPECT_EQ(testing::readFile(data), "old");
  // A closed pipe: reported, not a silent death.
  EXPECT_EQ(run({"--sheet", sheet(), "--script", endless, "--data", "-", folder()},
                {.closedStandardOutput = true}),
            (CliRun{3, "",
                    "Save Error! Unable to save the script to \"standard output\".\n" + sheet() +
                        " unchanged: 4 x 2 pixels, 1 frame.\n"}));
}

// Ctrl-C, a kill or a closed terminal while the script or the sheet is being
// written: the run ends with 128 + the signal's number, the old files stay.
TEST_F(CliRunTest, SignalsLeaveTheOldOutputsAndNoTemporaryFile) {
  noiseFrames(16);
  const std::string endless = dir_.path() + "endless.txt";
  testing::writeFile(endless, kEndlessTemplate);
  const std::string data = dir_.path() + "data.txt";
  testing::writeFile(data, "old data");
  testing::writeFile(sheet(), "old sheet");

  const auto interrupt = [&](const std::vector<std::string>& args, int signal) {
    const pid_t pid = start(args);
    // Waits for the temporary file to be opened, then sends the signal.
    for (int waited = 0; !writesTemporaryFile(pid) && waited < 60000; ++waited) usleep(1000);
    EXPECT_TRUE(writesTemporaryFile(pid));
    kill(pid, signal);
    return finish(pid).status;
  };
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    EXPECT_EQ(interrupt({"--sheet", dir_.path() + "new.png", "--script", endless, "--data", data,
                         folder()},
                        signal),
              128 + signal);
    EXPECT_EQ(testing::readFile(data), "old data");
    EXPECT_TRUE(temporaryFiles(dir_.path()).empty());
  }
  // The smallest form takes the longest to compress: the signal comes while
  // the sheet is being written, however busy the machine.
  EXPECT_EQ(interrupt({"--sheet", sheet(), "--columns", "4", "--smallest", folder()}, SIGINT),
            128 + SIGINT);
  EXPECT_EQ(testing::readFile(sheet()), "old sheet");
  EXPECT_TRUE(temporaryFiles(dir_.path()).empty());
}

// kill -9 cannot be caught: at whatever moment of a build it comes, each
// output is the old file or the whole new one, and no other name is left.
TEST_F(CliRunTest, KillNineAtAnyMomentLeavesEachOutputOldOrWholeAndNoOtherName) {
  noiseFrames(32);
  const std::string listing = dir_.path() + "listing.txt";
  testing::writeFile(listing,
                     "ov.Repeat\nov.ImageName ov.ImageX,ov.ImageY\nov.Until = ov.ImageCount\n");
  const std::string data = dir_.path() + "data.txt";
  const std::vector<std::string> args{"--sheet", sheet(),  "--columns", "8",     "--script",
                                      listing,   "--data", data,        folder()};
  // Whole runs first: the new outputs, and how long a build takes at the
  // fastest, so that the kills below fall within one.
  auto buildTime = std::chrono::steady_clock::duration::max();
  for (int whole = 0; whole < 3; ++whole) {
    const auto begun = std::chrono::steady_clock::now();
    ASSERT_EQ(run(args).status, 0);
    buildTime = std::min(buildTime, std::chrono::steady_clock::now() - begun);
  }
  const std::string newSheet = testing::readFile(sheet());
  const std::string newData = testing::readFile(data);
  ASSERT_FALSE(newData.empty());

  const auto putOldOutputs = [&] {
    testing::writeFile(sheet(), "old sheet");
    testing::writeFile(data, "old data");
  };
  putOldOutputs();
  const std::vector<std::string> entries = *listDirectory(dir_.path());
  std::mt19937 random(20261208);
  std::uniform_int_distribution<int64_t> moment(
      0, std::chrono::duration_cast<std::chrono::microseconds>(buildTime).count());
  int oldKept = 0;
  for (int kill9 = 0; kill9 < 36; ++kill9) {
    const pid_t pid = start(args);
    usleep(static_cast<useconds_t>(moment(random)));
    kill(pid, SIGKILL);
    finish(pid);
    EXPECT_EQ(*listDirectory(dir_.path()), entries) << "kill " << kill9;
    const std::string sheetNow = testing::readFile(sheet());
    const std::string dataNow = testing::readFile(data);
    EXPECT_TRUE(sheetNow == "old sheet" || sheetNow == newSheet) << "kill " << kill9;
    EXPECT_TRUE(dataNow == "old data" || dataNow == newData) << "kill " << kill9;
    if (sheetNow == "old sheet") ++oldKept;
    putOldOutputs();
  }
  // Most kills come before the build's end; with none this would show nothing.
  EXPECT_GE(oldKept, 9);
}

// Which files are unreadable is the reader's own test; here the message and status.
TEST_F(CliRunTest, AnUnreadableTemplateFailsAfterTheSheet) {
  frames(1, 4, 2);
  const std::string fifo = dir_.path() + "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const CliRun r = run({"--sheet", sheet(), "--script", fifo, "--data", "-", folder()});
  EXPECT_EQ(r.status, 3);
  // Standard output was to carry the script: nothing else may be left there.
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "Wait! The \"" + fifo + "\" script could not be read.\n\"" + fifo +
                       "\" is not a plain file.\nWrote " + sheet() + ": 4 x 2 pixels, 1 frame.\n");
  EXPECT_TRUE(testing::fileExists(sheet())) << "the sheet is written first";
}

TEST_F(CliRunTest, RunningOutOfMemoryIsSaidAsSuchAndWritesNothing) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer needs more address space than the limit leaves";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  GTEST_SKIP() << "the address sanitizer needs more address space than the limit leaves";
#endif
#endif
  // 8 x 8 frames of 1024 x 1024 make a 256 MB sheet, in a process allowed 192 MB.
  frame("f01.png", 1024, 1024, 9);
  const std::string frameBytes = testing::readFile(folder() + "/f01.png");
  for (int i = 2; i <= 64; ++i)
    testing::writeFile(folder() + "/f" + std::to_string(i) + ".png", frameBytes);
  EXPECT_EQ(
      run({"--sheet", sheet(), "--columns", "8", folder()},
          {.addressSpace = rlim_t{192} * 1024 * 1024}),
      (CliRun{1, "",
              "Out of Memory! There is not enough memory to create the sprite sheet/strip.\n"}));
  EXPECT_FALSE(testing::fileExists(sheet()));
}

}  // namespace
}  // namespace oz
