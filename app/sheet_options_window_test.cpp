#include "app/sheet_options_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "app/main_window_layout.h"
#include "app/window_fixture.h"
#include "cli/run_cli.h"
#include "sheet/png/png_read.h"
#include "sheet/png/rgba_image.h"

namespace oz {
namespace {

// The packed layout's own controls: ticks with their notes, the threshold
// field and the size list with their labels.
constexpr int kPackedOnly[] = {
    Control::TrimTransparentEdges,  Control::TrimTransparentEdgesNote,
    Control::AllowRotation,         Control::AllowRotationNote,
    Control::SeveralSheets,         Control::SeveralSheetsNote,
    Control::SquareSheets,          Control::SquareSheetsNote,
    Control::LargestSheetSizeLabel, Control::LargestSheetSize,
    Control::LargestSheetSizeNote,
};

class SheetOptionsWindowTest : public WindowFixture {
 protected:
  void openOptions() {
    menu(MenuItem::SheetOptions);
    ASSERT_TRUE(toolkit_.isWindowOpen(Window::SheetOptions));
  }
  // Both windows closed, which ends the program and writes the settings.
  void quit() {
    toolkit_.requestClose(Window::SheetOptions);
    toolkit_.requestClose(Window::Main);
    EXPECT_FALSE(runQueued());
  }

