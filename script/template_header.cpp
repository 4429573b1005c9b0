#include "script/template_header.h"

#include "script/template_words.h"
#include "script/text_replace.h"

namespace oz {

std::string templateExtension(std::string_view firstLine) {
  if (!contains(firstLine, kExtensionMarker)) return ".txt";
  std::string extension = removeAll(firstLine, " ");
  extension = removeAll(extension, "=");
  extension = removeAll(extension, "\"");
  return removeAll(extension, kExtensionMarker);
}

bool isClipboardTemplate(std::string_view firstLine) { return contains(firstLine, "Clipboard"); }

}  // namespace oz
