// An empty window title on X11.
//
// For a window whose title is empty, Qt's X11 platform writes the
// application's name into the window's _NET_WM_NAME, and window managers show
// it. clearX11Title writes the empty name again; it does nothing on other
// platforms or before the window has a native window.
#pragma once

class QWidget;

namespace oz {

void clearX11Title(QWidget* window);

}  // namespace oz
