// A frame's name as an HTML class name, which a class attribute can hold.
#pragma once

#include <string>
#include <string_view>

namespace oz {

// `base` (a frame's name less ".png") with each character that separates the
// classes of a class attribute (blank, tab, line feed, form feed, carriage
// return) turned into "-". Other characters stay: a style sheet's selector
// escapes them, an HTML attribute writes its own few as references.
std::string htmlClassName(std::string_view base);

}  // namespace oz
