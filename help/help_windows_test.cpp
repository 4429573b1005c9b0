#include "help/help_windows.h"

#include <gtest/gtest.h>

#include <string>

#include "help/app_icon.h"
#include "help/help_document.h"
#include "help/web_addresses.h"
#include "toolkit/fake_toolkit.h"

namespace oz {
namespace {

class HelpWindowsTest : public ::testing::Test {
 protected:
  HelpWindowsTest() {
    toolkit_.openWindow(Window::Main, "Orvane Zozivi", 340, 425, {});
    toolkit_.setResizeHandler([this](int window) {
      if (window == Window::Help) relayoutHelpWindow(toolkit_);
    });
  }

  FakeToolkit toolkit_{[](const std::string& m) { ADD_FAILURE() << m; }};
};

TEST_F(HelpWindowsTest, HelpTextKeepsItsMarginsAndOpeningAgainGivesAFreshWindow) {
  openHelpWindow(toolkit_);
  toolkit_.resize(Window::Help, 15, 5);
  EXPECT_EQ(toolkit_.geometry(Control::HelpText), (Rect{10, 10, 0, 0}));
  openHelpWindow(toolkit_);
  EXPECT_EQ(toolkit_.window(Window::Help).width, 1024);
  EXPECT_EQ(toolkit_.geometry(Control::HelpText), (Rect{10, 10, 1004, 600}));
  EXPECT_EQ(toolkit_.text(Control::HelpText), helpDocument());

  openAboutWindow(toolkit_);
  openAboutWindow(toolkit_);
  EXPECT_EQ(
      std::count(toolkit_.openedWindows().begin(), toolkit_.openedWindows().end(), Window::About),
      2);
  EXPECT_TRUE(toolkit_.isWindowOpen(Window::About));
}

TEST_F(HelpWindowsTest, AboutWindowShowsTheIconAndPlainTextLines) {
  openAboutWindow(toolkit_);
  const FakeWindow& window = toolkit_.window(Window::About);
  EXPECT_FALSE(window.style.resizable);
  EXPECT_FALSE(window.style.minimiseButton);
  EXPECT_TRUE(window.zoomHidden);
  // The fake takes only bytes that start as a PNG.
  EXPECT_EQ(toolkit_.control(Control::AboutIcon).pngBytes, appIconPng().size());
  EXPECT_EQ(toolkit_.text(Control::AboutVersion), "v" OZ_PROJECT_VERSION);
  EXPECT_EQ(toolkit_.control(Control::AboutWebsite).kind, ControlKind::Label);
  EXPECT_EQ(toolkit_.text(Control::AboutWebsite), "www.halvick.com");
}

TEST(HelpDocumentTest, SectionsAppearInOrderAndLinkTheRightPages) {
  const std::string html = helpDocument();
  const auto expectInOrder = [&](size_t at, std::initializer_list<const char*> parts) {
    for (const char* part : parts) {
      at = html.find(part, at);
      EXPECT_NE(at, std::string::npos) << part;
    }
  };
  expectInOrder(0, {"<h1>Sprite Options</h1>", "<h1>Script Editor</h1>", "<h1>Xcode Tip</h1>",
                    "<h1>Support</h1>"});
  // The store page is linked in the introduction, before any heading.
  const size_t storeLink = html.find(std::string("href=\"") + kFullEditionStorePage + "\"");
  EXPECT_LT(storeLink, html.find("<h1>"));
  EXPECT_GT(html.find(std::string("href=\"") + kSupportForum + "\""),
            html.find("<h1>Support</h1>"));

  expectInOrder(html.find("<h1>Script Editor</h1>"),
                {"<b>Clipboard</b>", "<b>HTML5</b>", "<b>Multi Loops</b>", "<b>plist</b>",
                 "<b>Pure Data</b>"});
}

}  // namespace
}  // namespace oz
