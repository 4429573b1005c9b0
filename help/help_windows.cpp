#include "help/help_windows.h"

#include <algorithm>
#include <string>

#include "base/program_version.h"
#include "help/app_icon.h"
#include "help/help_document.h"
#include "help/web_addresses.h"

namespace oz {
namespace {

// The text area inside the margins of the Help window's client area as it
// is, which is what the window asked for unless a menu bar or the screen
// took some of it. A window shrunk below the margins keeps an empty area,
// never a negative one.
Rect helpTextRect(const Toolkit& toolkit) {
  const int width = std::max(toolkit.clientWidth(Window::Help) - 2 * kHelpMargin, 0);
  const int height = std::max(toolkit.clientHeight(Window::Help) - 2 * kHelpMargin, 0);
  return {kHelpMargin, kHelpMargin, width, height};
}

}  // namespace

void openHelpWindow(Toolkit& toolkit) {
  const WindowStyle style{.closeButton = true,
                          .minimiseButton = true,
                          .resizable = true,
                          .placement = Placement::CentredOverActiveWindow,
                          .menuBar = true};
  // Opening a number in use closes the window it held, so F1 twice gives one window.
  if (!toolkit.openWindow(Window::Help, kHelpWindowTitle, kHelpWindowWidth, kHelpWindowHeight,
                          style)) {
    return;
  }
  toolkit.createRichText(Window::Help, Control::HelpText, helpTextRect(toolkit), helpDocument());
}

void relayoutHelpWindow(Toolkit& toolkit) {
  if (toolkit.isWindowOpen(Window::Help)) {
    toolkit.setGeometry(Control::HelpText, helpTextRect(toolkit));
  }
}

std::string displayedAddress(std::string_view address) {
  for (std::string_view scheme : {"https://", "http://"}) {
    if (address.starts_with(scheme)) address.remove_prefix(scheme.size());
  }
  if (address.ends_with('/')) address.remove_suffix(1);
  return std::string(address);
}

void openAboutWindow(Toolkit& toolkit) {
  const WindowStyle& style = kFixedDialogStyle;
  if (!toolkit.openWindow(Window::About, "", kAboutWindowWidth, kAboutWindowHeight, style)) {
    return;
  }
  toolkit.hideZoomButton(Window::About);
  toolkit.createImageView(Window::About, Control::AboutIcon, {31, 21, 128, 128}, appIconPng());
  const int w = Window::About;
  toolkit.createLabel(w, Control::AboutName, {180, 20, 140, 20}, "Orvane Zozivi",
                      LabelAlign::Centred);
  toolkit.createLabel(w, Control::AboutVersion, {180, 40, 140, 20},
                      "v" + std::string(kProgramVersion), LabelAlign::Centred);
  toolkit.createLabel(w, Control::AboutCredit, {180, 70, 140, 20}, kAboutCredit,
                      LabelAlign::Centred);
  // Plain text on purpose: the About window has nothing to click.
  toolkit.createLabel(w, Control::AboutWebsite, {180, 100, 140, 20},
                      displayedAddress(kMakerWebsite), LabelAlign::Centred);
  toolkit.createLabel(w, Control::AboutNotice, {185, 130, 130, 20}, kAboutNotice,
                      LabelAlign::Centred);
}

}  // namespace oz
