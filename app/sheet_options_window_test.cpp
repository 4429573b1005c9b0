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

}  // namespace
}  // namespace oz
