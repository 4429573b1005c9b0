// The first line of a template decides where its result goes: the extension
// of the produced file, or the clipboard.
#pragma once

#include <string>
#include <string_view>

namespace oz {

// The extension named by an `ov.Extension = ".plist"` line: the line less every
// blank, "=", double quotation mark and "ov.Extension", used as it is (no dot is
// added). ".txt" when the line does not contain "ov.Extension".
std::string templateExtension(std::string_view firstLine);

// True when the first line contains "Clipboard" anywhere (case-sensitive).
bool isClipboardTemplate(std::string_view firstLine);

}  // namespace oz
