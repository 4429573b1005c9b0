// The Help window (the help document in a read-only text area) and the About
// window (icon, name, version, credit, website, notice). Neither has a control
// that acts; the event loop closes them on their close buttons.
#pragma once

#include <string>
#include <string_view>

#include "toolkit/toolkit.h"

namespace oz {

inline constexpr const char* kHelpWindowTitle = "Orvane Zozivi Help";
inline constexpr int kHelpWindowWidth = 1024;
inline constexpr int kHelpWindowHeight = 620;
inline constexpr int kHelpMargin = 10;

inline constexpr int kAboutWindowWidth = 340;
inline constexpr int kAboutWindowHeight = 170;
inline constexpr const char* kAboutCredit = "Created by Elin Halvick";
inline constexpr const char* kAboutNotice = "\u00a9 2026 Halvick";

// Opens the Help window centred over the active window, closing an open one
// first, and loads the help document afresh.
void openHelpWindow(Toolkit& toolkit);

// Keeps the help text 10 pixels inside every edge of the Help window.
void relayoutHelpWindow(Toolkit& toolkit);

// Opens the About window centred over the active window, closing an open one first.
void openAboutWindow(Toolkit& toolkit);

// The website as the About window writes it: without the scheme and the final "/".
std::string displayedAddress(std::string_view address);

}  // namespace oz
