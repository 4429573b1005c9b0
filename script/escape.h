// A name written safely into the text of a JSON string, an XML attribute or
// text, or a CSS identifier. Every form also turns bytes that are not UTF-8
// into U+FFFD, since none of the three formats can carry them.
#pragma once

#include <string>
#include <string_view>

namespace oz {

enum class Escape { None, Json, Xml, Css };

// Appends `text` to `out` in the form `escape` gives it:
// - None: as it is.
// - Json: `"` and `\` after a backslash; the control characters as \b \f \n
//   \r \t or \u00XX.
// - Xml: & < > " ' as &amp; &lt; &gt; &quot; &apos;; tab, LF and CR as
//   character references (so an attribute keeps them); every other control
//   character, which XML 1.0 cannot hold at all, as U+FFFD.
// - Css: an identifier that selects exactly `text`: letters, digits, "-",
//   "_" and non-ASCII kept; other ASCII after a backslash; control
//   characters and a digit that starts the identifier (or follows its
//   leading "-") as a hexadecimal escape ending in a blank; NUL as U+FFFD.
//   Inside a quoted CSS string it reads back as `text` too.
void appendEscaped(std::string_view text, Escape escape, std::string* out);

}  // namespace oz
