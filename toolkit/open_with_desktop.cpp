#include "toolkit/open_with_desktop.h"

#include <string>

namespace oz {

void openWithDesktop(Toolkit& toolkit, std::string_view target) {
  // The launch splits its argument text at blanks outside double quotation
  // marks, so the quotes keep a path with blanks in one piece.
  toolkit.launch(kOpener, "\"" + std::string(target) + "\"");
}

}  // namespace oz
