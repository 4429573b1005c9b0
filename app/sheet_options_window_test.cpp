#include "app/sheet_options_window.h"

#include <gtest/gtest.h>

#include "app/window_fixture.h"

namespace oz {
namespace {

class SheetOptionsWindowTest : public WindowFixture {
 protected:
  void openOptions() {
    menu(MenuItem::SheetOptions);
    ASSERT_TRUE(toolkit_.isWindowOpen(Window::SheetOptions));
  }
};

TEST_F(SheetOptionsWindowTest, TransparentIsEnabledOnlyAtEightAndFourBitsAndKeepsItsTick) {
  start();
  choose(Control::DepthList, kDepth8);
  openOptions();
  EXPECT_EQ(toolkit_.window(Window::SheetOptions).title, "Sheet Options");
  EXPECT_EQ(toolkit_.control(Control::Transparent).text, "Transparent");
  click(Control::Transparent);

  // The depth changes in the main window while the options window is open.
  const bool transparentAt[] = {false, false, true, true, false, false};
  for (int depth = 0; depth < static_cast<int>(std::size(transparentAt)); ++depth) {
    choose(Control::DepthList, depth);
    EXPECT_EQ(toolkit_.isEnabled(Control::Transparent), transparentAt[depth]) << depth;
    EXPECT_EQ(toolkit_.isEnabled(Control::TransparentNote), transparentAt[depth]) << depth;
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

  toolkit_.requestClose(Window::SheetOptions);
  toolkit_.requestClose(Window::Main);
  EXPECT_FALSE(runQueued());
  EXPECT_EQ(settingsBytes(),
            "\xEF\xBB\xBF\n[Settings]\nColor Depth = 2\nPremultiplied Alpha = 0\n"
            "Transparent = 1\nColumns = 4\n");
}

TEST_F(SheetOptionsWindowTest, StoredChoicesAreRestoredAtStartAndReachTheBuild) {
  testing::writeFile(support_.settingsPath(),
                     "[Settings]\nColor Depth = 3\nTransparent = 1\nPremultiplied Alpha = 1\n");
  start();
  BuildOptions options = window_.buildOptions();
  EXPECT_TRUE(options.transparent);
  EXPECT_TRUE(options.premultipliedAlpha);
  openOptions();
  EXPECT_EQ(toolkit_.state(Control::Transparent), 1);
  EXPECT_EQ(toolkit_.state(Control::PremultipliedAlpha), 1);

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

TEST_F(SheetOptionsWindowTest, AnOldSettingsFileBuildsStraightAlphaOnTheBackground) {
  testing::writeFile(support_.settingsPath(), "[Settings]\nColor Depth = 2\nPink = 1\n");
  start();
  const BuildOptions options = window_.buildOptions();
  EXPECT_FALSE(options.transparent);
  EXPECT_FALSE(options.premultipliedAlpha);
  EXPECT_TRUE(options.pink);
  openOptions();
  EXPECT_EQ(toolkit_.state(Control::Transparent), 0);
  EXPECT_EQ(toolkit_.state(Control::PremultipliedAlpha), 0);
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

  toolkit_.requestClose(Window::SheetOptions);
  toolkit_.requestClose(Window::Main);
  EXPECT_FALSE(runQueued());
  const std::string stored = settingsBytes();
  for (const char* line : {"\nAlpha Bleeding = 1\n", "\nIdentical Frames Once = 1\n",
                           "\nSpacing = 3\n", "\nBorder = 64\n", "\nExtrude = 2\n"}) {
    EXPECT_NE(stored.find(line), std::string::npos) << line << stored;
  }
}

}  // namespace
}  // namespace oz
