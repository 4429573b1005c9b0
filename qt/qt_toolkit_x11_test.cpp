// The toolkit on a real X server (Xvfb, when it is installed), for what the
// offscreen platform cannot show: the window name a window manager reads.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "qt/qt_test_application.h"
#include "qt/qt_toolkit.h"

namespace oz {
namespace {

// Xvfb on a display it chooses itself, for as long as the object lives.
class VirtualDisplay {
 public:
  VirtualDisplay() {
    int ready[2];
    if (pipe(ready) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      const std::string fd = std::to_string(ready[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0",
             "1280x1024x24", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(ready[1]);
    // Xvfb writes the display's number once it accepts clients; nothing when
    // it could not start.
    char c;
    while (pid_ > 0 && read(ready[0], &c, 1) == 1 && c != '\n') number_ += c;
    close(ready[0]);
  }
  ~VirtualDisplay() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;

  // ":N", or empty when there is no server.
  std::string name() const { return number_.empty() ? "" : ":" + number_; }

 private:
  pid_t pid_ = -1;
  std::string number_;
};

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(name)), name),
      nullptr);
  const xcb_atom_t result = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return result;
}

// The window's _NET_WM_NAME; nullopt when it has none.
std::optional<std::string> windowName(QWidget* window) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11) return std::nullopt;
  xcb_connection_t* connection = x11->connection();
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      connection,
      xcb_get_property(connection, 0, static_cast<xcb_window_t>(window->winId()),
                       atom(connection, "_NET_WM_NAME"), atom(connection, "UTF8_STRING"), 0, 256),
      nullptr);
  std::optional<std::string> name;
  if (reply && reply->type != XCB_ATOM_NONE) {
    name = std::string(static_cast<const char*>(xcb_get_property_value(reply)),
                       static_cast<size_t>(xcb_get_property_value_length(reply)));
  }
  std::free(reply);
  return name;
}

TEST(QtToolkitX11Test, AnUntitledWindowHasAnEmptyNameAndATitledOneItsTitle) {
  static VirtualDisplay display;  // outlives the application
  if (display.name().empty()) GTEST_SKIP() << "no Xvfb to run an X server";
  setenv("DISPLAY", display.name().c_str(), 1);
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  testing::qtTestApplication();
  ASSERT_EQ(QGuiApplication::platformName(), "xcb");

  QtToolkit toolkit;
  ASSERT_TRUE(toolkit.openWindow(Window::Help, "Orvane Zozivi Help", 1024, 620, {}));
  WindowStyle untitled{.minimiseButton = false, .menuBar = false};
  ASSERT_TRUE(toolkit.openWindow(Window::About, "", 340, 170, untitled));
  toolkit.hideZoomButton(Window::About);  // which shows the window anew
  QApplication::processEvents();

  EXPECT_EQ(windowName(toolkit.windowWidget(Window::Help)), "Orvane Zozivi Help");
  EXPECT_EQ(windowName(toolkit.windowWidget(Window::About)), "");
  // Every change of the edited mark writes the title anew.
  toolkit.setEdited(Window::About, false);
  EXPECT_EQ(windowName(toolkit.windowWidget(Window::About)), "");
}

}  // namespace
}  // namespace oz