  // Runs the command line with `args` before the folder; true when it wrote.
  bool runCommandLine(std::vector<std::string> args, const std::string& folder) {
    args.insert(args.begin(), "orvane-zozivi-cli");
    args.push_back(folder);
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int status = runCli(static_cast<int>(argv.size()), argv.data(), out, err);
    std::fclose(out);
    std::fclose(err);
    return status == kExitWritten;
  }
};

// "Transparent" and the quantiser apply at the palette depths only.
TEST_F(SheetOptionsWindowTest, PaletteChoicesAreEnabledOnlyAtEightAndFourBitsAndKeepTheirTick) {
  start();
  choose(Control::DepthList, kDepth8);
  openOptions();
  EXPECT_EQ(toolkit_.window(Window::SheetOptions).title, "Sheet Options");
  EXPECT_EQ(toolkit_.control(Control::Transparent).text, "Transparent");
  click(Control::Transparent);

  // The depth changes in the main window while the options window is open.
  const bool paletteAt[] = {false, false, true, true, false, false};
  for (int depth = 0; depth < static_cast<int>(std::size(paletteAt)); ++depth) {
    choose(Control::DepthList, depth);
    for (int control : {Control::Transparent, Control::TransparentNote, Control::Quantiser,
                        Control::QuantiserLabel, Control::QuantiserNote}) {
      EXPECT_EQ(toolkit_.isEnabled(control), paletteAt[depth]) << depth << " " << control;
    }
    EXPECT_TRUE(toolkit_.isEnabled(Control::PremultipliedAlpha)) << depth;
    EXPECT_EQ(toolkit_.state(Control::Transparent), 1) << depth;
  }

  // Closed with Escape, opened anew at 1-bit: shown ticked and disabled.
  toolkit_.pressEscape(Window::SheetOptions);
  runQueued();
  EXPECT_FALSE(toolkit_.isWindowOpen(Window::SheetOptions));
  choose(Control::DepthList, kDepth1);
  openOptions();
  EXPECT_EQ(toolkit_.state(Control::Transparent), 1);
  EXPECT_FALSE(toolkit_.isEnabled(Control::Transparent));
}

TEST_F(SheetOptionsWindowTest, TicksAreStoredAtOnceUnderTheirKeys) {
  testing::writeFile(support_.settingsPath(), "[Settings]\nColor Depth = 2\n");
  start();
  openOptions();
  click(Control::PremultipliedAlpha);
  settings_.selectGroup("Settings");
  EXPECT_EQ(settings_.readInteger("Premultiplied Alpha", -1), 1);
  click(Control::Transparent);
  click(Control::PremultipliedAlpha);

  quit();
  EXPECT_EQ(settingsBytes(),
            "\xEF\xBB\xBF\n[Settings]\nColor Depth = 2\nPremultiplied Alpha = 0\n"
            "Transparent = 1\nColumns = 4\n");
}

TEST_F(SheetOptionsWindowTest, StoredChoicesAreRestoredAtStartAndReachTheBuild) {
  testing::writeFile(support_.settingsPath(),
                     "[Settings]\nColor Depth = 3\nTransparent = 1\nPremultiplied Alpha = 1\n"
                     "Quantiser = kmeans\n");
  start();
  BuildOptions options = window_.buildOptions();
  EXPECT_TRUE(options.transparent);
  EXPECT_TRUE(options.premultipliedAlpha);
  EXPECT_EQ(options.quantiser, PaletteQuantiser::KMeans);
  openOptions();
  EXPECT_EQ(toolkit_.state(Control::Transparent), 1);
  EXPECT_EQ(toolkit_.state(Control::PremultipliedAlpha), 1);
  EXPECT_EQ(toolkit_.state(Control::Quantiser), 1);

  // A choice that does nothing at the depth goes to the build switched off.
  choose(Control::DepthList, kDepth1);
  options = window_.buildOptions();
  EXPECT_FALSE(options.transparent);
  EXPECT_TRUE(options.premultipliedAlpha);

  // Unticked in the window, then the window closed: the build follows.
  click(Control::PremultipliedAlpha);
  toolkit_.requestClose(Window::SheetOptions);
  runQueued();
  choose(Control::DepthList, kDepth8);
  options = window_.buildOptions();
  EXPECT_TRUE(options.transparent);
  EXPECT_FALSE(options.premultipliedAlpha);
}

// The cells' choices: two ticks and three fields of pixels, stored at once,
// restored at start, and in the build; bleeding never with premultiplied alpha.
TEST_F(SheetOptionsWindowTest, CellChoicesAreStoredRestoredAndBuilt) {
  testing::writeFile(support_.settingsPath(), "[Settings]\nExtrude = 99\nBorder = -3\n");
  start();
  EXPECT_EQ(window_.buildOptions().extrude, kMaxExtrude);  // out of range: clamped
  EXPECT_EQ(window_.buildOptions().border, 0);
  openOptions();
  EXPECT_EQ(toolkit_.state(Control::Extrude), kMaxExtrude);
  EXPECT_EQ(toolkit_.control(Control::AlphaBleeding).text, "Alpha Bleeding");
  click(Control::AlphaBleeding);
  click(Control::IdenticalFramesOnce);
  toolkit_.setSpinValue(Control::Spacing, 3);
  toolkit_.setSpinValue(Control::Border, 65);  // the field stops at its largest
  toolkit_.setSpinValue(Control::Extrude, 2);
  runQueued();
  BuildOptions options = window_.buildOptions();
  EXPECT_TRUE(options.bleed && options.dedupe);
  EXPECT_EQ(options.spacing, 3);
  EXPECT_EQ(options.border, kMaxBorder);
  EXPECT_EQ(options.extrude, 2);
  click(Control::PremultipliedAlpha);
  EXPECT_FALSE(window_.buildOptions().bleed);
  EXPECT_FALSE(toolkit_.isEnabled(Control::AlphaBleeding));
  EXPECT_EQ(toolkit_.state(Control::AlphaBleeding), 1);

  quit();
  const std::string stored = settingsBytes();
  for (const char* line : {"\nAlpha Bleeding = 1\n", "\nIdentical Frames Once = 1\n",
                           "\nSpacing = 3\n", "\nBorder = 64\n", "\nExtrude = 2\n"}) {
    EXPECT_NE(stored.find(line), std::string::npos) << line << stored;
  }
}

// The quantiser's list: stored at once by name, and in the build where it applies.
TEST_F(SheetOptionsWindowTest, TheQuantiserIsStoredAndReachesTheBuildAtPaletteDepths) {
  start();
  choose(Control::DepthList, kDepth4);
  openOptions();
  EXPECT_EQ(toolkit_.control(Control::Quantiser).entries,
            (std::vector<std::string>{"Neural network", "K-means"}));
  EXPECT_EQ(toolkit_.state(Control::Quantiser), 0);
  choose(Control::Quantiser, 1);
  settings_.selectGroup("Settings");
  EXPECT_EQ(settings_.readText("Quantiser", ""), "kmeans");
  EXPECT_EQ(window_.buildOptions().quantiser, PaletteQuantiser::KMeans);
  choose(Control::DepthList, kDepth1);  // a choice that does nothing goes off to the build
  EXPECT_EQ(window_.buildOptions().quantiser, PaletteQuantiser::Network);
  EXPECT_EQ(toolkit_.state(Control::Quantiser), 1);  // and stays shown
}

TEST_F(SheetOptionsWindowTest, AnUnknownQuantiserIsTheNetworkAndStaysInTheFileUntilChosen) {
  testing::writeFile(support_.settingsPath(),
                     "[Settings]\nColor Depth = 2\nQuantiser = median cut\n");
  start();
  EXPECT_EQ(window_.buildOptions().quantiser, PaletteQuantiser::Network);
  openOptions();
  EXPECT_EQ(toolkit_.state(Control::Quantiser), 0);
  quit();
  EXPECT_EQ(settingsBytes(),
            "\xEF\xBB\xBF\n[Settings]\nColor Depth = 2\nQuantiser = median cut\nColumns = 4\n");
}

// A k-means sheet made in the window is the command line's, byte for byte;
// and differs from the network's, so the choice did reach the build.
TEST_F(SheetOptionsWindowTest, AKMeansSheetFromTheWindowIsTheCommandLinesByteForByte) {
  for (int f = 0; f < 3; ++f) {
    RgbaImage image{24, 24, std::vector<uint8_t>(24 * 24 * 4, 255)};
    for (size_t p = 0; p < 24 * 24; ++p) {  // 1728 colours in all: more than a palette holds
      image.pixels[p * 4] = static_cast<uint8_t>(p % 24 * 10);
      image.pixels[p * 4 + 1] = static_cast<uint8_t>(p / 24 * 10);
      image.pixels[p * 4 + 2] = static_cast<uint8_t>(f * 90 + p % 7 * 9);
    }
    writeFrame("f" + std::to_string(f) + ".png", image);
  }
  start();
  choose(Control::DepthList, kDepth8);
  chooseFolderAndSheet(frames_, temp_.path() + "network.png");
  toolkit_.answerMessage(MessageResult::No);
  click(Control::Create);
  openOptions();
  choose(Control::Quantiser, 1);
  toolkit_.answerSaveFile(temp_.path() + "window.png");
  click(Control::SheetPathButton);
  toolkit_.answerMessage(MessageResult::No);
  click(Control::Create);

  const std::string cli = temp_.path() + "cli.png";
  ASSERT_TRUE(runCommandLine({"--sheet", cli, "--depth", "8", "--quantiser", "kmeans"}, frames_));
  const std::string windowSheet = testing::readFile(temp_.path() + "window.png");
  EXPECT_FALSE(windowSheet.empty());
  EXPECT_EQ(windowSheet, testing::readFile(cli));
  EXPECT_NE(windowSheet, testing::readFile(temp_.path() + "network.png"));
}

// "Layout:" decides which choices apply: the packed layout's are disabled
// with the grid and go to the build off, keeping their ticks and values;
// the threshold needs trimming too. Each is stored at once.
TEST_F(SheetOptionsWindowTest, ThePackedChoicesApplyOnlyWhilePackedIsChosen) {
  start();
  openOptions();
  EXPECT_EQ(toolkit_.control(Control::Layout).entries,
            (std::vector<std::string>{"Grid", "Packed"}));
  EXPECT_EQ(toolkit_.control(Control::LargestSheetSize).entries,
            (std::vector<std::string>{"1024", "2048", "4096", "8192"}));
  EXPECT_EQ(toolkit_.state(Control::Layout), 0);
  EXPECT_EQ(toolkit_.state(Control::LargestSheetSize), 3);
  EXPECT_TRUE(toolkit_.isEnabled(Control::Layout));
  for (int control : kPackedOnly) EXPECT_FALSE(toolkit_.isEnabled(control)) << control;
  EXPECT_FALSE(toolkit_.isEnabled(Control::TrimThreshold));

  choose(Control::Layout, 1);
  for (int control : kPackedOnly) EXPECT_TRUE(toolkit_.isEnabled(control)) << control;
  EXPECT_FALSE(toolkit_.isEnabled(Control::TrimThreshold));  // not trimmed yet
  click(Control::TrimTransparentEdges);
  EXPECT_TRUE(toolkit_.isEnabled(Control::TrimThreshold));
  EXPECT_TRUE(toolkit_.isEnabled(Control::TrimThresholdLabel));
  toolkit_.setSpinValue(Control::TrimThreshold, 300);  // the field stops at its largest
  click(Control::AllowRotation);
  click(Control::SeveralSheets);
  click(Control::SquareSheets);
  choose(Control::LargestSheetSize, 1);
  BuildOptions options = window_.buildOptions();
  EXPECT_TRUE(options.packed && options.trim && options.rotate && options.multipack &&
              options.square);
  EXPECT_EQ(options.trimThreshold, kMaxTrimThreshold);
  EXPECT_EQ(options.maxSize, 2048);

  click(Control::TrimTransparentEdges);  // off: the threshold with it
  EXPECT_FALSE(toolkit_.isEnabled(Control::TrimThreshold));
  EXPECT_EQ(window_.buildOptions().trimThreshold, 0);
  click(Control::TrimTransparentEdges);

  choose(Control::Layout, 0);
  for (int control : kPackedOnly) EXPECT_FALSE(toolkit_.isEnabled(control)) << control;
  EXPECT_FALSE(toolkit_.isEnabled(Control::TrimThreshold));
  EXPECT_EQ(toolkit_.state(Control::AllowRotation), 1);
  EXPECT_EQ(toolkit_.state(Control::LargestSheetSize), 1);
  options = window_.buildOptions();
  EXPECT_EQ(static_cast<const SpriteOptions&>(options),
            static_cast<const SpriteOptions&>(optionsFromControls(toolkit_)))
      << "the grid builds as if the packed choices had never been made";

  quit();
  EXPECT_EQ(settingsBytes(),
            "\xEF\xBB\xBF\n[Settings]\nLayout = grid\nTrim Transparent Edges = 1\n"
            "Trim Threshold = 254\nAllow Rotation = 1\nSeveral Sheets When Needed = 1\n"
            "Square Sheets = 1\nLargest Sheet Size = 2048\nColumns = 4\n");
}

// Restored at start: the main window's strip, sheet and columns, which the
// packed layout does not read, are disabled at once and come back with the
// grid as they were.
TEST_F(SheetOptionsWindowTest, PackedDisablesTheMainWindowsGridControlsKeepingTheirValues) {
  testing::writeFile(support_.settingsPath(),
                     "[Settings]\nLayout = packed\nAllow Rotation = 1\nLargest Sheet Size = 1024\n"
                     "Columns = 7\n");
  start();
  const BuildOptions options = window_.buildOptions();
  EXPECT_TRUE(options.packed && options.rotate);
  EXPECT_EQ(options.maxSize, 1024);
  const int gridControls[] = {Control::Strip, Control::Sheet, Control::ColumnsLabel,
                              Control::ColumnsField};
  for (int control : gridControls) EXPECT_FALSE(toolkit_.isEnabled(control)) << control;
  EXPECT_TRUE(toolkit_.isEnabled(Control::PowerOf2));  // the packed sheets honour it

  openOptions();
  EXPECT_EQ(toolkit_.state(Control::Layout), 1);
  EXPECT_EQ(toolkit_.state(Control::AllowRotation), 1);
  EXPECT_EQ(toolkit_.state(Control::LargestSheetSize), 0);
  choose(Control::Layout, 0);
  for (int control : gridControls) EXPECT_TRUE(toolkit_.isEnabled(control)) << control;
  EXPECT_EQ(toolkit_.text(Control::ColumnsField), "7");
  EXPECT_EQ(toolkit_.state(Control::Sheet), 1);

  // With a strip chosen, the grid brings back the strip's controls only.
  click(Control::Strip);
  choose(Control::Layout, 1);
  EXPECT_FALSE(toolkit_.isEnabled(Control::Strip));
  choose(Control::Layout, 0);
  EXPECT_TRUE(toolkit_.isEnabled(Control::Strip));
  EXPECT_TRUE(toolkit_.isEnabled(Control::Sheet));
  EXPECT_FALSE(toolkit_.isEnabled(Control::ColumnsField));
  EXPECT_EQ(toolkit_.state(Control::Strip), 1);
}

// Where animations come from and their rate: stored at once by name and
// number, restored at start, in the build at every depth and layout; a rate
// of 0, none chosen, shows the rate that applies, which follows the choice.
TEST_F(SheetOptionsWindowTest, AnimationsAndTheirFrameRateAreStoredRestoredAndBuilt) {
  testing::writeFile(support_.settingsPath(),
                     "[Settings]\nAnimations = prefixes\nFrame Rate = 99\nColor Depth = 4\n");
  start();
  BuildOptions options = window_.buildOptions();
  EXPECT_EQ(options.animations, AnimationSource::Prefixes);
  EXPECT_EQ(options.frameRate, kMaxFrameRate);  // out of range: clamped
  openOptions();
  EXPECT_EQ(toolkit_.control(Control::Animations).entries,
            (std::vector<std::string>{"None", "Subfolders", "Name Prefixes"}));
  EXPECT_EQ(toolkit_.state(Control::Animations), 2);
  EXPECT_EQ(toolkit_.shownText(Control::FrameRate), "60");
  choose(Control::Layout, 1);
  for (int control : {Control::Animations, Control::AnimationsLabel, Control::AnimationsNote,
                      Control::FrameRate, Control::FrameRateLabel}) {
    EXPECT_TRUE(toolkit_.isEnabled(control)) << control;
  }

  toolkit_.setSpinValue(Control::FrameRate, 0);
  runQueued();
  EXPECT_EQ(toolkit_.shownText(Control::FrameRate), "12 (default)");
  choose(Control::Animations, 0);
  EXPECT_EQ(toolkit_.shownText(Control::FrameRate), "10 (default)");
  options = window_.buildOptions();
  EXPECT_EQ(options.animations, AnimationSource::None);
  EXPECT_EQ(options.frameRate, 0);

  quit();
  EXPECT_EQ(settingsBytes(),
            "\xEF\xBB\xBF\n[Settings]\nAnimations = none\nFrame Rate = 0\n"
            "Color Depth = 4\nLayout = packed\nColumns = 4\n");
}

// A packed, trimmed, turned, square sheet with animations made in the window
// is the command line's, byte for byte, and so is its script.
TEST_F(SheetOptionsWindowTest, APackedSheetFromTheWindowIsTheCommandLinesByteForByte) {
  addScript("Animations",
            "ov.Extension = \".txt\"\nov.EachAnimation\n"
            "ov.AnimationName ov.AnimationFirstIndex ov.AnimationFrameCount ov.FrameRate\n"
            "ov.NextAnimation\n");
  const int sizes[][2] = {{40, 12}, {12, 30}, {20, 20}, {9, 33}};
  const char* names[] = {"run_1", "run_2", "walk_1", "walk_2"};
  for (int f = 0; f < 4; ++f) {
    const int width = sizes[f][0];
    const int height = sizes[f][1];
    RgbaImage image{width, height, std::vector<uint8_t>(size_t(width) * height * 4, 0)};
    for (int y = 2; y < height - 1; ++y) {  // a clear edge above, below and to the left
      for (int x = 1 + f; x < width; ++x) {
        uint8_t* pixel = &image.pixels[(size_t(y) * width + x) * 4];
        pixel[0] = static_cast<uint8_t>(x * 6);
        pixel[1] = static_cast<uint8_t>(y * 7);
        pixel[2] = static_cast<uint8_t>(f * 60);
        pixel[3] = static_cast<uint8_t>(y == 2 ? 10 : 255);  // under the threshold
      }
    }
    writeFrame(names[f] + std::string(".png"), image);
  }
  start();
  openOptions();
  choose(Control::Animations, 2);
  toolkit_.setSpinValue(Control::FrameRate, 24);
  choose(Control::Layout, 1);
  click(Control::TrimTransparentEdges);
  toolkit_.setSpinValue(Control::TrimThreshold, 10);
  click(Control::AllowRotation);
  click(Control::SquareSheets);
  choose(Control::LargestSheetSize, 0);
  toolkit_.setSpinValue(Control::Spacing, 1);
  runQueued();
  chooseFolderAndSheet(frames_, temp_.path() + "window.png");
  choose(Control::ScriptList, 1);
  toolkit_.type(Control::ScriptPathField, temp_.path() + "window.txt");
  toolkit_.answerMessage(MessageResult::No);
  click(Control::Create);

  const std::string cli = temp_.path() + "cli.png";
  ASSERT_TRUE(runCommandLine({"--sheet",
                              cli,
                              "--layout",
                              "packed",
                              "--trim",
                              "--trim-threshold",
                              "10",
                              "--rotate",
                              "--square",
                              "--max-size",
                              "1024",
                              "--spacing",
                              "1",
                              "--animations",
                              "prefixes",
                              "--fps",
                              "24",
                              "--script",
                              support_.file("Animations.txt"),
                              "--data",
                              temp_.path() + "cli.txt"},
                             frames_));
  const std::string windowSheet = testing::readFile(temp_.path() + "window.png");
  EXPECT_FALSE(windowSheet.empty());
  EXPECT_EQ(windowSheet, testing::readFile(cli));
  EXPECT_EQ(testing::readFile(temp_.path() + "window.txt"), "run 0 2 24\nwalk 2 2 24\n");
  EXPECT_EQ(testing::readFile(temp_.path() + "cli.txt"), "run 0 2 24\nwalk 2 2 24\n");
  const std::optional<PngSize> size = readPngSize(cli);
  ASSERT_TRUE(size);
  EXPECT_EQ(size->width, size->height);
}

}  // namespace
}  // namespace oz
