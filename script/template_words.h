// The words of the template language: the eleven tags a line's values replace,
// in the order they are replaced, and the three markers.
#pragma once

#include <array>
#include <string_view>

namespace oz {

// Every tag and marker starts with it; a line without it is copied as it is.
inline constexpr std::string_view kWordPrefix = "ov.";

// The order matters: a value inserted by one tag is searched by the tags after
// it, so a frame named "ov.ImageCount.png" yields the frame count.
inline constexpr std::array<std::string_view, 11> kTagNames = {
    "ov.ImageX",      "ov.ImageY",      "ov.ImageWidth",  "ov.ImageHeight",
    "ov.ImageName",   "ov.ImageNumber", "ov.ImageCount",  "ov.SheetWidth",
    "ov.SheetHeight", "ov.SheetName",   "ov.SheetNumber",
};

inline constexpr std::string_view kRepeatMarker = "ov.Repeat";
inline constexpr std::string_view kUntilMarker = "ov.Until";
inline constexpr std::string_view kExtensionMarker = "ov.Extension";

}  // namespace oz
