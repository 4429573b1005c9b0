#include "qt/x11_title.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <string_view>

namespace oz {
namespace {

xcb_atom_t internAtom(xcb_connection_t* connection, std::string_view name) {
  const xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.data());
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
  if (!reply) return XCB_ATOM_NONE;
  const xcb_atom_t atom = reply->atom;
  std::free(reply);
  return atom;
}

}  // namespace

void clearX11Title(QWidget* window) {
  // The offscreen platform may answer for X11 too, without a connection.
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  if (!connection || !window->testAttribute(Qt::WA_WState_Created)) return;
  const xcb_atom_t name = internAtom(connection, "_NET_WM_NAME");
  const xcb_atom_t utf8 = internAtom(connection, "UTF8_STRING");
  if (name == XCB_ATOM_NONE || utf8 == XCB_ATOM_NONE) return;
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()),
                      name, utf8, 8, 0, nullptr);
  xcb_flush(connection);
}

}  // namespace oz
